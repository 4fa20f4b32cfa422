// The soft-key page ("Settings3") and its link picker.
#include "tests/hosts/host_kit.h"
#include <commdlg.h>

namespace {

const HKEY CU = HKEY_CURRENT_USER;
const wchar_t kLeft[] = L"Software\\Microsoft\\Today\\Keys\\112";
const wchar_t kRight[] = L"Software\\Microsoft\\Today\\Keys\\113";
const wchar_t kPickerFolder[] = L"C:\\Windows\\Zelvo Rudore";
const wchar_t kPicker[] = L"C:\\Windows\\Zelvo Rudore\\getFiles.dll";

void ExpectFields(HWND page, const wchar_t *leftName, const wchar_t *leftTarget, const wchar_t *rightName,
                  const wchar_t *rightTarget)
{
    EXPECT_EQ(leftName, FieldText(page, IDC_SOFTKEY_LEFT_NAME));
    EXPECT_EQ(leftTarget, FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
    EXPECT_EQ(rightName, FieldText(page, IDC_SOFTKEY_RIGHT_NAME));
    EXPECT_EQ(rightTarget, FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
}

void SetFields(HWND page, const wchar_t *leftName, const wchar_t *leftTarget, const wchar_t *rightName,
               const wchar_t *rightTarget)
{
    SetField(page, IDC_SOFTKEY_LEFT_NAME, leftName);
    SetField(page, IDC_SOFTKEY_LEFT_TARGET, leftTarget);
    SetField(page, IDC_SOFTKEY_RIGHT_NAME, rightName);
    SetField(page, IDC_SOFTKEY_RIGHT_TARGET, rightTarget);
}

std::wstring Stored(const wchar_t *key, const wchar_t *name) { return RegTextOr(CU, key, name, L"missing"); }

// Environment variables through which the stand-in picker library answers and reports.
std::wstring Env(const wchar_t *name)
{
    wchar_t text[600] = L"";
    GetEnvironmentVariableW(name, text, 600);
    return text;
}

// Installs a file as the optional picker library for the scope of a test (a copy of
// `source`, or a file that is no library at all when it is empty), and removes it and
// what the stand-in left in the environment afterwards.
class PickerLibrary {
public:
    explicit PickerLibrary(const std::wstring &source)
    {
        CreateDirectoryW(kPickerFolder, NULL);
        if (!source.empty()) {
            installed_ = CopyFileW(source.c_str(), kPicker, FALSE) != FALSE;
        } else {
            HANDLE file = CreateFileW(kPicker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            DWORD written;
            installed_ = file != INVALID_HANDLE_VALUE && WriteFile(file, "MZ not a library", 16, &written, NULL);
            CloseHandle(file);
        }
        Forget();
    }
    ~PickerLibrary()
    {
        DeleteFileW(kPicker);
        RemoveDirectoryW(kPickerFolder);
        Forget();
    }
    bool installed() const { return installed_; }
    static int Calls() { return _wtoi(Env(L"ZR_GETFILES_CALLS").c_str()); }

private:
    static void Forget()
    {
        for (const wchar_t *name : {L"ZR_GETFILES_CALLS", L"ZR_GETFILES_SEEN", L"ZR_GETFILES_ANSWER", L"ZR_GETFILES_FILL"})
            SetEnvironmentVariableW(name, NULL);
    }
    bool installed_;
};

SimFileDialog LastFileDialog()
{
    SimFileDialog record = {};
    SimGetFileDialog(SimFileDialogCount() - 1, &record);
    return record;
}

class SoftKeyPageTest : public DeviceTest {};

}  // namespace

TEST_F(SoftKeyPageTest, OpeningMakesBothKeysAndShowsWhatIsStoredOrTheDefaults)
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) { ExpectFields(page, L"Calendar", L"", L"Contacts", L""); });
    EXPECT_TRUE(RegKeyExists(CU, kLeft));
    EXPECT_TRUE(RegKeyExists(CU, kRight));
    EXPECT_FALSE(RegValueExists(CU, kLeft, L"Default"));
    EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));

    // Values that are unusable (too long for 128 characters, without their null, of
    // another type) count as none; a target without a name shows the default name.
    const std::wstring longest(127, L'n');
    struct {
        const wchar_t *leftName, *leftTarget, *rightName;   // NULL: missing
        std::function<void()> spoil;
        const wchar_t *shownLeftName, *shownLeftTarget, *shownRightName;
    } cases[] = {
        {L"Notes", L"\\Windows\\notes.exe", L"Phone", nullptr, L"Notes", L"\\Windows\\notes.exe", L"Phone"},
        {NULL, L"\\Windows\\notes.exe", L"", nullptr, L"Calendar", L"\\Windows\\notes.exe", L"Contacts"},
        {longest.c_str(), L"\\Windows\\notes.exe", L"Phone", nullptr, longest.c_str(), L"\\Windows\\notes.exe", L"Phone"},
        {NULL, NULL, L"Phone", [] {
             WriteRegString(CU, kLeft, L"Default", std::wstring(128, L'n').c_str());
             WriteRegString(CU, kLeft, L"Open", (L"\\" + std::wstring(127, L't')).c_str());
         }, L"Calendar", L"", L"Phone"},
        {NULL, NULL, L"Phone", [] {
             WriteUnterminated(CU, kLeft, L"Default", L"Notes");
             WriteUnterminated(CU, kLeft, L"Open", L"\\Windows\\notes.exe");
         }, L"Calendar", L"", L"Phone"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        DeleteRegKey(CU, kLeft);
        DeleteRegKey(CU, kRight);
        if (c.leftName) WriteRegString(CU, kLeft, L"Default", c.leftName);
        if (c.leftTarget) WriteRegString(CU, kLeft, L"Open", c.leftTarget);
        WriteRegString(CU, kRight, L"Default", c.rightName);
        WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
        if (c.spoil) c.spoil();
        RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
            ExpectFields(page, c.shownLeftName, c.shownLeftTarget, c.shownRightName, L"\\Windows\\cprog.exe");
        });
    }
}

