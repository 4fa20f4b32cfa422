// The soft-key page ("Settings3") and its link picker.
#include "tests/hosts/host_kit.h"

namespace {

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
std::wstring Stored(const wchar_t *key)
{
    return RegTextOr(CU, key, L"Default", L"missing") + L"|" + RegTextOr(CU, key, L"Open", L"missing");
}

// What the stand-in picker library reported through the environment.
std::wstring Reported(const wchar_t *name)
{
    wchar_t text[600] = L"";
    GetEnvironmentVariableW(name, text, 600);
    return text;
}

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

class SoftKeyPageTest : public DeviceTest {
    void TearDown() override
    {
        InstallPicker(NULL);
        DeviceTest::TearDown();
    }
};

}  // namespace

TEST_F(SoftKeyPageTest, OpeningShowsTheStoredOrTheDefaultsAndOkOrDefaultStoreThem)
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, {L"Calendar", L"", L"Contacts", L""});
        EXPECT_EQ(L"missing|missing", Stored(kLeft));
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
    // 255 characters are read, 256 count as none; an empty name shows the default.
    WriteRegString(CU, kRight, L"Default", L"");
    WriteRegString(CU, kRight, L"Open", (t255 + L"t").c_str());
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) { ExpectFields(page, {n255, t255, L"Contacts", L""}); });
}

TEST_F(SoftKeyPageTest, WithoutThePickerLibraryThePlatformDialogPicksAndNothingIsStored)
{
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
        const wchar_t *picks[][2] = {{L"\\Program Files\\Tools\\pocket.notes.exe", L"pocket"},
                                     {L"\\Program Files\\My.App\\Tool.exe", L""}, {NULL, L""}};
        for (auto &pick : picks) {
            SimQueueFileDialogAnswer(pick[0]);
            Tap(page, IDC_SOFTKEY_RIGHT_PICK);
            ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", pick[1], pick[0] ? pick[0] : L""});
        }
        // 258 characters fit the picker's buffer but not a field: cut safely, the name
        // taken from the whole path; "OK" then stores what was picked.
        const std::wstring path = L"\\" + std::wstring(248, L'f') + L"\\Prog.exe";
        SimQueueFileDialogAnswer(path.c_str());
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, {L"Prog", path.substr(0, 255)});
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        EXPECT_EQ(L"Prog|" + path.substr(0, 255), Stored(kLeft));
    });
}

TEST_F(SoftKeyPageTest, ThePickerLibraryIsUsedInsteadOfThePlatformDialogAndFreedEachTime)
{
    ASSERT_TRUE(InstallPicker(L"test_getfiles.dll"));
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
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
        EXPECT_EQ(0, SimFileDialogCount()) << "the platform dialog was shown as well";
    });
    // A library without the picker's export leaves the pick to the platform dialog.
    ASSERT_TRUE(InstallPicker(L"test_getfiles_other.dll"));
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(1, SimFileDialogCount());
        EXPECT_EQ(L"Calendar", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_EQ(L"", Reported(L"ZR_GETFILES_CALLS"));
    });
}
