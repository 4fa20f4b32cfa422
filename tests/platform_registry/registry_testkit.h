// Helpers of the registry image tests: whole-tree snapshots of the sandboxed registry,
// scratch files, and the image format's own numbers.
#ifndef REGISTRY_TESTKIT_H
#define REGISTRY_TESTKIT_H

#include <windows.h>
#include <map>
#include <string>
#include "testkit.h"
#include "ceplatform.h"
#include "platform/coredll/registry_image.h"

struct RegData {
    DWORD type;
    std::string bytes;
    bool operator==(const RegData &o) const { return type == o.type && bytes == o.bytes; }
    bool operator!=(const RegData &o) const { return !(*this == o); }
};
// Key path -> value name -> type and bytes.
typedef std::map<std::wstring, std::map<std::wstring, RegData>> RegSnapshot;

// The device registry of the sandbox: HKLM (holding HKCR) and HKCU, keys prefixed,
// upper-cased, links taken as themselves.
RegSnapshot DeviceSnapshot();
// The first few differences, for failure messages; empty when equal.
std::string Differences(const RegSnapshot &expected, const RegSnapshot &actual);
// A snapshot with the boot counter as a restart that counted `boots` leaves it.
void SetBootCount(RegSnapshot *snapshot, DWORD boots);

std::string ReadBytes(const std::wstring &path);
void WriteBytes(const std::wstring &path, const std::string &bytes);
bool FileExists(const std::wstring &path);
// Names in a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring &folder);

DWORD TestCrc32(const std::string &bytes);
// Puts a correct checksum into image bytes that a test has edited.
void Reseal(std::string *image);

// The image waiting for the next soft reset, in the device folder.
std::wstring StagedPath();
// Symbolic links, and the name the registry gives a key (for link targets).
void SetLink(HKEY root, const wchar_t *path, const std::wstring &target);
void DeleteLink(HKEY root, const wchar_t *path);
std::wstring FullName(HKEY root, const wchar_t *path);

// Power actions recorded since the test began, of one kind.
int PowerActions(int kind);

// Tests of the registry image, each in its own sandboxed device with a scratch folder.
class RegistryTest : public DeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring Scratch(const wchar_t *name) const { return m_folder + L"\\" + name; }
    std::wstring m_folder;
};

#endif
