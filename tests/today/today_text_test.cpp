// The Today text and settings icons page ("Settings1").
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";
const HKEY LM = HKEY_LOCAL_MACHINE;

struct IconCase {
    UINT box;
    const wchar_t *key;
    bool redirect;   // "Redirect" is written and deleted with "Hide"
    bool posted;     // the notice is posted to the desktop rather than broadcast
};

// In the order the page reads them.
const IconCase kIcons[] = {
    {IDC_TODAYTEXT_HIDE_BUTTONS, L"ControlPanel\\Buttons", true, false},
    {IDC_TODAYTEXT_HIDE_NETWORK, L"ControlPanel\\Network", false, true},
    {IDC_TODAYTEXT_HIDE_ADMIN, L"ControlPanel\\AdminPassword", true, true},
    {IDC_TODAYTEXT_HIDE_PASSWORD, L"ControlPanel\\Password", true, true},
    {IDC_TODAYTEXT_HIDE_OWNER, L"ControlPanel\\Owner", true, true},
};

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

TEST_F(TodayTextPageTest, OpeningCreatesTheFiveIconKeysAndTicksOnlyHideOfOne)
{
    for (const IconCase &icon : kIcons) DeleteRegKey(LM, icon.key);
    DeleteRegKey(LM, kDeviceBeta);
    int before = SimBroadcastCount();
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        for (const IconCase &icon : kIcons) EXPECT_FALSE(IsTicked(page, icon.box)) << icon.key;
    });
    for (const IconCase &icon : kIcons) {
        EXPECT_TRUE(RegKeyExists(LM, icon.key)) << icon.key;
        EXPECT_FALSE(RegValueExists(LM, icon.key, L"Hide")) << icon.key;
    }
    // The Today text key is only opened to be read.
    EXPECT_FALSE(RegKeyExists(LM, kDeviceBeta));
    EXPECT_TRUE(SettingsChangesSince(before).empty()) << "opening announces nothing";

    // Only exactly 1 hides; a "Hide" of another type counts as missing.
    const DWORD one = 1;
    WriteRegDword(LM, L"ControlPanel\\Buttons", L"Hide", 1);
    WriteRegDword(LM, L"ControlPanel\\Network", L"Hide", 2);
    WriteRegRaw(LM, L"ControlPanel\\AdminPassword", L"Hide", REG_BINARY, &one, sizeof one);
    WriteTextOfType(LM, L"ControlPanel\\Password", L"Hide", REG_SZ, L"1");
    WriteRegDword(LM, L"ControlPanel\\Owner", L"Hide", 1);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        const bool ticked[] = {true, false, false, false, true};
        for (int i = 0; i < 5; i++) EXPECT_EQ(ticked[i], IsTicked(page, kIcons[i].box)) << kIcons[i].key;
    });
}

TEST_F(TodayTextPageTest, EachIconWritesHideAndItsRedirectAndIsAnnouncedOnce)
{
    for (const IconCase &icon : kIcons) {
        DeleteRegKey(LM, icon.key);
        // A stale "Redirect" on the network key is none of the page's business.
        if (!icon.redirect) WriteRegString(LM, icon.key, L"Redirect", L"stale");
    }
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        for (const IconCase &icon : kIcons) {
            SCOPED_TRACE(icon.key);
            for (bool ticking : {true, false}) {
                int before = SimBroadcastCount();
                Tap(page, icon.box);
                EXPECT_EQ(ticking ? 1u : 0u, RegDwordOr(LM, icon.key, L"Hide", 99));
                if (!icon.redirect)
                    EXPECT_EQ(L"stale", RegTextOr(LM, icon.key, L"Redirect", L"gone"));
                else if (ticking)
                    EXPECT_TRUE(IsEmptyText(LM, icon.key, L"Redirect"));
                else
                    EXPECT_FALSE(RegValueExists(LM, icon.key, L"Redirect"));
                ExpectOneSettingsNotice(before, icon.posted, ticking ? "ticked" : "cleared");
            }
        }
        // Clearing with its "Redirect" already gone is no error, and "Hide" is still written.
        Tap(page, IDC_TODAYTEXT_HIDE_OWNER);
        DeleteRegValue(LM, L"ControlPanel\\Owner", L"Redirect");
        int before = SimBroadcastCount();
        Tap(page, IDC_TODAYTEXT_HIDE_OWNER);
        EXPECT_EQ(0u, RegDwordOr(LM, L"ControlPanel\\Owner", L"Hide", 99));
        ExpectOneSettingsNotice(before, true, "cleared again");
    });
    // The network key is the networking page's wireless icon, seen the other way round.
    WriteRegDword(LM, L"ControlPanel\\Network", L"Hide", 1);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) { EXPECT_TRUE(IsTicked(page, IDC_TODAYTEXT_HIDE_NETWORK)); });
    RunInternetPage(TAB_NETWORKING, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_NET_WIFI_ICON)); });
}

