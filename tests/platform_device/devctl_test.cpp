// The device-control command, run as the user runs it, on this test's private device.
#include <windows.h>
#include <string>
#include <vector>
#include "ceplatform.h"
#include "device_helpers.h"
#include "testkit.h"

using DeviceControl = DeviceTest;

TEST_F(DeviceControl, ChangesTheProfileTheServicesRead)
{
    const std::wstring dir = DeviceDir();
    ASSERT_FALSE(dir.empty());
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
        {L"os 5.1.14847", "OS version: 5.1.14847\n", false},
        {L"os 4.20", "OS version: 4.20.14847\n", false},
        {L"card add \"ZR Devctl Card\" 2G 512M", "Card added: \"ZR Devctl Card\"  total 2147483648  free 536870912\n", true},
        {L"card add \"ZR Unreadable\" unreadable", "Card added: \"ZR Unreadable\"  total 134217728  free 100663296  unreadable\n", true},
        {L"card remove \"zr unreadable\"", "Card removed: \"ZR Unreadable\"", true},
        {L"card remove \"storage card\"", "Card removed: \"Storage Card\"", true},
        {L"line add \"Fax Line\" noopen", "Line added: \"Fax Line\"  cannot be opened\n", false},
        {L"telephony off", "Telephony: off\n", false},
        {L"rotate landscape", "Screen: landscape, 640x480\n", false},
    };
    for (const auto &c : changes) {
        std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        ValidateRect(window, NULL);
        CommandResult r = RunDevctl(c.arguments, dir);
        EXPECT_EQ(0u, r.exitCode) << shown << ": " << r.err;
        EXPECT_EQ(0u, r.out.find(c.said)) << shown << ": " << r.out;
        EXPECT_EQ(std::string::npos, r.out.find('\n', r.out.find('\n') + 1)) << shown << ": " << r.out;
        if (c.repaints) {
            EXPECT_TRUE(GetUpdateRect(window, NULL, FALSE)) << shown << " repaints nothing";
        }
    }
    DestroyWindow(window);
    SYSTEM_POWER_STATUS_EX2 s;
    ASSERT_EQ(sizeof s, GetSystemPowerStatusEx2(&s, sizeof s, TRUE));
    EXPECT_EQ(-250, (LONG)s.BatteryCurrent);
    EXPECT_EQ(42, s.BatteryLifePercent);
    MEMORYSTATUS m;
    GlobalMemoryStatus(&m);
    EXPECT_EQ(8u << 20, m.dwAvailPhys);
    OSVERSIONINFOW v;
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(20u, v.dwMinorVersion);
    EXPECT_EQ(14847u, v.dwBuildNumber) << "the build stays when not given";
    // Cards are removed by name in any case.
    EXPECT_EQ(std::vector<std::wstring>{L"ZR Devctl Card"}, EnumerateCards());
    ULARGE_INTEGER free, total;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"\\ZR Devctl Card", &free, &total, NULL));
    EXPECT_EQ(2ull << 30, total.QuadPart);
    SimLine lines[SIM_MAX_LINES];
    ASSERT_EQ(2, SimGetLines(lines, SIM_MAX_LINES));
    EXPECT_TRUE(lines[1].cannotOpen);
    EXPECT_NE(0u, SimGetFailure(SIM_FAIL_TELEPHONY));
    // The screen is shared: turned by the command, it is turned for this process too.
    EXPECT_EQ(SIM_LANDSCAPE_CX, GetSystemMetrics(SM_CXSCREEN));

    // A restore whose apply failed at the last soft reset.
    std::wstring image = dir + L"\\image.reg";
    ASSERT_TRUE(RegCopyFile(image.c_str()) && RegRestoreFile(image.c_str()));
    SimSetFailure(SIM_FAIL_REGAPPLY, ERROR_WRITE_FAULT);
    SimSoftReset(FALSE);

    std::string shown = RunDevctl(L"show", dir).out;
    for (const char *part : {"Screen: landscape, 640x480", "OS version: 4.20.14847", "percent=42", "cannot be opened",
                             "Last registry restore: failed (error 29)"})
        EXPECT_NE(std::string::npos, shown.find(part)) << part << " in " << shown;
    RemoveDirectoryW(L"C:\\ZR Devctl Card");
}

TEST_F(DeviceControl, RejectsBadArgumentsAndChangesNothing)
{
    const std::wstring dir = DeviceDir();
    const std::string before = ReadTextFile(ProfileFile());
    // Usage errors end with 2, refusals of the device with 1; each says why.
    struct {
        const wchar_t *arguments;
        DWORD exitCode;
    } cases[] = {{L"frobnicate", 2},         {L"battery percent=101", 2}, {L"battery current=x", 2},
                 {L"memory total=5G", 2},    {L"card add X 1M 1K broken", 2}, {L"card add \"a/b\" 1M 1M", 2},
                 {L"os 99999999999.1", 2}, {L"tap 10 640", 2},   {L"rotate sideways", 2},     {L"card remove Nowhere", 1},
                 {L"card add \"storage card\"", 1}, {L"line add \"CELLULAR LINE\"", 1}};
    for (const auto &c : cases) {
        CommandResult r = RunDevctl(c.arguments, dir);
        std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        EXPECT_EQ(c.exitCode, r.exitCode) << shown;
        EXPECT_EQ(0u, r.err.find("devctl: ")) << shown << ": " << r.err;
    }
    // Turning or darkening the screen needs the display it is on.
    wchar_t display[64];
    ASSERT_GT(GetEnvironmentVariableW(L"DISPLAY", display, 64), 0u);
    SetEnvironmentVariableW(L"DISPLAY", NULL);
    for (const wchar_t *arguments : {L"rotate landscape", L"power", L"tap 10 10"}) {
        CommandResult r = RunDevctl(arguments, dir);
        EXPECT_EQ(1u, r.exitCode);
        EXPECT_NE(std::string::npos, r.err.find("there is no display")) << r.err;
    }
    SetEnvironmentVariableW(L"DISPLAY", display);
    // No arguments: nothing is said.
    CommandResult quiet = RunDevctl(L"", dir);
    EXPECT_EQ(0u, quiet.exitCode);
    EXPECT_TRUE(quiet.out.empty() && quiet.err.empty());
    EXPECT_EQ(before, ReadTextFile(ProfileFile()));
}
