// Helpers of the registry image tests: whole-registry snapshots of the sandboxed
// device, scratch files, links, and the image format's own numbers.
#ifndef REGISTRY_TESTKIT_H
#define REGISTRY_TESTKIT_H

#include <windows.h>
#include <string>
#include "testkit.h"
#include "ceplatform.h"
#include "platform/coredll/registry_image.h"

// The device registry of the sandbox (HKLM holding HKCR, and HKCU) as sorted lines, one
// for each key and value, links taken as themselves. The boot counter, which every
// restart raises, is left out.
std::string DeviceSnapshot();

std::string ReadBytes(const std::wstring &path);
void WriteBytes(const std::wstring &path, const std::string &bytes);
// Names in a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring &folder);
// Puts a correct size and checksum into image bytes that a test has edited.
void Reseal(std::string *image);

// A file in a scratch folder of the test's private device folder (the folder itself
// for NULL); the end of the test removes it all.
std::wstring Scratch(const wchar_t *name = NULL);
// The image waiting for the next soft reset.
std::wstring StagedPath();
// A symbolic link made or pointed elsewhere, and the name the registry gives a key (for link targets).
void SetLink(HKEY root, const wchar_t *path, const std::wstring &target);
std::wstring FullName(HKEY root, const wchar_t *path);

using RegistryTest = DeviceTest;

#endif