TEST_F(TodayTextPageTest, TheTodayTextIsShownAndStoredOnlyThroughItsBox)
{
    DeleteRegKey(LM, kDeviceBeta);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        ExpectTextShown(page, false, L"Rudore");
        int before = SimBroadcastCount();
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(L"Rudore", TodayText());
        // Editing the field alone stores nothing.
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
        SetField(page, IDC_TODAYTEXT_TEXT, L"Back again");
        StoreField(page);
    });
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) { ExpectTextShown(page, true, L"Back again"); });
    // An empty text stored is as none.
    WriteRegString(LM, kDeviceBeta, L"Today", L"");
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) { ExpectTextShown(page, false, L"Rudore"); });
}

TEST_F(TodayTextPageTest, AnUnusableTodayTextCountsAsNoneAndTheFieldHoldsAtMost255)
{
    const std::function<void()> unusable[] = {
        [] { WriteRegString(LM, kDeviceBeta, L"Today", std::wstring(256, L't').c_str()); },
        [] { WriteUnterminated(LM, kDeviceBeta, L"Today", L"Hello"); },
        [] { WriteRegDword(LM, kDeviceBeta, L"Today", 7); },
    };
    for (const auto &store : unusable) {
        SCOPED_TRACE(&store - unusable);
        DeleteRegValue(LM, kDeviceBeta, L"Today");
        store();
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) { ExpectTextShown(page, false, L"Rudore"); });
    }
    // 255 characters fit whole, in the field and back in the registry.
    const std::wstring longest(255, L'w');
    WriteRegString(LM, kDeviceBeta, L"Today", longest.c_str());
    RunTodayPage(TAB_TODAY_TEXT, [&](HWND page) {
        ExpectTextShown(page, true, longest);
        // A longer text put into the field is stored cut to what the field holds.
        SetField(page, IDC_TODAYTEXT_TEXT, std::wstring(600, L'v').c_str());
        StoreField(page);
        EXPECT_EQ(std::wstring(255, L'v'), TodayText());
        // Typing stops at 255 characters.
        HWND field = GetDlgItem(page, IDC_TODAYTEXT_TEXT);
        SetField(page, IDC_TODAYTEXT_TEXT, longest.c_str());
        SendMessageW(field, EM_SETSEL, 255, 255);
        SendMessageW(field, WM_CHAR, L'z', 0);
        EXPECT_EQ(longest, FieldText(page, IDC_TODAYTEXT_TEXT));
    });
}

TEST_F(TodayTextPageTest, AKeyThatCannotBeOpenedStopsTheReadingOrTheWriteAndIsNotAnnounced)
{
    WriteRegString(LM, kDeviceBeta, L"Today", L"Shown");
    for (const IconCase &icon : kIcons) WriteRegDword(LM, icon.key, L"Hide", 1);
    DeleteRegValue(LM, L"ControlPanel\\AdminPassword", L"Hide");
    WriteRegDword(LM, L"ControlPanel\\Owner", L"Hide", 0);
    {
        // The admin password key comes third: the password box after it stays clear
        // although stored as 1.
        KeyLockout lockout(LM, L"ControlPanel\\AdminPassword");
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
            ExpectTextShown(page, true, L"Shown");
            const bool ticked[] = {true, true, false, false, false};
            for (int i = 0; i < 5; i++) EXPECT_EQ(ticked[i], IsTicked(page, kIcons[i].box)) << kIcons[i].key;
            // The page itself stays usable: the boxes whose keys open still write.
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
    WriteRegDword(LM, L"ControlPanel\\Buttons", L"Hide", 0);
    {
        // Without the buttons key nothing is read, not even the text.
        KeyLockout lockout(LM, L"ControlPanel\\Buttons");
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
            ExpectTextShown(page, false, L"");
            EXPECT_FALSE(IsTicked(page, IDC_TODAYTEXT_HIDE_NETWORK));
            int before = SimBroadcastCount();
            Tap(page, IDC_TODAYTEXT_HIDE_BUTTONS);
            EXPECT_EQ(before, SimBroadcastCount());
        });
    }
    EXPECT_EQ(0u, RegDwordOr(LM, L"ControlPanel\\Buttons", L"Hide", 99));
    {
        // The text's key cannot be opened either: the field shows the default and the
        // box writes nothing.
        KeyLockout lockout(LM, kDeviceBeta);
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
            ExpectTextShown(page, false, L"Rudore");
            Tap(page, IDC_TODAYTEXT_SHOW);
        });
    }
    EXPECT_EQ(L"Shown", TodayText());
}
