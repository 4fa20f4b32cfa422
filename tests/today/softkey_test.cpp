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

void SetFields(HWND page, std::initializer_list<std::wstring> texts)
{
    const UINT *field = kFields;
    for (const std::wstring &text : texts) SetField(page, *field++, text.c_str());
}

void ExpectStored(const wchar_t *key, const std::wstring &name, const std::wstring &target)
{
    EXPECT_EQ(name, RegTextOr(CU, key, L"Default", L"missing")) << key;
    EXPECT_EQ(target, RegTextOr(CU, key, L"Open", L"missing")) << key;
}

void StoreBoth(HWND page)
{
    Tap(page, IDC_SOFTKEY_LEFT_STORE);
    Tap(page, IDC_SOFTKEY_RIGHT_STORE);
}

// What the stand-in picker library reported through the environment.
int PickerCalls()
{
    wchar_t text[16] = L"";
    GetEnvironmentVariableW(L"ZR_GETFILES_CALLS", text, 16);
    return _wtoi(text);
}

// Installs a stand-in as the optional picker library, or (NULL) removes it.
bool InstallPicker(const wchar_t *standIn)
{
    for (const wchar_t *name : {L"ZR_GETFILES_CALLS", L"ZR_GETFILES_SEEN", L"ZR_GETFILES_ANSWER", L"ZR_GETFILES_FILL"})
        SetEnvironmentVariableW(name, NULL);
    DeleteFileW(kPicker);
    if (!standIn) return true;
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
        ExpectStored(kLeft, L"missing", L"missing");
        SetFields(page, {L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe"});
        StoreBoth(page);
        ExpectStored(kLeft, L"Notes", L"\\Windows\\notes.exe");
        ExpectStored(kRight, L"Phone", L"\\Windows\\cprog.exe");
        // One field of a key left empty: the left key gets the Calendar with its fields
        // left alone, the right key loses both values.
        SetFields(page, {L"Notes", L"", L"", L"\\Windows\\cprog.exe"});
        StoreBoth(page);
        ExpectStored(kLeft, L"Calendar", L"\\Windows\\Calendar.exe");
        ExpectFields(page, {L"Notes", L""});
        ExpectStored(kRight, L"missing", L"missing");
        // "Default": stored and shown, each key on its own.
        SetFields(page, {L"Other", L"", L"Phone", L"\\Windows\\cprog.exe"});
        DeleteRegKey(CU, kLeft);
        WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_LEFT_DEFAULT);
        ExpectStored(kLeft, L"Calendar", L"\\Windows\\Calendar.exe");
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", L"Phone", L"\\Windows\\cprog.exe"});
        Tap(page, IDC_SOFTKEY_RIGHT_DEFAULT);
        ExpectStored(kRight, L"Contacts", L"missing");
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", L"Contacts", L""});
        // Fields longer than they hold (set, not typed) are stored cut to 255 characters.
        SetFields(page, {std::wstring(300, L'n'), std::wstring(300, L't'), std::wstring(300, L'n'), std::wstring(300, L't')});
        StoreBoth(page);
    });
    for (const wchar_t *key : {kLeft, kRight}) ExpectStored(key, std::wstring(255, L'n'), std::wstring(255, L't'));
    // 255 characters are read, 256 count as none; an empty name shows the default.
    WriteRegString(CU, kRight, L"Default", L"");
    WriteRegString(CU, kRight, L"Open", std::wstring(256, L't').c_str());
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, {std::wstring(255, L'n'), std::wstring(255, L't'), L"Contacts", L""});
    });
}

TEST_F(SoftKeyPageTest, WithoutThePickerLibraryThePlatformDialogPicksAndNothingIsStored)
{
    DeleteRegKey(CU, kLeft);
    WriteRegString(CU, kLeft, L"Open", L"\\Windows\\stored.exe");
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ASSERT_EQ(dialogs + 1, SimFileDialogCount());
        SimFileDialog asked = {};
        SimGetFileDialog(dialogs, &asked);
        EXPECT_FALSE(asked.save);
        EXPECT_EQ(page, asked.owner);
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe"});
        ExpectStored(kLeft, L"missing", L"\\Windows\\stored.exe");
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
        ExpectStored(kLeft, L"Prog", path.substr(0, 255));
    });
}

TEST_F(SoftKeyPageTest, ThePickerLibraryIsUsedInsteadOfThePlatformDialogAndFreedEachTime)
{
    ASSERT_TRUE(InstallPicker(L"test_getfiles.dll"));
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", L"\\Program Files\\Notes\\notes.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        wchar_t seen[600] = L"";
        GetEnvironmentVariableW(L"ZR_GETFILES_SEEN", seen, 600);
        EXPECT_STREQ(L"Select link|\\Windows|(*.exe)|260", seen);
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
        EXPECT_EQ(3, PickerCalls());
        EXPECT_EQ(dialogs, SimFileDialogCount()) << "the platform dialog was shown as well";
    });
    // A library without the picker's export leaves the pick to the platform dialog.
    ASSERT_TRUE(InstallPicker(L"test_getfiles_other.dll"));
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(dialogs + 1, SimFileDialogCount());
        EXPECT_EQ(L"Calendar", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_EQ(0, PickerCalls());
    });
}
