// The device-control command, run as the user runs it, on this test's private device.
#include <windows.h>
#include <string>
#include "ceplatform.h"
#include "testkit.h"

namespace {

struct CommandResult {
    DWORD exitCode;
    std::string out, err;
};

std::wstring DeviceDir()
{
    wchar_t dir[MAX_PATH] = L"";
    SimGetDeviceDir(dir, MAX_PATH);
    return dir;
}

HANDLE Inheritable(const wchar_t *name)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    return CreateFileW((DeviceDir() + name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
}

std::string ReadAll(HANDLE file)
{
    std::string text;
    SetFilePointer(file, 0, NULL, FILE_BEGIN);
    char buffer[4096];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

// devctl.exe (beside the tests) on this test's device, which it finds by the setting.
CommandResult RunDevctl(const wchar_t *arguments)
{
    std::wstring line = L"\"" + PathBesideTests(L"devctl.exe") + L"\" " + arguments;
    STARTUPINFOW si = {sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = Inheritable(L"\\devctl-out.txt");
    si.hStdError = Inheritable(L"\\devctl-err.txt");
    PROCESS_INFORMATION pi;
    CommandResult result = {0xFFFFFFFF};
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", DeviceDir().c_str());
    BOOL started = CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", NULL);
    EXPECT_TRUE(started) << "devctl did not start";
    if (started) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000)) << "devctl did not end";
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    result.out = ReadAll(si.hStdOutput);
    result.err = ReadAll(si.hStdError);
    return result;
}

}  // namespace

using DeviceControl = DeviceTest;

TEST_F(DeviceControl, ChangesTheProfileTheServicesRead)
{
    // Each change says what it did in one line. A new battery, memory or card reading
    // repaints the screen's windows, so that a gauge on it shows the new reading.
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(window != NULL);
    struct {
        const wchar_t *arguments;
        const char *said;
        bool repaints;
    } changes[] = {
        // 255 is the device's "no reading", taken beside the 0 to 100 of a reading.
        {L"battery percent=255 ac=255", "Battery: percent=255 flag=1 chemistry=4 ac=255", true},
        {L"battery percent=42 current=-250 ac=0", "Battery: percent=42 flag=1 chemistry=4 ac=0 voltage=3950 current=-250", true},
        {L"memory total=32M avail=8M", "Memory: total=33554432 avail=8388608\n", true},
        {L"os 4.20.14847", "OS version: 4.20.14847\n", false},
        {L"card add \"ZR Devctl Card\" 2G 512M", "Card added: \"ZR Devctl Card\"  total 2147483648  free 536870912\n", true},
        {L"card remove \"storage card\"", "Card removed: \"Storage Card\"", true},
        {L"line add \"Fax Line\" noopen", "Line added: \"Fax Line\"  cannot be opened\n", false},
        {L"rotate landscape", "Screen: landscape, 640x480\n", false},
    };
    for (const auto &c : changes) {
        std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        ValidateRect(window, NULL);
        CommandResult r = RunDevctl(c.arguments);
        EXPECT_EQ(0u, r.exitCode) << shown << ": " << r.err;
        EXPECT_EQ(0u, r.out.find(c.said)) << shown << ": " << r.out;
        EXPECT_EQ(r.out.size() - 1, r.out.find('\n')) << shown << ": " << r.out;
        EXPECT_TRUE(!c.repaints || GetUpdateRect(window, NULL, FALSE)) << shown << " repaints nothing";
    }
    DestroyWindow(window);
    SYSTEM_POWER_STATUS_EX2 s;
    ASSERT_EQ(sizeof s, GetSystemPowerStatusEx2(&s, sizeof s, TRUE));
    EXPECT_TRUE(s.BatteryLifePercent == 42 && (LONG)s.BatteryCurrent == -250);
    MEMORYSTATUS m;
    GlobalMemoryStatus(&m);
    EXPECT_EQ(8u << 20, m.dwAvailPhys);
    ULARGE_INTEGER free, total;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"\\ZR Devctl Card", &free, &total, NULL));
    EXPECT_EQ(2ull << 30, total.QuadPart);
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(1, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"ZR Devctl Card", cards[0].name);
    SimLine lines[SIM_MAX_LINES];
    ASSERT_EQ(2, SimGetLines(lines, SIM_MAX_LINES));
    EXPECT_TRUE(lines[1].cannotOpen);
    // The screen is shared: turned by the command, it is turned for this process too.
    EXPECT_EQ(SIM_LANDSCAPE_CX, GetSystemMetrics(SM_CXSCREEN));

    // A restore whose apply failed at the last soft reset.
    std::wstring image = DeviceDir() + L"\\image.reg";
    ASSERT_TRUE(RegCopyFile(image.c_str()) && RegRestoreFile(image.c_str()));
    SimSetFailure(SIM_FAIL_REGAPPLY, ERROR_WRITE_FAULT);
    SimSoftReset(FALSE);
    std::string shown = RunDevctl(L"show").out;
    for (const char *part : {"Screen: landscape, 640x480", "OS version: 4.20.14847", "percent=42", "cannot be opened",
                             "Last registry restore: failed (error 29)"})
        EXPECT_NE(std::string::npos, shown.find(part)) << part << " in " << shown;
    RemoveDirectoryW(L"C:\\ZR Devctl Card");
}

TEST_F(DeviceControl, RejectsBadArgumentsAndChangesNothing)
{
    // Usage errors end with 2, refusals of the device with 1; each says why.
    struct {
        const wchar_t *arguments;
        DWORD exitCode;
    } cases[] = {{L"frobnicate", 2}, {L"battery percent=101", 2}, {L"battery current=x", 2}, {L"memory total=5G", 2},
                 {L"card add \"a/b\" 1M 1M", 2}, {L"os 99999999999.1", 2}, {L"card remove Nowhere", 1},
                 {L"card add \"storage card\"", 1}};
    for (const auto &c : cases) {
        CommandResult r = RunDevctl(c.arguments);
        std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        EXPECT_EQ(c.exitCode, r.exitCode) << shown;
        EXPECT_EQ(0u, r.err.find("devctl: ")) << shown << ": " << r.err;
    }
    SimBattery after;
    SimGetBattery(&after);
    EXPECT_EQ(85, after.lifePercent);
    EXPECT_EQ(1, SimGetCards(NULL, 0));
}
