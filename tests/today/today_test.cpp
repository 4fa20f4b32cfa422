// The Today pages: the Today text, the boxes whose every tap is announced to the shell,
// and the soft keys ("Settings3") with their link picker.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";

std::wstring TodayText() { return RegTextOr(LM, kDeviceBeta, L"Today", L"missing"); }

// Each box, and whether its notice is posted to the desktop rather than sent to every window.
const struct { PageRunner run; int tab; std::vector<std::pair<UINT, bool>> boxes; } kAnnouncing[] = {
    {RunTodayPage, TAB_TODAY_TEXT, {{IDC_TODAYTEXT_HIDE_BUTTONS, false}, {IDC_TODAYTEXT_HIDE_NETWORK, true},
      {IDC_TODAYTEXT_HIDE_ADMIN, true}, {IDC_TODAYTEXT_HIDE_PASSWORD, true}, {IDC_TODAYTEXT_HIDE_OWNER, true}}},
    {RunTodayPage, TAB_SETTINGS_ICONS, {{IDC_ICONS_CLEARTYPE, false}, {IDC_ICONS_HIDE_ORIENTATION, false},
      {IDC_ICONS_HIDE_ABOUT, false}, {IDC_ICONS_HIDE_CONNECTIONS, false}, {IDC_ICONS_HIDE_TODAY, false},
      {IDC_ICONS_HIDE_MENUS, false}}},
    {RunPhonePage, TAB_PHONE_APPEARANCE, {{IDC_PA_UNLIMITED_VIDEO, false}, {IDC_PA_GPRS_DISCONNECT, false},
      {IDC_PA_GSM_LED_OFF, false}}},
};

const wchar_t kLeft[] = L"Software\\Microsoft\\Today\\Keys\\112";
const wchar_t kRight[] = L"Software\\Microsoft\\Today\\Keys\\113";
const wchar_t kPicker[] = L"C:\\Windows\\Zelvo Rudore\\getFiles.dll";
const UINT kFields[] = {IDC_SOFTKEY_LEFT_NAME, IDC_SOFTKEY_LEFT_TARGET, IDC_SOFTKEY_RIGHT_NAME, IDC_SOFTKEY_RIGHT_TARGET};

// The left name and target, then the right ones.
void ExpectFields(HWND page, std::initializer_list<std::wstring> texts)
{
    const UINT *field = kFields;
    for (const std::wstring &text : texts) EXPECT_EQ(text, FieldText(page, *field++)) << "field " << field[-1];
}

// Fills the fields, and taps both keys' "OK".
void StoreFields(HWND page, std::initializer_list<std::wstring> texts)
{
    const UINT *field = kFields;
    for (const std::wstring &text : texts) SetField(page, *field++, text.c_str());
    Tap(page, IDC_SOFTKEY_LEFT_STORE);
    Tap(page, IDC_SOFTKEY_RIGHT_STORE);
}

// The key's name and program as stored, "missing" for none.
std::wstring Stored(const wchar_t *key) { return RegTextOr(CU, key, L"Default", L"missing") + L"|" + RegTextOr(CU, key, L"Open", L"missing"); }

// What the stand-in picker library reported through the environment.
std::wstring Reported(const wchar_t *name) { wchar_t text[600] = L""; return GetEnvironmentVariableW(name, text, 600), text; }

// Installs a stand-in as the optional picker library, or (NULL) removes it.
bool InstallPicker(const wchar_t *standIn)
{
    for (const wchar_t *name : {L"ZR_GETFILES_CALLS", L"ZR_GETFILES_SEEN", L"ZR_GETFILES_ANSWER", L"ZR_GETFILES_FILL"})
        SetEnvironmentVariableW(name, NULL);
    DeleteFileW(kPicker);
    if (!standIn) return RemoveDirectoryW(L"C:\\Windows\\Zelvo Rudore");
    CreateDirectoryW(L"C:\\Windows\\Zelvo Rudore", NULL);
    return CopyFileW(PathBesideTests(standIn).c_str(), kPicker, FALSE);
}

