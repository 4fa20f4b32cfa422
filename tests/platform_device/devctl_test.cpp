// The device-control command, run as the user runs it, on this test's private device.
#include <windows.h>
#include <string>
#include "ceplatform.h"
#include "testkit.h"

namespace {

std::wstring DeviceDir()
{
    wchar_t dir[MAX_PATH] = L"";
    SimGetDeviceDir(dir, MAX_PATH);
    return dir;
}

// devctl.exe (beside the tests) on this test's device, which it finds by the setting:
// its exit code and what it wrote, output and errors together.
std::pair<DWORD, std::string> Devctl(const std::wstring &arguments)
{
    std::wstring line = L"\"" + PathBesideTests(L"devctl.exe") + L"\" " + arguments;
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE out = CreateFileW((DeviceDir() + L"\\devctl-out.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    STARTUPINFOW si = {sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi;
    DWORD code = 0xFFFFFFFF;
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", DeviceDir().c_str());
    BOOL started = CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", NULL);
    EXPECT_TRUE(started) << "devctl did not start";
    if (started) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000)) << "devctl did not end";
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    std::string text(65536, '\0');
    DWORD got = 0;
    SetFilePointer(out, 0, NULL, FILE_BEGIN);
    ReadFile(out, &text[0], (DWORD)text.size(), &got, NULL);
    CloseHandle(out);
    return {code, text.substr(0, got)};
}

}  // namespace

using DeviceControl = DeviceTest;

TEST_F(DeviceControl, ChangesTheProfileTheServicesReadAndShowsTheLastRestore)
{
    // Each change says what it did. A new battery, memory or card reading repaints the
    // screen's windows, so that a gauge on it shows the new reading.
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    struct { const wchar_t *arguments; const char *said; bool repaints; } changes[] = {
        // 255 is the device's "no reading", taken beside the 0 to 100 of a reading.
        {L"battery percent=255 ac=255", "Battery: percent=255 flag=1 chemistry=4 ac=255", true},
        {L"battery percent=42 current=-250 ac=0", "Battery: percent=42 flag=1 chemistry=4 ac=0 voltage=3950 current=-250", true},
        {L"memory total=32M avail=8M", "Memory: total=33554432 avail=8388608\n", true},
        {L"card remove \"storage card\"", "Card removed: \"Storage Card\"", true},
        {L"os 4.20.14847", "OS version: 4.20.14847\n", false},
        {L"rotate square", "Screen: square, 480x480\n", false},
        {L"rotate landscape", "Screen: landscape, 640x480\n", false},
    };
    for (const auto &c : changes) {
        SCOPED_TRACE(std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        ValidateRect(window, NULL);
        auto r = Devctl(c.arguments);
        EXPECT_EQ(0u, r.first) << r.second;
        EXPECT_EQ(0u, r.second.find(c.said)) << r.second;
        EXPECT_TRUE(!c.repaints || GetUpdateRect(window, NULL, FALSE)) << "repaints nothing";
    }
    DestroyWindow(window);
    SYSTEM_POWER_STATUS_EX2 s;
    ASSERT_EQ(sizeof s, GetSystemPowerStatusEx2(&s, sizeof s, TRUE));
    EXPECT_TRUE(s.BatteryLifePercent == 42 && (LONG)s.BatteryCurrent == -250);
    MEMORYSTATUS m;
    GlobalMemoryStatus(&m);
    EXPECT_EQ(8u << 20, m.dwAvailPhys);
    EXPECT_EQ(0, SimGetCards(NULL, 0));
    // The screen is shared: turned by the command, it is turned for this process too.
    EXPECT_EQ(SIM_LANDSCAPE_CX, GetSystemMetrics(SM_CXSCREEN));

    // A restore whose apply failed at the last soft reset.
    std::wstring image = DeviceDir() + L"\\image.reg";
    ASSERT_TRUE(RegCopyFile(image.c_str()) && RegRestoreFile(image.c_str()));
    SimSetFailure(SIM_FAIL_REGAPPLY, ERROR_WRITE_FAULT);
    SimSoftReset(FALSE);
    std::string shown = Devctl(L"show").second;
    for (const char *part : {"Screen: landscape, 640x480", "OS version: 4.20.14847", "percent=42",
                             "Last registry restore: failed (error 29)"})
        EXPECT_NE(std::string::npos, shown.find(part)) << part << " in " << shown;
}

TEST_F(DeviceControl, RejectsBadArgumentsAndChangesNothing)
{
    // Usage errors end with 2, refusals of the device with 1; each says why.
    // A card is a folder in the root: names its file system cannot hold, or that would
    // hide one of the device's own folders, are refused and stored nowhere.
    const std::pair<const wchar_t *, DWORD> cases[] = {
        {L"frobnicate", 2}, {L"battery percent=101", 2}, {L"memory total=5G", 2}, {L"card remove Nowhere", 1},
        {L"card add \"\"", 2}, {L"card add CON", 1}, {L"card add nul", 1}, {L"card add COM1", 1},
        {L"card add LPT9.txt", 1}, {L"card add Windows", 1}, {L"card add \"my documents\"", 1},
        {L"card add \"Program Files\"", 1}, {L"card add TEMP", 1}, {L"card add a:b", 2}, {L"card add \"a?\"", 2},
        {L"card add \"Card.\"", 2}, {L"card add \"Card \"", 2}, {L"card add a\\b", 2}, {L"card add \"a|b\"", 2}};
    for (const auto &c : cases) {
        auto r = Devctl(c.first);
        EXPECT_EQ(c.second, r.first) << r.second;
        EXPECT_EQ(0u, r.second.find("devctl: ")) << r.second;
    }
    SimBattery after;
    SimGetBattery(&after);
    EXPECT_EQ(85, after.lifePercent);
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(1, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"Storage Card", cards[0].name);
    // Names just inside the rules are taken: a device name within a longer one, a dot inside.
    for (const wchar_t *name : {L"CONSOLE", L"COM10", L"Windows2", L"Card.1"}) {
        auto r = Devctl(std::wstring(L"card add ") + name);
        EXPECT_EQ(0u, r.first) << r.second;
    }
    EXPECT_EQ(5, SimGetCards(NULL, 0));
    for (const wchar_t *name : {L"CONSOLE", L"COM10", L"Windows2", L"Card.1"}) RemoveDirectoryW((std::wstring(L"C:\\") + name).c_str());
}