TEST_F(SoftKeyPageTest, OkStoresTheFieldsOrTheDefaultsAndEveryButtonLeavesTheRightValues)
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        SetFields(page, L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        Tap(page, IDC_SOFTKEY_RIGHT_STORE);
        EXPECT_EQ(L"Notes", Stored(kLeft, L"Default"));
        EXPECT_EQ(L"\\Windows\\notes.exe", Stored(kLeft, L"Open"));
        EXPECT_EQ(L"Phone", Stored(kRight, L"Default"));
        EXPECT_EQ(L"\\Windows\\cprog.exe", Stored(kRight, L"Open"));
        // A field left empty: the left key gets the Calendar with its fields left
        // alone, the right key loses both values.
        for (bool nameEmptied : {true, false}) {
            SCOPED_TRACE(nameEmptied ? "name empty" : "target empty");
            SetFields(page, L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe");
            SetField(page, nameEmptied ? IDC_SOFTKEY_LEFT_NAME : IDC_SOFTKEY_LEFT_TARGET, L"");
            SetField(page, nameEmptied ? IDC_SOFTKEY_RIGHT_NAME : IDC_SOFTKEY_RIGHT_TARGET, L"");
            WriteRegString(CU, kRight, L"Default", L"Phone");
            WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
            Tap(page, IDC_SOFTKEY_LEFT_STORE);
            Tap(page, IDC_SOFTKEY_RIGHT_STORE);
            EXPECT_EQ(L"Calendar", Stored(kLeft, L"Default"));
            EXPECT_EQ(L"\\Windows\\Calendar.exe", Stored(kLeft, L"Open"));
            EXPECT_EQ(L"", FieldText(page, nameEmptied ? IDC_SOFTKEY_LEFT_NAME : IDC_SOFTKEY_LEFT_TARGET));
            EXPECT_FALSE(RegValueExists(CU, kRight, L"Default"));
            EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));
        }
        // Once more with nothing to delete: no error, nothing written.
        Tap(page, IDC_SOFTKEY_RIGHT_STORE);
        EXPECT_FALSE(RegValueExists(CU, kRight, L"Default"));

        // "Default": stored and shown, each key on its own.
        SetFields(page, L"Other", L"", L"Phone", L"\\Windows\\cprog.exe");
        WriteRegString(CU, kLeft, L"Default", L"before");
        WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_LEFT_DEFAULT);
        EXPECT_EQ(L"Calendar", Stored(kLeft, L"Default"));
        EXPECT_EQ(L"\\Windows\\Calendar.exe", Stored(kLeft, L"Open"));
        ExpectFields(page, L"Calendar", L"\\Windows\\Calendar.exe", L"Phone", L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_RIGHT_DEFAULT);
        EXPECT_EQ(L"Contacts", Stored(kRight, L"Default"));
        EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));
        ExpectFields(page, L"Calendar", L"\\Windows\\Calendar.exe", L"Contacts", L"");
        EXPECT_EQ(L"Calendar", Stored(kLeft, L"Default")) << "a right button touched the left key";
    });
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, L"Calendar", L"\\Windows\\Calendar.exe", L"Contacts", L"");
    });
}

