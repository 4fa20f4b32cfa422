// The soft-key page ("Settings3") and its link picker.
#include "tests/hosts/host_kit.h"
#include <commdlg.h>

namespace {

const wchar_t kLeft[] = L"Software\\Microsoft\\Today\\Keys\\112";
const wchar_t kRight[] = L"Software\\Microsoft\\Today\\Keys\\113";
const wchar_t kPickerFolder[] = L"C:\\Windows\\Zelvo Rudore";
const wchar_t kPicker[] = L"C:\\Windows\\Zelvo Rudore\\getFiles.dll";
const UINT kFields[] = {IDC_SOFTKEY_LEFT_NAME, IDC_SOFTKEY_LEFT_TARGET, IDC_SOFTKEY_RIGHT_NAME, IDC_SOFTKEY_RIGHT_TARGET};

// The left name and target, then the right ones.
void ExpectFields(HWND page, std::initializer_list<const wchar_t *> texts)
{
    const UINT *field = kFields;
    for (const wchar_t *text : texts) EXPECT_EQ(text, FieldText(page, *field++)) << "field " << field[-1];
}

void SetFields(HWND page, std::initializer_list<const wchar_t *> texts)
{
    const UINT *field = kFields;
    for (const wchar_t *text : texts) SetField(page, *field++, text);
}

void StoreBoth(HWND page)
{
    Tap(page, IDC_SOFTKEY_LEFT_STORE);
    Tap(page, IDC_SOFTKEY_RIGHT_STORE);
}

std::wstring Stored(const wchar_t *key, const wchar_t *name) { return RegTextOr(CU, key, name, L"missing"); }

void ExpectStored(const wchar_t *key, const std::wstring &name, const std::wstring &target)
{
    EXPECT_EQ(name, Stored(key, L"Default")) << key;
    EXPECT_EQ(target, Stored(key, L"Open")) << key;
}

void ForgetBothKeys()
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
}

// What the stand-in picker library reported through the environment.
std::wstring Env(const wchar_t *name)
{
    wchar_t text[600] = L"";
    GetEnvironmentVariableW(name, text, 600);
    return text;
}

// A copy of a stand-in as the optional picker library, for a scope.
struct PickerLibrary {
    bool installed;
    explicit PickerLibrary(const wchar_t *standIn)
    {
        CreateDirectoryW(kPickerFolder, NULL);
        installed = CopyFileW(PathBesideTests(standIn).c_str(), kPicker, FALSE) != FALSE;
        Forget();
    }
    ~PickerLibrary()
    {
        DeleteFileW(kPicker);
        RemoveDirectoryW(kPickerFolder);
        Forget();
    }
    static void Forget()
    {
        for (const wchar_t *name : {L"ZR_GETFILES_CALLS", L"ZR_GETFILES_SEEN", L"ZR_GETFILES_ANSWER", L"ZR_GETFILES_FILL"})
            SetEnvironmentVariableW(name, NULL);
    }
};

class SoftKeyPageTest : public DeviceTest {};

}  // namespace

TEST_F(SoftKeyPageTest, OpeningMakesBothKeysAndShowsWhatIsStoredOrTheDefaults)
{
    ForgetBothKeys();
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) { ExpectFields(page, {L"Calendar", L"", L"Contacts", L""}); });
    EXPECT_TRUE(RegKeyExists(CU, kLeft));
    EXPECT_TRUE(RegKeyExists(CU, kRight));
    EXPECT_FALSE(RegValueExists(CU, kLeft, L"Default"));

    // 255 characters are read, 256 count as none; an empty name shows the default.
    const std::wstring longest(255, L'n');
    WriteRegString(CU, kLeft, L"Default", longest.c_str());
    WriteRegString(CU, kLeft, L"Open", L"\\Windows\\notes.exe");
    WriteRegString(CU, kRight, L"Default", L"");
    WriteRegString(CU, kRight, L"Open", (L"\\" + std::wstring(255, L't')).c_str());
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
        ExpectFields(page, {longest.c_str(), L"\\Windows\\notes.exe", L"Contacts", L""});
    });
}

TEST_F(SoftKeyPageTest, OkStoresTheFieldsOrTheDefaultsAndEveryButtonLeavesTheRightValues)
{
    ForgetBothKeys();
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        SetFields(page, {L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe"});
        StoreBoth(page);
        ExpectStored(kLeft, L"Notes", L"\\Windows\\notes.exe");
        ExpectStored(kRight, L"Phone", L"\\Windows\\cprog.exe");
        // A field left empty: the left key gets the Calendar with its fields left
        // alone, the right key loses both values.
        SetFields(page, {L"Notes", L"", L"", L"\\Windows\\cprog.exe"});
        StoreBoth(page);
        ExpectStored(kLeft, L"Calendar", L"\\Windows\\Calendar.exe");
        ExpectFields(page, {L"Notes", L""});
        ExpectStored(kRight, L"missing", L"missing");

        // "Default": stored and shown, each key on its own.
        SetFields(page, {L"Other", L"", L"Phone", L"\\Windows\\cprog.exe"});
        ForgetBothKeys();
        WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_LEFT_DEFAULT);
        ExpectStored(kLeft, L"Calendar", L"\\Windows\\Calendar.exe");
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", L"Phone", L"\\Windows\\cprog.exe"});
        Tap(page, IDC_SOFTKEY_RIGHT_DEFAULT);
        ExpectStored(kRight, L"Contacts", L"missing");
        ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", L"Contacts", L""});
    });
    // Fields longer than they hold (set, not typed) are stored cut to 255 characters.
    const std::wstring name(300, L'n'), target = L"\\" + std::wstring(299, L't');
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
        SetFields(page, {name.c_str(), target.c_str(), name.c_str(), target.c_str()});
        StoreBoth(page);
    });
    for (const wchar_t *key : {kLeft, kRight}) {
        ExpectStored(key, name.substr(0, 255), target.substr(0, 255));
    }
    // What OK stored shows again, so a later OK does not overwrite it with defaults.
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
        ExpectFields(page, {name.substr(0, 255).c_str(), target.substr(0, 255).c_str(), name.substr(0, 255).c_str(),
                            target.substr(0, 255).c_str()});
    });
}

