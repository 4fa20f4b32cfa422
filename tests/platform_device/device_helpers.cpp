#include <windows.h>
#include "device_helpers.h"
#include <gtest/gtest.h>
#include "ceplatform.h"
#include "simdevice.h"
#include "testkit.h"

static HANDLE Inheritable(const std::wstring &path)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
}

static HANDLE Launch(const std::wstring &arguments, const std::wstring &deviceDir, HANDLE out, HANDLE err)
{
    std::wstring command = L"\"" + PathBesideTests(L"devctl.exe") + L"\" " + arguments;
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi;
    // The child inherits the variable; this process keeps its own device.
    wchar_t previous[MAX_PATH];
    DWORD had = GetEnvironmentVariableW(L"ZR_DEVICE_DIR", previous, MAX_PATH);
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", deviceDir.c_str());
    BOOL started = CreateProcessW(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", had && had < MAX_PATH ? previous : NULL);
    if (!started) return NULL;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

static std::string ReadAll(HANDLE file)
{
    std::string text;
    SetFilePointer(file, 0, NULL, FILE_BEGIN);
    char buffer[4096];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) text.append(buffer, got);
    return text;
}

CommandResult RunDevctl(const std::wstring &arguments, const std::wstring &deviceDir)
{
    CommandResult result = {0xFFFFFFFF, "", ""};
    HANDLE out = Inheritable(DeviceDir() + L"\\devctl-out.txt");
    HANDLE err = Inheritable(DeviceDir() + L"\\devctl-err.txt");
    HANDLE process = Launch(arguments, deviceDir, out, err);
    EXPECT_TRUE(process != NULL) << "devctl did not start";
    if (process) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 30000)) << "devctl did not end";
        GetExitCodeProcess(process, &result.exitCode);
        CloseHandle(process);
    }
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    CloseHandle(out);
    CloseHandle(err);
    return result;
}

std::vector<std::wstring> EnumerateCards()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFlashCard(&data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFlashCard(search, &data));
    EXPECT_EQ((DWORD)ERROR_NO_MORE_FILES, GetLastError());
    EXPECT_TRUE(FindClose(search));
    return names;
}

std::wstring DeviceDir()
{
    wchar_t dir[MAX_PATH];
    return SimGetDeviceDir(dir, MAX_PATH) ? dir : L"";
}

std::wstring ProfileFile()
{
    return DeviceDir() + L"\\profile.ini";
}

void WriteTextFile(const std::wstring &path, const std::string &text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
}

std::string ReadTextFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string text = ReadAll(file);
    CloseHandle(file);
    return text;
}