TEST_F(SoftKeyPageTest, LongFieldsAreStoredCutTo255Characters)
{
    const std::wstring name(300, L'n');
    const std::wstring target = L"\\" + std::wstring(299, L't');
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
        SetFields(page, name.c_str(), target.c_str(), name.c_str(), target.c_str());
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        Tap(page, IDC_SOFTKEY_RIGHT_STORE);
        // Typing stops at 255 characters.
        HWND field = GetDlgItem(page, IDC_SOFTKEY_RIGHT_TARGET);
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, target.substr(0, 255).c_str());
        SendMessageW(field, EM_SETSEL, 255, 255);
        SendMessageW(field, WM_CHAR, L'z', 0);
        EXPECT_EQ(target.substr(0, 255), FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
    });
    for (const wchar_t *key : {kLeft, kRight}) {
        EXPECT_EQ(name.substr(0, 255), Stored(key, L"Default"));
        EXPECT_EQ(target.substr(0, 255), Stored(key, L"Open"));
    }
}

TEST_F(SoftKeyPageTest, AKeyThatCannotBeOpenedStopsTheOpeningAndEveryButtonWritesNothing)
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
    {
        // The left key cannot be opened: neither key is shown.
        KeyLockout left(CU, kLeft), right(CU, kRight);
        ASSERT_TRUE(left.locked() && right.locked());
        RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
            ExpectFields(page, L"", L"", L"", L"");
            SetFields(page, L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe");
            for (UINT button : {IDC_SOFTKEY_LEFT_STORE, IDC_SOFTKEY_LEFT_DEFAULT, IDC_SOFTKEY_RIGHT_STORE,
                                IDC_SOFTKEY_RIGHT_DEFAULT})
                Tap(page, button);
            EXPECT_EQ(0, SimMessageBoxCount());
            // The "Default" buttons show their defaults only once stored.
            ExpectFields(page, L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe");
        });
    }
    for (const wchar_t *key : {kLeft, kRight})
        for (const wchar_t *name : {L"Default", L"Open"}) EXPECT_FALSE(RegValueExists(CU, key, name));
    // Only the right key cannot be opened: the left one is shown, the right one is not.
    KeyLockout right(CU, kRight);
    ASSERT_TRUE(right.locked());
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) { ExpectFields(page, L"Calendar", L"", L"", L""); });
}

TEST_F(SoftKeyPageTest, WithoutThePickerLibraryThePlatformDialogPicksAndNothingIsStored)
{
    DeleteFileW(kPicker);
    WriteRegString(CU, kLeft, L"Default", L"Stored");
    WriteRegString(CU, kLeft, L"Open", L"\\Windows\\stored.exe");
    DeleteRegKey(CU, kRight);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ASSERT_EQ(dialogs + 1, SimFileDialogCount());
        SimFileDialog asked = LastFileDialog();
        EXPECT_FALSE(asked.save);
        EXPECT_EQ(page, asked.owner);
        EXPECT_STREQ(L"Select link", asked.title);
        EXPECT_STREQ(L"\\Windows", asked.initialDir);
        EXPECT_STREQ(L"(*.exe)|*.exe|", asked.filter);
        EXPECT_EQ((DWORD)MAX_PATH, asked.maxFile);
        EXPECT_EQ((DWORD)(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY), asked.flags);
        EXPECT_EQ(L"\\Windows\\Calendar.exe", FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        EXPECT_EQ(L"Calendar", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        // Picked, not stored.
        EXPECT_EQ(L"Stored", Stored(kLeft, L"Default"));
        EXPECT_EQ(L"\\Windows\\stored.exe", Stored(kLeft, L"Open"));

        // The name is the file name up to its first dot; a dot in a folder gives none.
        struct {
            const wchar_t *path, *name;
        } names[] = {
            {L"\\Program Files\\Tools\\pocket.notes.exe", L"pocket"},
            {L"\\Program Files\\My.App\\Tool.exe", L""},
            {L"\\Windows\\tool", L"tool"},
            {L"Loose.exe", L"Loose"},
            {L"\\Windows\\.hidden", L""},
        };
        for (const auto &c : names) {
            SimQueueFileDialogAnswer(c.path);
            Tap(page, IDC_SOFTKEY_RIGHT_PICK);
            EXPECT_EQ(c.path, FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
            EXPECT_EQ(c.name, FieldText(page, IDC_SOFTKEY_RIGHT_NAME)) << c.path;
        }
        EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));

        // Cancelled: both fields of that key go empty; the other key's stay.
        SimQueueFileDialogAnswer(NULL);
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        ExpectFields(page, L"", L"", L"", L"\\Windows\\.hidden");
        // "OK" stores what was picked.
        SimQueueFileDialogAnswer(L"\\Windows\\pword.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        EXPECT_EQ(L"pword", Stored(kLeft, L"Default"));
        EXPECT_EQ(L"\\Windows\\pword.exe", Stored(kLeft, L"Open"));
    });
}

