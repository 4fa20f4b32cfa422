// The device-control command, run as the user runs it, on this test's private device.
#include <windows.h>
#include <tapi.h>
#include <string>
#include <vector>
#include "ceplatform.h"
#include "device_helpers.h"
#include "testkit.h"

namespace {

bool Contains(const std::string &text, const char *part)
{
    return text.find(part) != std::string::npos;
}

bool TelephonyStarts()
{
    HLINEAPP app = 0;
    DWORD devices = 0, version = 0x00020000;
    LINEINITIALIZEEXPARAMS params;
    ZeroMemory(&params, sizeof params);
    params.dwTotalSize = 24;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    if (lineInitializeExW(&app, NULL, NULL, L"test", &devices, &version, &params) != 0) return false;
    lineShutdown(app);
    return true;
}

HWND WaitForWindow(const wchar_t *className, DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    HWND window;
    while (!(window = FindWindowW(className, NULL)) && GetTickCount() < end) Sleep(20);
    return window;
}

}

class DeviceControl : public DeviceTest {};

TEST_F(DeviceControl, ChangesTheProfileTheServicesRead)
{
    const std::wstring dir = DeviceDir();
    ASSERT_FALSE(dir.empty());

    CommandResult r = RunDevctl(L"battery percent=42 flag=8 voltage=4100 current=-250 temperature=31 chemistry=5 ac=1",
                                dir);
    ASSERT_EQ(0u, r.exitCode) << r.err;
    SYSTEM_POWER_STATUS_EX2 s;
    ASSERT_EQ(sizeof s, GetSystemPowerStatusEx2(&s, sizeof s, TRUE));
    EXPECT_EQ(42, s.BatteryLifePercent);
    EXPECT_EQ(8, s.BatteryFlag);
    EXPECT_EQ(4100u, s.BatteryVoltage);
    EXPECT_EQ(-250, (LONG)s.BatteryCurrent);
    EXPECT_EQ(31u, s.BatteryTemperature);
    EXPECT_EQ(5, s.BatteryChemistry);
    EXPECT_EQ(1, s.ACLineStatus);
    ASSERT_EQ(0u, RunDevctl(L"battery fail=1", dir).exitCode);
    SYSTEM_POWER_STATUS_EX basic;
    EXPECT_FALSE(GetSystemPowerStatusEx(&basic, TRUE));
    ASSERT_EQ(0u, RunDevctl(L"battery fail=0", dir).exitCode);
    ASSERT_TRUE(GetSystemPowerStatusEx(&basic, TRUE));
    EXPECT_EQ(42, basic.BatteryLifePercent) << "one setting changes only itself";

    ASSERT_EQ(0u, RunDevctl(L"memory total=32M avail=8M", dir).exitCode);
    MEMORYSTATUS m;
    GlobalMemoryStatus(&m);
    EXPECT_EQ(32u * 1024 * 1024, m.dwTotalPhys);
    EXPECT_EQ(8u * 1024 * 1024, m.dwAvailPhys);

    ASSERT_EQ(0u, RunDevctl(L"os 5.1.14847", dir).exitCode);
    OSVERSIONINFOW v;
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(5u, v.dwMajorVersion);
    EXPECT_EQ(1u, v.dwMinorVersion);
    EXPECT_EQ(14847u, v.dwBuildNumber);
    ASSERT_EQ(0u, RunDevctl(L"os 4.20", dir).exitCode);
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(20u, v.dwMinorVersion);
    EXPECT_EQ(14847u, v.dwBuildNumber) << "the build stays when not given";

    // Cards: added with sizes (and a folder), removed by name in any case.
    r = RunDevctl(L"card add \"ZR Devctl Card\" 2G 512M", dir);
    ASSERT_EQ(0u, r.exitCode) << r.err;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"C:\\ZR Devctl Card"));
    std::vector<std::wstring> cards = EnumerateCards();
    ASSERT_EQ(2u, cards.size());
    EXPECT_EQ(L"ZR Devctl Card", cards[1]);
    ULARGE_INTEGER free, total;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"\\ZR Devctl Card", &free, &total, NULL));
    EXPECT_EQ(2ull << 30, total.QuadPart);
    EXPECT_EQ(512ull << 20, free.QuadPart);
    ASSERT_EQ(0u, RunDevctl(L"card remove \"storage card\"", dir).exitCode);
    cards = EnumerateCards();
    ASSERT_EQ(1u, cards.size());
    EXPECT_EQ(L"ZR Devctl Card", cards[0]);
    ASSERT_EQ(0u, RunDevctl(L"card add \"ZR Dead Card\" 1M 1M unreadable", dir).exitCode);
    EXPECT_FALSE(GetDiskFreeSpaceExW(L"\\ZR Dead Card", &free, &total, NULL));
    r = RunDevctl(L"card list", dir);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_TRUE(Contains(r.out, "ZR Dead Card")) << r.out;
    EXPECT_TRUE(Contains(r.out, "unreadable")) << r.out;

    // Lines and telephony.
    ASSERT_EQ(0u, RunDevctl(L"line remove \"Cellular Line\"", dir).exitCode);
    EXPECT_EQ(0, SimGetLines(NULL, 0));
    ASSERT_EQ(0u, RunDevctl(L"line add \"Cellular Line\" noopen", dir).exitCode);
    SimLine line;
    ASSERT_EQ(1, SimGetLines(&line, 1));
    EXPECT_TRUE(line.cannotOpen);
    EXPECT_TRUE(TelephonyStarts());
    ASSERT_EQ(0u, RunDevctl(L"telephony off", dir).exitCode);
    EXPECT_FALSE(TelephonyStarts());
    ASSERT_EQ(0u, RunDevctl(L"telephony on", dir).exitCode);
    EXPECT_TRUE(TelephonyStarts());

    // The screen is shared: turned by the command, it is turned for this process too.
    ASSERT_EQ(0u, RunDevctl(L"rotate SQUARE", dir).exitCode);
    EXPECT_EQ(SIM_SQUARE, SimGetScreenShape());
    ASSERT_EQ(0u, RunDevctl(L"rotate landscape", dir).exitCode);
    EXPECT_EQ(SIM_LANDSCAPE_CX, GetSystemMetrics(SM_CXSCREEN));

    r = RunDevctl(L"show", dir);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_TRUE(Contains(r.out, "Screen: landscape, 640x480")) << r.out;
    ASSERT_EQ(0u, RunDevctl(L"rotate portrait", dir).exitCode);
    EXPECT_EQ(SIM_PORTRAIT, SimGetScreenShape());
    EXPECT_TRUE(Contains(r.out, "OS version: 4.20.14847")) << r.out;
    EXPECT_TRUE(Contains(r.out, "percent=42")) << r.out;
    EXPECT_TRUE(Contains(r.out, "cannot be opened")) << r.out;

    // No arguments: nothing changes, nothing is said.
    std::string before = ReadTextFile(ProfileFile());
    r = RunDevctl(L"", dir);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_TRUE(r.out.empty() && r.err.empty());
    EXPECT_EQ(before, ReadTextFile(ProfileFile()));

    RemoveDirectoryW(L"C:\\ZR Devctl Card");
    RemoveDirectoryW(L"C:\\ZR Dead Card");
}

