// Helpers of the device tests: the device-control command as a child process, the
// storage-card enumeration as the program reaches it, and the profile file.
#ifndef DEVICE_HELPERS_H
#define DEVICE_HELPERS_H

#include <windows.h>
#include <string>
#include <vector>

struct CommandResult {
    DWORD exitCode;
    std::string out, err;
};

// Runs devctl.exe (beside the tests) on the device in deviceDir and waits for it.
CommandResult RunDevctl(const std::wstring &arguments, const std::wstring &deviceDir);

// The card names that Note_prj.dll ordinals 7 and 8 list, closed with FindClose.
std::vector<std::wstring> EnumerateCards();

std::wstring DeviceDir();
std::wstring ProfileFile();
void WriteTextFile(const std::wstring &path, const std::string &text);
std::string ReadTextFile(const std::wstring &path);

#endif