TEST_F(SoftKeyPageTest, AKeyThatCannotBeOpenedStopsTheOpeningAndEveryButtonWritesNothing)
{
    ForgetBothKeys();
    {
        KeyLockout left(CU, kLeft), right(CU, kRight);
        ASSERT_TRUE(left.locked() && right.locked());
        RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
            ExpectFields(page, {L"", L"", L"", L""});
            SetFields(page, {L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe"});
            for (UINT button : {IDC_SOFTKEY_LEFT_STORE, IDC_SOFTKEY_LEFT_DEFAULT, IDC_SOFTKEY_RIGHT_STORE,
                                IDC_SOFTKEY_RIGHT_DEFAULT})
                Tap(page, button);
            EXPECT_EQ(0, SimMessageBoxCount());
            // The "Default" buttons show their defaults only once stored.
            ExpectFields(page, {L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe"});
        });
    }
    for (const wchar_t *key : {kLeft, kRight}) ExpectStored(key, L"missing", L"missing");
}

TEST_F(SoftKeyPageTest, WithoutThePickerLibraryThePlatformDialogPicksAndNothingIsStored)
{
    DeleteFileW(kPicker);
    WriteRegString(CU, kLeft, L"Open", L"\\Windows\\stored.exe");
    DeleteRegKey(CU, kRight);
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
        EXPECT_EQ(L"\\Windows\\stored.exe", Stored(kLeft, L"Open")) << "picked, not stored";

        // The name is the file name up to its first dot; a dot in a folder gives none.
        struct {
            const wchar_t *path, *name;
        } names[] = {
            {L"\\Program Files\\Tools\\pocket.notes.exe", L"pocket"},
            {L"\\Program Files\\My.App\\Tool.exe", L""},
        };
        for (const auto &c : names) {
            SimQueueFileDialogAnswer(c.path);
            Tap(page, IDC_SOFTKEY_RIGHT_PICK);
            ExpectFields(page, {L"Calendar", L"\\Windows\\Calendar.exe", c.name, c.path});
        }
        // Cancelled: both fields of that key go empty; "OK" then stores what was picked.
        SimQueueFileDialogAnswer(NULL);
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, {L"", L"", L"", L"\\Program Files\\My.App\\Tool.exe"});
        SimQueueFileDialogAnswer(L"\\Windows\\pword.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        ExpectStored(kLeft, L"pword", L"\\Windows\\pword.exe");
        // 258 characters fit the picker's buffer but not a field: cut safely, the name
        // taken from the whole path.
        const std::wstring path = L"\\" + std::wstring(248, L'f') + L"\\Prog.exe";
        SimQueueFileDialogAnswer(path.c_str());
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, {L"Prog", path.substr(0, 255).c_str()});
    });
}

TEST_F(SoftKeyPageTest, ThePickerLibraryIsUsedInsteadOfThePlatformDialogAndFreedEachTime)
{
    PickerLibrary library(L"test_getfiles.dll");
    ASSERT_TRUE(library.installed);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", L"\\Program Files\\Notes\\notes.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(1, _wtoi(Env(L"ZR_GETFILES_CALLS").c_str()));
        EXPECT_EQ(L"Select link|\\Windows|(*.exe)|260", Env(L"ZR_GETFILES_SEEN"));
        ExpectFields(page, {L"notes", L"\\Program Files\\Notes\\notes.exe"});
        EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL) << "the library stays loaded";
        // The library's cancel empties the fields.
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", NULL);
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, {L"", L""});
        // A library that leaves its buffer full and unterminated does not run the page over it.
        SetEnvironmentVariableW(L"ZR_GETFILES_FILL", L"1");
        Tap(page, IDC_SOFTKEY_RIGHT_PICK);
        EXPECT_EQ(3, _wtoi(Env(L"ZR_GETFILES_CALLS").c_str()));
        const std::wstring filled(255, L'x');
        ExpectFields(page, {L"", L"", filled.c_str(), filled.c_str()});
        EXPECT_EQ(dialogs, SimFileDialogCount()) << "the platform dialog was shown as well";
    });
    // A library without the picker's export leaves the pick to the platform dialog.
    PickerLibrary other(L"test_getfiles_other.dll");
    ASSERT_TRUE(other.installed);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(dialogs + 1, SimFileDialogCount());
        EXPECT_EQ(L"Calendar", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_EQ(0, _wtoi(Env(L"ZR_GETFILES_CALLS").c_str()));
        EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL);
    });
}
