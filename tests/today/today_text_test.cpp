// The Today text and settings icons page ("Settings1").
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";
// The icon boxes in the order the page reads them: the buttons key before the text,
// the others after it.
const UINT kIcons[] = {IDC_TODAYTEXT_HIDE_BUTTONS, IDC_TODAYTEXT_HIDE_NETWORK, IDC_TODAYTEXT_HIDE_ADMIN,
                       IDC_TODAYTEXT_HIDE_PASSWORD, IDC_TODAYTEXT_HIDE_OWNER};
const wchar_t *const kIconKeys[] = {L"ControlPanel\\Buttons", L"ControlPanel\\Network", L"ControlPanel\\AdminPassword",
                                    L"ControlPanel\\Password", L"ControlPanel\\Owner"};

std::wstring TodayText() { return RegTextOr(LM, kDeviceBeta, L"Today", L"missing"); }

void ExpectTextShown(HWND page, bool ticked, const std::wstring &text)
{
    EXPECT_EQ(ticked, IsTicked(page, IDC_TODAYTEXT_SHOW));
    EXPECT_EQ(text, FieldText(page, IDC_TODAYTEXT_TEXT));
}

// Clear and tick again: the way to store the field once the box is ticked.
void StoreField(HWND page)
{
    Tap(page, IDC_TODAYTEXT_SHOW);
    Tap(page, IDC_TODAYTEXT_SHOW);
}

class TodayTextPageTest : public DeviceTest {};

}  // namespace

TEST_F(TodayTextPageTest, TheTodayTextIsStoredOnlyThroughItsBoxAndHoldsAtMost255Characters)
{
    DeleteRegKey(LM, kDeviceBeta);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        EXPECT_FALSE(RegKeyExists(LM, kDeviceBeta)) << "the text key is only opened to be read";
        ExpectTextShown(page, false, L"Rudore");
        int before = SimBroadcastCount();
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(L"Rudore", TodayText());
        // Editing the field alone stores nothing; clearing the box deletes the text.
        SetField(page, IDC_TODAYTEXT_TEXT, L"Hello owner");
        EXPECT_EQ(L"Rudore", TodayText());
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_FALSE(RegValueExists(LM, kDeviceBeta, L"Today"));
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(L"Hello owner", TodayText());
        // An empty field stores an empty text.
        SetField(page, IDC_TODAYTEXT_TEXT, L"");
        StoreField(page);
        EXPECT_TRUE(IsEmptyText(LM, kDeviceBeta, L"Today"));
        EXPECT_TRUE(SettingsChangesSince(before).empty()) << "the text is not announced";
    });
    // Stored empty, or too long for the field's 255 characters, it counts as none.
    for (const std::wstring &unusable : {std::wstring(), std::wstring(256, L't')}) {
        WriteRegString(LM, kDeviceBeta, L"Today", unusable.c_str());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) { ExpectTextShown(page, false, L"Rudore"); });
    }
    const std::wstring longest(255, L'w');
    WriteRegString(LM, kDeviceBeta, L"Today", longest.c_str());
    RunTodayPage(TAB_TODAY_TEXT, [&](HWND page) {
        ExpectTextShown(page, true, longest);
        // A longer text put into the field is stored cut to what the field holds.
        SetField(page, IDC_TODAYTEXT_TEXT, std::wstring(600, L'v').c_str());
        StoreField(page);
        EXPECT_EQ(std::wstring(255, L'v'), TodayText());
    });
}

TEST_F(TodayTextPageTest, AKeyThatCannotBeOpenedStopsTheReadingOrTheWriteAndIsNotAnnounced)
{
    WriteRegString(LM, kDeviceBeta, L"Today", L"Shown");
    for (const wchar_t *key : kIconKeys) WriteRegDword(LM, key, L"Hide", 1);
    DeleteRegValue(LM, L"ControlPanel\\AdminPassword", L"Hide");
    WriteRegDword(LM, L"ControlPanel\\Owner", L"Hide", 0);
    {
        // The admin password key comes third: the password box after it stays clear
        // although stored as 1.
        KeyLockout lockout(LM, L"ControlPanel\\AdminPassword");
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
            ExpectTextShown(page, true, L"Shown");
            for (int i = 0; i < 5; i++) EXPECT_EQ(i < 2, IsTicked(page, kIcons[i])) << kIconKeys[i];
            // The boxes whose keys open still write.
            int before = SimBroadcastCount();
            Tap(page, IDC_TODAYTEXT_HIDE_OWNER);
            EXPECT_EQ(1u, RegDwordOr(LM, L"ControlPanel\\Owner", L"Hide", 99));
            ExpectOneSettingsNotice(before, true, "owner");
            // A box whose key cannot be opened writes nothing and announces nothing.
            before = SimBroadcastCount();
            Tap(page, IDC_TODAYTEXT_HIDE_ADMIN);
            EXPECT_EQ(before, SimBroadcastCount());
        });
    }
    EXPECT_FALSE(RegValueExists(LM, L"ControlPanel\\AdminPassword", L"Hide"));
    // Without the buttons key nothing is read, not even the text.
    KeyLockout lockout(LM, L"ControlPanel\\Buttons");
    ASSERT_TRUE(lockout.locked());
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        ExpectTextShown(page, false, L"");
        EXPECT_FALSE(IsTicked(page, IDC_TODAYTEXT_HIDE_NETWORK));
    });
}