// Exactly one broadcast since record `from`: the settings change 0xF2 (lParam 0) the
// shell's windows listen for, posted to the desktop window or sent to every window.
void ExpectOneNotice(int from, bool posted)
{
    std::vector<SimBroadcast> changes = SettingsChangesSince(from);
    ASSERT_TRUE(SimBroadcastCount() - from == 1 && changes.size() == 1) << SimBroadcastCount() - from << " broadcasts";
    EXPECT_EQ(posted, changes[0].posted != FALSE);
    EXPECT_EQ(posted ? GetDesktopWindow() : HWND_BROADCAST, changes[0].target);
    EXPECT_TRUE(changes[0].wParam == 0xF2 && changes[0].lParam == 0) << std::hex << changes[0].wParam;
}

class TodayPageTest : public DeviceTest {};

}  // namespace

TEST_F(TodayPageTest, TheTodayTextIsStoredOnlyThroughItsBoxUnannouncedAndEveryIconTapIsAnnouncedOnce)
{
    DeleteRegKey(LM, kDeviceBeta);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        EXPECT_FALSE(RegKeyExists(LM, kDeviceBeta)) << "the text key is only opened to be read";
        EXPECT_FALSE(IsTicked(page, IDC_TODAYTEXT_SHOW));
        EXPECT_EQ(L"Rudore", FieldText(page, IDC_TODAYTEXT_TEXT));
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
        SetField(page, IDC_TODAYTEXT_TEXT, L"");
        Tap(page, IDC_TODAYTEXT_SHOW);
        Tap(page, IDC_TODAYTEXT_SHOW);
        DWORD type, bytes;
        EXPECT_TRUE(RegValueShape(LM, kDeviceBeta, L"Today", &type, &bytes) && type == REG_SZ && bytes == 2) << "an empty text";
        SetField(page, IDC_TODAYTEXT_TEXT, std::wstring(600, L'v').c_str());
        Tap(page, IDC_TODAYTEXT_SHOW);
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(std::wstring(255, L'v'), TodayText()) << "cut to what the field holds";
        EXPECT_TRUE(SettingsChangesSince(before).empty()) << "the text is not announced";
    });
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_TODAYTEXT_SHOW));
        EXPECT_EQ(std::wstring(255, L'v'), FieldText(page, IDC_TODAYTEXT_TEXT)) << "what the box stored shows again";
    });
    // Every tap of an icon box, ticking or clearing, makes one notice; opening none.
    for (const auto &p : kAnnouncing) {
        int opened = SimBroadcastCount();
        p.run(p.tab, [&](HWND page) {
            EXPECT_EQ(opened, SimBroadcastCount()) << "opening announces nothing";
            for (auto box : p.boxes)
                for (const char *tap : {"ticked", "cleared"}) {
                    SCOPED_TRACE(::testing::Message() << box.first << " " << tap);
                    int before = SimBroadcastCount();
                    Tap(page, box.first);
                    ExpectOneNotice(before, box.second);
                }
        });
    }
}

TEST_F(TodayPageTest, SoftKeysShowWhatIsStoredOrTheDefaultsAndOkOrDefaultStoreThem)
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, {L"Calendar", L"", L"Contacts", L""});
        StoreFields(page, {L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe"});
        EXPECT_EQ(L"Notes|\\Windows\\notes.exe", Stored(kLeft));
        EXPECT_EQ(L"Phone|\\Windows\\cprog.exe", Stored(kRight));
        // One field of a key left empty: the left key gets the Calendar with its fields
        // left alone, the right key loses both values.
        StoreFields(page, {L"Notes", L"", L"", L"\\Windows\\cprog.exe"});
        EXPECT_EQ(L"Calendar|\\Windows\\Calendar.exe", Stored(kLeft));
        ExpectFields(page, {L"Notes", L""});
        EXPECT_EQ(L"missing|missing", Stored(kRight));
        // "Default": stored and shown, each key on its own.
        DeleteRegKey(CU, kLeft);
        WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
        SetField(page, IDC_SOFTKEY_RIGHT_NAME, L"Phone");
        Tap(page, IDC_SOFTKEY_LEFT_DEFAULT);
        EXPECT_EQ(L"Calendar|\\Windows\\Calendar.exe", Stored(kLeft));
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", L"Phone", L"\\Windows\\cprog.exe"});
        Tap(page, IDC_SOFTKEY_RIGHT_DEFAULT);
        EXPECT_EQ(L"Contacts|missing", Stored(kRight));
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", L"Contacts", L""});
        // Fields longer than they hold (set, not typed) are stored cut to 255 characters.
        StoreFields(page, {std::wstring(300, L'n'), std::wstring(300, L't'), std::wstring(300, L'n'), std::wstring(300, L't')});
    });
    const std::wstring n255(255, L'n'), t255(255, L't');
    EXPECT_EQ(n255 + L"|" + t255, Stored(kLeft));
    EXPECT_EQ(n255 + L"|" + t255, Stored(kRight));
    // What OK stored shows again.
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) { ExpectFields(page, {n255, t255, n255, t255}); });
}

