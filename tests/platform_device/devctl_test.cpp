// The device-control command, run as the user runs it, on this test's private device.
#include <windows.h>
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

}

using DeviceControl = DeviceTest;

TEST_F(DeviceControl, ChangesTheProfileTheServicesRead)
{
    const std::wstring dir = DeviceDir();
    ASSERT_FALSE(dir.empty());

    CommandResult r = RunDevctl(L"battery percent=42 current=-250 chemistry=5 ac=1", dir);
    ASSERT_EQ(0u, r.exitCode) << r.err;
    SYSTEM_POWER_STATUS_EX2 s;
    ASSERT_EQ(sizeof s, GetSystemPowerStatusEx2(&s, sizeof s, TRUE));
    EXPECT_EQ(42, s.BatteryLifePercent);
    EXPECT_EQ(-250, (LONG)s.BatteryCurrent);
    EXPECT_EQ(5, s.BatteryChemistry);
    ASSERT_EQ(0u, RunDevctl(L"battery fail=1", dir).exitCode);
    EXPECT_FALSE(GetSystemPowerStatusEx2(&s, sizeof s, TRUE));

    ASSERT_EQ(0u, RunDevctl(L"memory total=32M avail=8M", dir).exitCode);
    MEMORYSTATUS m;
    GlobalMemoryStatus(&m);
    EXPECT_EQ(8u * 1024 * 1024, m.dwAvailPhys);

    ASSERT_EQ(0u, RunDevctl(L"os 5.1.14847", dir).exitCode);
    ASSERT_EQ(0u, RunDevctl(L"os 4.20", dir).exitCode);
    OSVERSIONINFOW v;
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(20u, v.dwMinorVersion);
    EXPECT_EQ(14847u, v.dwBuildNumber) << "the build stays when not given";

    // Cards: added with sizes (and a folder), removed by name in any case.
    r = RunDevctl(L"card add \"ZR Devctl Card\" 2G 512M", dir);
    ASSERT_EQ(0u, r.exitCode) << r.err;
    ASSERT_EQ(0u, RunDevctl(L"card remove \"storage card\"", dir).exitCode);
    EXPECT_EQ(std::vector<std::wstring>{L"ZR Devctl Card"}, EnumerateCards());
    ULARGE_INTEGER free, total;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"\\ZR Devctl Card", &free, &total, NULL));
    EXPECT_EQ(2ull << 30, total.QuadPart);
    EXPECT_EQ(512ull << 20, free.QuadPart);

    // Lines and telephony, as the phone-edition check reads them.
    ASSERT_EQ(0u, RunDevctl(L"line remove \"Cellular Line\"", dir).exitCode);
    ASSERT_EQ(0u, RunDevctl(L"line add \"Cellular Line\" noopen", dir).exitCode);
    SimLine line;
    ASSERT_EQ(1, SimGetLines(&line, 1));
    EXPECT_TRUE(line.cannotOpen);
    ASSERT_EQ(0u, RunDevctl(L"telephony off", dir).exitCode);
    EXPECT_NE(0u, SimGetFailure(SIM_FAIL_TELEPHONY));

    // The screen is shared: turned by the command, it is turned for this process too.
    ASSERT_EQ(0u, RunDevctl(L"rotate landscape", dir).exitCode);
    EXPECT_EQ(SIM_LANDSCAPE_CX, GetSystemMetrics(SM_CXSCREEN));
    r = RunDevctl(L"show", dir);
    ASSERT_EQ(0u, RunDevctl(L"rotate portrait", dir).exitCode);
    EXPECT_EQ(SIM_PORTRAIT, SimGetScreenShape());
    for (const char *part : {"Screen: landscape, 640x480", "OS version: 4.20.14847", "percent=42", "cannot be opened"})
        EXPECT_TRUE(Contains(r.out, part)) << part << " in " << r.out;
    RemoveDirectoryW(L"C:\\ZR Devctl Card");
}

TEST_F(DeviceControl, RejectsBadArgumentsAndChangesNothing)
{
    const std::wstring dir = DeviceDir();
    const std::string before = ReadTextFile(ProfileFile());
    // Usage errors end with 2, refusals of the device with 1; neither touches the profile.
    struct {
        const wchar_t *arguments;
        DWORD exitCode;
    } cases[] = {{L"frobnicate", 2},         {L"battery percent=101", 2}, {L"battery current=x", 2},
                 {L"memory total=5G", 2},    {L"card add X 1M 1K broken", 2}, {L"card add \"a/b\" 1M 1M", 2},
                 {L"os 99999999999.1", 2},   {L"rotate sideways", 2},     {L"card remove Nowhere", 1},
                 {L"card add \"storage card\"", 1}, {L"line add \"CELLULAR LINE\"", 1}};
    for (const auto &c : cases) {
        CommandResult r = RunDevctl(c.arguments, dir);
        std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        EXPECT_EQ(c.exitCode, r.exitCode) << shown;
        EXPECT_TRUE(Contains(r.err, "devctl: ")) << shown << ": " << r.err;
    }
    // No arguments: nothing changes, nothing is said.
    CommandResult quiet = RunDevctl(L"", dir);
    EXPECT_EQ(0u, quiet.exitCode);
    EXPECT_TRUE(quiet.out.empty() && quiet.err.empty());
    EXPECT_EQ(before, ReadTextFile(ProfileFile()));
}
