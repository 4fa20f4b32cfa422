// The device's registry image: its file format and the services the registry parts of
// coredll.dll offer one another.
#ifndef REGISTRY_IMAGE_H
#define REGISTRY_IMAGE_H

#include <windows.h>
#include <string>
#include <vector>

// ---- Image file format (all numbers little-endian) ----
//
//   offset  size  field
//   0       8     magic "CEREGIMG"
//   8       4     format version (2)
//   12      4     header size in bytes (40)
//   16      4     number of sections (1 or 2)
//   20      4     reserved, 0
//   24      8     size of the whole file in bytes
//   32      4     CRC-32 (IEEE) of the whole file, computed with this field as 0
//   36      4     reserved, 0
//   40      ...   the sections, one after another:
//                   4  hive (REGIMG_ROOT_*)
//                   4  reserved, 0
//                   8  byte length of the registry text
//                   .. the text
//
// A section holds one whole hive, each hive at most once: the machine's (which holds
// the classes) and the user's. Its text is the registry's own save format ("WINE
// REGISTRY Version 2") in the plain form RegistryText gives: no comments, no times, and
// nothing after the "]" of a key line. Nothing may follow the last section.
#define REGIMG_MAGIC "CEREGIMG"
#define REGIMG_VERSION 2
#define REGIMG_HEADER_SIZE 40
#define REGIMG_SECTION_HEADER_SIZE 16
#define REGIMG_CRC_OFFSET 32
#define REGIMG_MAX_FILE (512u * 1024 * 1024)

enum RegImageRoot { REGIMG_ROOT_HKLM = 1, REGIMG_ROOT_HKCU = 2 };

// Files the device keeps in its folder: the image waiting for the next soft reset, the
// factory image a hard reset applies, and the outcome of the last apply of a staged image.
#define REGIMG_STAGED_NAME L"registry-staged.img"
#define REGIMG_FACTORY_NAME L"registry-factory.img"
#define REGIMG_OUTCOME_NAME L"registry-apply.txt"

struct RegImageSection {
    DWORD root;            // REGIMG_ROOT_*
    std::string text;
};

// ---- Images (registry_image.cpp) ----

// The predefined handle of a hive's root.
HKEY RegImageRootKey(DWORD root);
// An image of the given hives as they stand.
DWORD BuildRegImage(const DWORD *roots, int count, std::string *image);
// Checks the header, the checksum and the sections of an image, and returns them.
// With `loadTexts` each text is also loaded into a scratch key and must come back
// exactly. Returns 0, ERROR_NOT_REGISTRY_FILE for a file that is no image at all, or
// ERROR_REGISTRY_CORRUPT for a damaged, incomplete or inexact one.
DWORD CheckRegImage(const std::string &bytes, std::vector<RegImageSection> *sections, bool loadTexts);
// Reads a file that should hold an image, at most REGIMG_MAX_FILE bytes.
DWORD ReadRegImageFile(const wchar_t *path, std::string *bytes);
// Writes bytes to a temporary file beside `path`, flushes it and moves it in place.
// Fails (leaving nothing behind) on a folder, a read-only file, or, unless `replace`,
// an existing file.
DWORD WriteFileAtomically(const wchar_t *path, const std::string &bytes, bool replace);
bool DeviceFilePath(const wchar_t *name, std::wstring *path);
// Enables the backup and restore privileges the registry's save and load need.
void EnableRegistryPrivileges(void);

// ---- Applying (registry_apply.cpp) ----

// The registry's save of a key in its plain form.
DWORD RegistryText(HKEY key, std::string *text);
// Makes the key's registry exactly `text`, or fails; what it changed before failing
// is not undone.
DWORD ApplyRegistryText(HKEY key, const std::string &text);
// Makes each section's hive exactly its text, or leaves every hive as it was.
DWORD ApplyRegImage(const std::vector<RegImageSection> &sections);
// Deletes a key and all below it; a link is deleted, never followed.
DWORD DeleteKeyTree(HKEY parent, const wchar_t *subkey);

// ---- Sandbox (registry_sandbox.cpp) ----

bool SandboxActive(void);
// The factory image of the sandboxed device: its seeded state.
const std::string *SandboxFactoryImage(void);

// ---- Device (registry_device.cpp) ----

// Writes the factory values over the running registry.
bool SeedFactoryRegistry(void);

#endif
