// The device page ("Collection5") through the System host: its two actions.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kTaskSwitch[] = L"Software\\Microsoft\\Shell\\TaskSwitch";

std::wstring CounterLabel(HWND page) { return FieldText(page, IDC_DEV_RESET_COUNTER); }
void WriteRecent(const wchar_t *name, const wchar_t *program) { WriteRegString(LM, kTaskSwitch, name, program); }
bool Recent(const wchar_t *name) { return RegValueExists(LM, kTaskSwitch, name); }

class DevicePageTest : public DeviceTest {};

}  // namespace

// Ticking clears "Default" and the numbered entries, whatever their type, up to the first gap.
TEST_F(DevicePageTest, ClearingRecentProgramsDeletesTheNumberedEntriesUpToTheFirstGap)
{
    DeleteRegKey(LM, kTaskSwitch);
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        EXPECT_FALSE(RegKeyExists(LM, kTaskSwitch)) << "only clearing the list opens the task switch key";
        WriteRecent(L"Default", L"\\Windows\\tmail.exe");
        for (const wchar_t *name : {L"0", L"2", L"4", L"Other"}) WriteRecent(name, L"\\Windows\\calc.exe");
        WriteRegDword(LM, kTaskSwitch, L"1", 5);
        EXPECT_FALSE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        Tap(page, IDC_DEV_CLEAR_RECENT);
        for (const wchar_t *name : {L"Default", L"0", L"1", L"2"}) EXPECT_FALSE(Recent(name)) << name;
        EXPECT_TRUE(Recent(L"4") && Recent(L"Other"));
        // It stays ticked: cleared, it does nothing; ticked again, it clears again. Entries
        // are read into 256 bytes: one too long to read ends the list, deleted all the same.
        for (size_t chars : {127, 128}) {
            for (const wchar_t *name : {L"0", L"2"}) WriteRecent(name, L"\\Windows\\calc.exe");
            WriteRecent(L"1", std::wstring(chars, L'p').c_str());
            Tap(page, IDC_DEV_CLEAR_RECENT);
            EXPECT_TRUE(Recent(L"0")) << "cleared, it does nothing";
            Tap(page, IDC_DEV_CLEAR_RECENT);
            EXPECT_FALSE(Recent(L"0") || Recent(L"1")) << chars;
            EXPECT_EQ(chars == 128, Recent(L"2")) << chars;
        }
    });
}

TEST_F(DevicePageTest, TheCounterLabelShowsTheSoftResetsAndTickingResetsThem)
{
    WriteRegDword(LM, L"Comm", L"Bootcount", 7);
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        EXPECT_EQ(L"SoftReset counter from 7 to 0", CounterLabel(page));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_RESET_COUNTER));
        Tap(page, IDC_DEV_RESET_COUNTER);
        EXPECT_EQ(0u, SimGetBootCount());
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
        // It stays ticked: cleared, it writes nothing and keeps the label.
        EXPECT_TRUE(IsTicked(page, IDC_DEV_RESET_COUNTER));
        WriteRegDword(LM, L"Comm", L"Bootcount", 3);
        Tap(page, IDC_DEV_RESET_COUNTER);
        EXPECT_EQ(3u, SimGetBootCount());
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
    });
}
