// The device's registry image: its file format, the registry text its sections hold,
// and the services the registry parts of coredll.dll offer one another.
#ifndef REGISTRY_IMAGE_H
#define REGISTRY_IMAGE_H

#include <windows.h>
#include <string>
#include <vector>

// ---- Image file format (all numbers little-endian) ----
//
//   offset  size  field
//   0       8     magic "CEREGIMG"
//   8       4     format version (1)
//   12      4     header size in bytes (40)
//   16      4     number of sections (1..16)
//   20      4     reserved, 0
//   24      8     size of the whole file in bytes
//   32      4     CRC-32 (IEEE) of the whole file, computed with this field as 0
//   36      4     reserved, 0
//   40      ...   the sections, one after another:
//                   4  root (REGIMG_ROOT_*)
//                   4  text format (REGIMG_TEXT_WINE2)
//                   4  byte length of the sub-key path (UTF-16, 0 for a whole root)
//                   4  reserved, 0
//                   8  byte length of the registry text
//                   .. the path, then the text
//
// The text of a section is the registry's own save format ("WINE REGISTRY Version 2"),
// key paths relative to the section's key. Nothing may follow the last section.
#define REGIMG_MAGIC "CEREGIMG"
#define REGIMG_VERSION 1
#define REGIMG_HEADER_SIZE 40
#define REGIMG_SECTION_HEADER_SIZE 24
#define REGIMG_CRC_OFFSET 32
#define REGIMG_MAX_SECTIONS 16
#define REGIMG_MAX_FILE (512u * 1024 * 1024)

enum RegImageRoot {
    REGIMG_ROOT_HKLM = 1,
    REGIMG_ROOT_HKCU = 2,
    REGIMG_ROOT_HKCR = 3,
    REGIMG_ROOT_HKU = 4
};
#define REGIMG_TEXT_WINE2 1

// Names of the files the device keeps in its folder.
#define REGIMG_STAGED_NAME L"registry-staged.img"
#define REGIMG_FACTORY_NAME L"registry-factory.img"

struct RegImageSection {
    DWORD root;            // REGIMG_ROOT_*
    std::wstring path;     // sub-key of the root, "" for the whole root
    std::string text;      // registry text
};

// ---- Registry text ----

struct RegTextValue {
    std::wstring name;     // "" for the default value
    DWORD type;
    std::string data;      // the bytes as stored
};

struct RegTextKey {
    std::wstring path;     // relative to the section's key, '\' between names, "" for the key itself
    std::wstring folded;   // the path as the registry compares it
    bool link;             // a symbolic link (its only value is "SymbolicLinkValue")
    bool hasClass;
    std::wstring keyClass;
    size_t blockBegin;     // the key's lines in the source text, from its "[" line
    size_t blockEnd;
    std::vector<RegTextValue> values;
};

struct RegText {
    std::vector<RegTextKey> keys;
};

// Parses and checks a whole registry text: every line understood, every escape and
// hex list well formed, no key or value twice, nothing below a link. On failure
// `why` says what (for diagnostics only).
bool ParseRegText(const char *text, size_t length, RegText *out, std::string *why);

// A key path: names joined by single backslashes, none empty or longer than a key
// name may be.
bool ValidRegKeyPath(const std::wstring &path);

// Upper-cases a registry name the way the registry compares names.
std::wstring FoldRegName(const std::wstring &name);
// Orders names as the registry does (case-insensitive); 0 when they are the same name.
int CompareRegNames(const std::wstring &a, const std::wstring &b);

// ---- Images ----

DWORD Crc32(const void *data, size_t length, DWORD crc = 0);

// Builds the bytes of an image from its sections.
std::string BuildRegImage(const std::vector<RegImageSection> &sections);
// Checks a whole image (header, sizes, checksum, each section's text) and returns its
// sections. Returns 0 or the error: ERROR_NOT_REGISTRY_FILE for a file that is not an
// image at all, ERROR_REGISTRY_CORRUPT for a damaged or incomplete one.
// `texts`, when given, receives each section's parsed text.
DWORD CheckRegImage(const std::string &bytes, std::vector<RegImageSection> *sections,
                    std::vector<RegText> *texts = NULL);
// Reads a file that should hold an image, at most REGIMG_MAX_FILE bytes.
DWORD ReadRegImageFile(const wchar_t *path, std::string *bytes);
// Writes bytes to a temporary file beside `path` and moves it in place once complete.
// Fails (leaving nothing behind) on a folder, a read-only file, or, unless
// `replace`, an existing file.
DWORD WriteFileAtomically(const wchar_t *path, const std::string &bytes, bool replace);

// The predefined handle of a root, or NULL.
HKEY RegImageRootKey(DWORD root);
// Saves a key (a predefined root or an open key) in registry text.
DWORD SaveKeyText(HKEY key, std::string *text);
// Saves the device's whole registry, or one key, as an image.
DWORD BuildDeviceImage(std::string *image);
DWORD BuildKeyImage(DWORD root, const std::wstring &path, std::string *image);
// The hive save of the classes root: the machine hive that holds them, and the classes.
DWORD BuildClassesHiveImage(std::string *image);

// Makes the running registry of each section's key exactly the section's text, as
// parsed by CheckRegImage.
DWORD ApplyRegImage(const std::vector<RegImageSection> &sections, const std::vector<RegText> &texts);
// Makes the running registry below `key` exactly `text` (already parsed as `image`).
// A sub-key named `keep` (upper-cased) directly below `key` is left alone.
DWORD ApplyRegText(HKEY key, const std::string &text, const RegText &image, const wchar_t *keep = NULL);
// Deletes a key and all below it without ever following a symbolic link.
DWORD DeleteKeyTreeSafely(HKEY parent, const wchar_t *subkey);

// Resolves a key handle and sub-key to a root and a path below it.
DWORD ResolveRegTarget(HKEY key, const wchar_t *subkey, DWORD *root, std::wstring *path);

// ---- Staging and the factory image ----

bool DeviceFilePath(const wchar_t *name, std::wstring *path);
DWORD StageRegImage(const std::string &bytes);
bool RegImageStaged(void);
void DropStagedRegImage(void);
// Enables the backup and restore privileges the hive calls need (once per process).
void EnableRegistryPrivileges(void);

// ---- Sandbox (registry_sandbox.cpp) ----

bool SandboxActive(void);
// The factory image of the sandboxed device: its seeded state.
const std::string *SandboxFactoryImage(void);
void SetSandboxFactoryImage(const std::string &image);
// Remembers a staged image written while the sandbox runs, so that its end drops it.
void SandboxNoteStaged(const std::wstring &path);
// Name of the simulator's own branch below HKEY_USERS, which holds the sandboxes;
// upper-cased. It is no part of the device registry.
#define SANDBOX_BRANCH L"SIMDEVICE"

// Full names of the four roots as the registry calls them ("\REGISTRY\MACHINE", ...),
// the sandbox's own while it runs.
bool RootFullName(DWORD root, std::wstring *name);

// ---- Device (registry_device.cpp) ----

// Writes the factory values over the running registry.
bool SeedFactoryRegistry(void);

#endif