TEST_F(SoftKeyPageTest, PickedPathsTooLongForTheFieldsAreCutSafely)
{
    DeleteFileW(kPicker);
    // 258 characters fit the picker's buffer but not a field.
    const std::wstring folder = L"\\" + std::wstring(248, L'f');
    const std::wstring path = folder + L"\\Prog.exe";
    ASSERT_EQ(258u, path.size());
    RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
        SimQueueFileDialogAnswer(path.c_str());
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(path.substr(0, 255), FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        EXPECT_EQ(L"Prog", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        EXPECT_EQ(path.substr(0, 255), Stored(kLeft, L"Open"));
        // Longer than the picker's own buffer: the dialog refuses it, as a cancel.
        SimQueueFileDialogAnswer((folder + L"\\" + std::wstring(20, L'p') + L".exe").c_str());
        Tap(page, IDC_SOFTKEY_RIGHT_PICK);
        EXPECT_TRUE(LastFileDialog().cancelled);
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_RIGHT_NAME));
    });
}

TEST_F(SoftKeyPageTest, ThePickerLibraryIsUsedInsteadOfThePlatformDialogAndFreedEachTime)
{
    PickerLibrary library(PathBesideTests(L"test_getfiles.dll"));
    ASSERT_TRUE(library.installed());
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        int dialogs = SimFileDialogCount();
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", L"\\Program Files\\Notes\\notes.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(1, PickerLibrary::Calls());
        EXPECT_EQ(L"Select link|\\Windows|(*.exe)|260", Env(L"ZR_GETFILES_SEEN"));
        EXPECT_EQ(L"\\Program Files\\Notes\\notes.exe", FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        EXPECT_EQ(L"notes", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL) << "the library stays loaded";
        // The library's cancel empties the fields.
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", NULL);
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(2, PickerLibrary::Calls());
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        // A library that leaves its buffer full and unterminated does not run the page over it.
        SetEnvironmentVariableW(L"ZR_GETFILES_FILL", L"1");
        Tap(page, IDC_SOFTKEY_RIGHT_PICK);
        EXPECT_EQ(3, PickerLibrary::Calls());
        EXPECT_EQ(std::wstring(255, L'x'), FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
        EXPECT_EQ(std::wstring(255, L'x'), FieldText(page, IDC_SOFTKEY_RIGHT_NAME));
        EXPECT_EQ(dialogs, SimFileDialogCount()) << "the platform dialog was shown as well";
        EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL);
    });
}

TEST_F(SoftKeyPageTest, AnUnusablePickerLibraryLeavesThePickToThePlatformDialog)
{
    // One without the export, and a file that is no library.
    for (const std::wstring &source : {PathBesideTests(L"test_getfiles_other.dll"), std::wstring()}) {
        SCOPED_TRACE(source.empty() ? "not a library" : "without the export");
        PickerLibrary library(source);
        ASSERT_TRUE(library.installed());
        RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
            int dialogs = SimFileDialogCount();
            SimQueueFileDialogAnswer(L"\\Windows\\Calendar.exe");
            Tap(page, IDC_SOFTKEY_LEFT_PICK);
            ASSERT_EQ(dialogs + 1, SimFileDialogCount());
            EXPECT_STREQ(L"Select link", LastFileDialog().title);
            EXPECT_EQ(L"Calendar", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
            EXPECT_EQ(0, PickerLibrary::Calls());
            EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL);
        });
    }
}