TEST_F(DeviceControl, RejectsBadArgumentsAndChangesNothing)
{
    const std::wstring dir = DeviceDir();
    const std::string before = ReadTextFile(ProfileFile());
    const wchar_t *usageErrors[] = {
        L"frobnicate", L"battery", L"battery percent=101", L"battery percent=", L"battery volts=3",
        L"battery current=x", L"battery fail=2", L"memory", L"memory total=0", L"memory total=5G",
        L"memory avail=1 total", L"card", L"card add", L"card add \"a/b\"", L"card add X 10",
        L"card add X 10 20", L"card add X 1M 1K broken", L"card remove", L"line add", L"line add \"\"",
        L"line add X maybe", L"telephony", L"telephony maybe", L"os", L"os 5", L"os 5.x", L"os 1.2.3.4",
        L"os 99999999999.1", L"rotate", L"rotate sideways", L"reset", L"reset medium", L"power now",
        L"wake up", L"show all", L"init now"};
    for (const wchar_t *arguments : usageErrors) {
        CommandResult r = RunDevctl(arguments, dir);
        std::string shown(arguments, arguments + wcslen(arguments));
        EXPECT_EQ(2u, r.exitCode) << shown;
        EXPECT_TRUE(Contains(r.err, "devctl: ")) << shown << ": " << r.err;
    }
    // Well formed but refused by the device.
    const wchar_t *refusals[] = {L"card remove Nowhere", L"line remove Nowhere", L"card add \"storage card\"",
                                 L"line add \"CELLULAR LINE\""};
    for (const wchar_t *arguments : refusals) {
        CommandResult r = RunDevctl(arguments, dir);
        EXPECT_EQ(1u, r.exitCode) << std::string(arguments, arguments + wcslen(arguments));
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(before, ReadTextFile(ProfileFile()));

    CommandResult help = RunDevctl(L"help", dir);
    EXPECT_EQ(0u, help.exitCode);
    EXPECT_TRUE(Contains(help.out, "rotate portrait|landscape|square"));
}

TEST_F(DeviceControl, PowerDarkensTheDeviceUntilWoken)
{
    const std::wstring dir = DeviceDir();
    // The command keeps the dark screen up while the device sleeps.
    HANDLE power = StartDevctl(L"power", dir);
    ASSERT_TRUE(power != NULL);
    HWND dark = WaitForWindow(L"DeviceScreenOff", 10000);
    ASSERT_TRUE(dark != NULL);
    EXPECT_TRUE(SimIsSuspended()) << "another process's dark screen counts";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(power, 200));

    CommandResult r = RunDevctl(L"wake", dir);
    EXPECT_EQ(0u, r.exitCode);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(power, 10000));
    DWORD code = 99;
    GetExitCodeProcess(power, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(power);
    EXPECT_FALSE(SimIsSuspended());
    EXPECT_TRUE(Contains(RunDevctl(L"wake", dir).out, "already on"));

    // A reset ends the device's programs, this one spared.
    power = StartDevctl(L"power", dir);
    ASSERT_TRUE(power != NULL);
    ASSERT_TRUE(WaitForWindow(L"DeviceScreenOff", 10000) != NULL);
    EXPECT_GE(SimEndDevicePrograms(0), 1);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(power, 5000));
    CloseHandle(power);
    EXPECT_TRUE(FindWindowW(L"DeviceScreenOff", NULL) == NULL);
    EXPECT_TRUE(IsWindow(GetDesktopWindow()));
}