// Without the library, or with one lacking the picker's export, the platform dialog
// picks; with it, the library does, loaded for each pick alone, so that it can come and
// go while the page is open. Nothing is stored until "OK".
TEST_F(TodayPageTest, SoftKeyPickerUsesItsLibraryWhenItExportsThePickerOrElseThePlatformDialog)
{
    InstallPicker(NULL);
    DeleteRegKey(CU, kLeft);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ASSERT_EQ(1, SimFileDialogCount());
        SimFileDialog asked = {};
        SimGetFileDialog(0, &asked);
        EXPECT_FALSE(asked.save);
        EXPECT_EQ(page, asked.owner);
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe"});
        EXPECT_EQ(L"missing|missing", Stored(kLeft));
        // The name is the file name up to its first dot; a dot in a folder gives none;
        // a cancel empties both fields of that key.
        ASSERT_TRUE(InstallPicker(L"test_getfiles_other.dll"));
        const wchar_t *picks[][2] = {{L"\\Program Files\\Tools\\pocket.notes.exe", L"pocket"},
                                     {L"\\Program Files\\My.App\\Tool.exe", L""}, {NULL, L""}};
        for (auto &pick : picks) {
            SimQueueFileDialogAnswer(pick[0]);
            Tap(page, IDC_SOFTKEY_RIGHT_PICK);
            ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", pick[1], pick[0] ? pick[0] : L""});
        }
        EXPECT_EQ(4, SimFileDialogCount());
        EXPECT_EQ(L"", Reported(L"ZR_GETFILES_CALLS"));
        // 258 characters fit the picker's buffer but not a field: cut safely, the name
        // taken from the whole path; "OK" then stores what was picked.
        const std::wstring path = L"\\" + std::wstring(248, L'f') + L"\\Prog.exe";
        SimQueueFileDialogAnswer(path.c_str());
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, {L"Prog", path.substr(0, 255)});
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        EXPECT_EQ(L"Prog|" + path.substr(0, 255), Stored(kLeft));

        ASSERT_TRUE(InstallPicker(L"test_getfiles.dll"));
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", L"\\Program Files\\Notes\\notes.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(L"Select link|\\Windows|(*.exe)|260", Reported(L"ZR_GETFILES_SEEN"));
        ExpectFields(page, {L"notes", L"\\Program Files\\Notes\\notes.exe"});
        EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL) << "the library stays loaded";
        // The library's cancel empties the fields.
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", NULL);
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, {L"", L""});
        // A library that leaves its buffer full and unterminated does not run the page over it.
        SetEnvironmentVariableW(L"ZR_GETFILES_FILL", L"1");
        Tap(page, IDC_SOFTKEY_RIGHT_PICK);
        ExpectFields(page, {L"", L"", std::wstring(255, L'x'), std::wstring(255, L'x')});
        EXPECT_EQ(L"3", Reported(L"ZR_GETFILES_CALLS"));
        EXPECT_EQ(5, SimFileDialogCount()) << "the platform dialog was shown as well";
    });
    InstallPicker(NULL);
}
