// The soft-key page ("Settings3") and its link picker.
#include "tests/today/today_kit.h"
#include <commdlg.h>

namespace {

const HKEY CU = HKEY_CURRENT_USER;
const wchar_t kKeys[] = L"Software\\Microsoft\\Today\\Keys";
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

// Installs a file as the optional picker library for the scope of a test, and
// removes it (and what the stand-in left in the environment) afterwards.
class PickerLibrary {
public:
    explicit PickerLibrary(const std::wstring &source)
    {
        CreateDirectoryW(kPickerFolder, NULL);
        installed_ = CopyFileW(source.c_str(), kPicker, FALSE) != FALSE;
        Forget();
    }
    // A file that is no library at all.
    PickerLibrary()
    {
        CreateDirectoryW(kPickerFolder, NULL);
        HANDLE file = CreateFileW(kPicker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        installed_ = file != INVALID_HANDLE_VALUE;
        DWORD written;
        if (installed_) WriteFile(file, "MZ not a library", 16, &written, NULL);
        CloseHandle(file);
        Forget();
    }
    ~PickerLibrary()
    {
        DeleteFileW(kPicker);
        RemoveDirectoryW(kPickerFolder);
        Forget();
        SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", NULL);
        SetEnvironmentVariableW(L"ZR_GETFILES_FILL", NULL);
    }
    bool installed() const { return installed_; }
    static void Answer(const wchar_t *path) { SetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", path); }
    static int Calls()
    {
        wchar_t count[16] = L"0";
        GetEnvironmentVariableW(L"ZR_GETFILES_CALLS", count, 16);
        return _wtoi(count);
    }
    static std::wstring Seen()
    {
        wchar_t seen[600] = L"";
        GetEnvironmentVariableW(L"ZR_GETFILES_SEEN", seen, 600);
        return seen;
    }

private:
    static void Forget()
    {
        SetEnvironmentVariableW(L"ZR_GETFILES_CALLS", NULL);
        SetEnvironmentVariableW(L"ZR_GETFILES_SEEN", NULL);
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
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, L"Calendar", L"", L"Contacts", L"");
        EXPECT_EQ(L"Left Bottom Key", FieldText(page, IDC_SOFTKEY_LEFT_LABEL));
        EXPECT_EQ(L"Right Bottom Key", FieldText(page, IDC_SOFTKEY_RIGHT_LABEL));
    });
    EXPECT_TRUE(RegKeyExists(CU, kLeft));
    EXPECT_TRUE(RegKeyExists(CU, kRight));
    EXPECT_FALSE(RegValueExists(CU, kLeft, L"Default"));
    EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));

    WriteRegString(CU, kLeft, L"Default", L"Notes");
    WriteRegString(CU, kLeft, L"Open", L"\\Windows\\notes.exe");
    WriteRegString(CU, kRight, L"Default", L"Phone");
    WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe");
    });
    // A target without a name shows the default name beside it.
    DeleteRegValue(CU, kLeft, L"Default");
    WriteRegString(CU, kRight, L"Default", L"");
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, L"Calendar", L"\\Windows\\notes.exe", L"Contacts", L"\\Windows\\cprog.exe");
    });
}

TEST_F(SoftKeyPageTest, UnusableStoredValuesCountAsNone)
{
    const std::wstring longest(127, L'n');
    struct {
        const char *what;
        std::function<void()> store;
        const wchar_t *leftName, *leftTarget;
    } cases[] = {
        {"128 characters", [] {
             WriteRegString(CU, kLeft, L"Default", std::wstring(128, L'n').c_str());
             WriteRegString(CU, kLeft, L"Open", (L"\\" + std::wstring(127, L't')).c_str());
         }, L"Calendar", L""},
        {"no null", [] {
             WriteUnterminated(CU, kLeft, L"Default", L"Notes");
             WriteUnterminated(CU, kLeft, L"Open", L"\\Windows\\notes.exe");
         }, L"Calendar", L""},
        {"other types", [] {
             WriteTextOfType(CU, kLeft, L"Default", REG_EXPAND_SZ, L"Notes");
             WriteRegDword(CU, kLeft, L"Open", 1);
         }, L"Calendar", L""},
        {"127 characters fit", [&] {
             WriteRegString(CU, kLeft, L"Default", longest.c_str());
             WriteRegString(CU, kLeft, L"Open", L"\\Windows\\notes.exe");
         }, longest.c_str(), L"\\Windows\\notes.exe"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        DeleteRegKey(CU, kLeft);
        c.store();
        RunTodayPage(TAB_SOFT_KEYS, [&](HWND page) {
            EXPECT_EQ(c.leftName, FieldText(page, IDC_SOFTKEY_LEFT_NAME));
            EXPECT_EQ(c.leftTarget, FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        });
    }
}

TEST_F(SoftKeyPageTest, OkStoresTheFieldsOrTheDefaultsAndEveryButtonLeavesTheRightValues)
{
    DeleteRegKey(CU, kLeft);
    DeleteRegKey(CU, kRight);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        // Left: both fields stored as they are.
        SetField(page, IDC_SOFTKEY_LEFT_NAME, L"Notes");
        SetField(page, IDC_SOFTKEY_LEFT_TARGET, L"\\Windows\\notes.exe");
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        EXPECT_EQ(L"Notes", RegTextOr(CU, kLeft, L"Default", L"missing"));
        EXPECT_EQ(L"\\Windows\\notes.exe", RegTextOr(CU, kLeft, L"Open", L"missing"));
        // Left with a field empty: the Calendar, with the fields left alone.
        for (int emptied : {IDC_SOFTKEY_LEFT_NAME, IDC_SOFTKEY_LEFT_TARGET}) {
            SetField(page, IDC_SOFTKEY_LEFT_NAME, L"Notes");
            SetField(page, IDC_SOFTKEY_LEFT_TARGET, L"\\Windows\\notes.exe");
            WriteRegString(CU, kLeft, L"Default", L"before");
            SetField(page, emptied, L"");
            Tap(page, IDC_SOFTKEY_LEFT_STORE);
            EXPECT_EQ(L"Calendar", RegTextOr(CU, kLeft, L"Default", L"missing"));
            EXPECT_EQ(L"\\Windows\\Calendar.exe", RegTextOr(CU, kLeft, L"Open", L"missing"));
            EXPECT_EQ(L"", FieldText(page, emptied));
        }
        // Left "Default": stored and shown.
        SetField(page, IDC_SOFTKEY_LEFT_NAME, L"Other");
        SetField(page, IDC_SOFTKEY_LEFT_TARGET, L"");
        WriteRegString(CU, kLeft, L"Default", L"before");
        Tap(page, IDC_SOFTKEY_LEFT_DEFAULT);
        EXPECT_EQ(L"Calendar", RegTextOr(CU, kLeft, L"Default", L"missing"));
        EXPECT_EQ(L"\\Windows\\Calendar.exe", RegTextOr(CU, kLeft, L"Open", L"missing"));
        EXPECT_EQ(L"Calendar", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_EQ(L"\\Windows\\Calendar.exe", FieldText(page, IDC_SOFTKEY_LEFT_TARGET));

        // Right: both fields stored.
        SetField(page, IDC_SOFTKEY_RIGHT_NAME, L"Phone");
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_RIGHT_STORE);
        EXPECT_EQ(L"Phone", RegTextOr(CU, kRight, L"Default", L"missing"));
        EXPECT_EQ(L"\\Windows\\cprog.exe", RegTextOr(CU, kRight, L"Open", L"missing"));
        // Right with a field empty: both values go.
        for (int emptied : {IDC_SOFTKEY_RIGHT_NAME, IDC_SOFTKEY_RIGHT_TARGET}) {
            WriteRegString(CU, kRight, L"Default", L"Phone");
            WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
            SetField(page, IDC_SOFTKEY_RIGHT_NAME, L"Phone");
            SetField(page, IDC_SOFTKEY_RIGHT_TARGET, L"\\Windows\\cprog.exe");
            SetField(page, emptied, L"");
            Tap(page, IDC_SOFTKEY_RIGHT_STORE);
            EXPECT_FALSE(RegValueExists(CU, kRight, L"Default"));
            EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));
        }
        // Once more with nothing to delete: no error, nothing written.
        Tap(page, IDC_SOFTKEY_RIGHT_STORE);
        EXPECT_FALSE(RegValueExists(CU, kRight, L"Default"));
        // Right "Default": "Contacts" and no target.
        WriteRegString(CU, kRight, L"Open", L"\\Windows\\cprog.exe");
        SetField(page, IDC_SOFTKEY_RIGHT_NAME, L"Phone");
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, L"\\Windows\\cprog.exe");
        Tap(page, IDC_SOFTKEY_RIGHT_DEFAULT);
        EXPECT_EQ(L"Contacts", RegTextOr(CU, kRight, L"Default", L"missing"));
        EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));
        EXPECT_EQ(L"Contacts", FieldText(page, IDC_SOFTKEY_RIGHT_NAME));
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
        // The left key was not touched by any right button.
        EXPECT_EQ(L"Calendar", RegTextOr(CU, kLeft, L"Default", L"missing"));
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
        SetField(page, IDC_SOFTKEY_LEFT_NAME, name.c_str());
        SetField(page, IDC_SOFTKEY_LEFT_TARGET, target.c_str());
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        SetField(page, IDC_SOFTKEY_RIGHT_NAME, name.c_str());
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, target.c_str());
        Tap(page, IDC_SOFTKEY_RIGHT_STORE);
        // Typing stops at 255 characters.
        HWND field = GetDlgItem(page, IDC_SOFTKEY_RIGHT_TARGET);
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, target.substr(0, 255).c_str());
        SendMessageW(field, EM_SETSEL, 255, 255);
        SendMessageW(field, WM_CHAR, L'z', 0);
        EXPECT_EQ(target.substr(0, 255), FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
    });
    for (const wchar_t *key : {kLeft, kRight}) {
        EXPECT_EQ(name.substr(0, 255), RegTextOr(CU, key, L"Default", L"missing"));
        EXPECT_EQ(target.substr(0, 255), RegTextOr(CU, key, L"Open", L"missing"));
    }
}

TEST_F(SoftKeyPageTest, AKeyThatCannotBeMadeStopsTheOpeningAndEveryButtonWritesNothing)
{
    // The left key cannot be made: neither key is shown.
    RefuseNewKeysUnder(CU, kKeys);
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        ExpectFields(page, L"", L"", L"", L"");
        SetField(page, IDC_SOFTKEY_LEFT_NAME, L"Notes");
        SetField(page, IDC_SOFTKEY_LEFT_TARGET, L"\\Windows\\notes.exe");
        SetField(page, IDC_SOFTKEY_RIGHT_NAME, L"Phone");
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, L"\\Windows\\cprog.exe");
        int boxes = SimMessageBoxCount();
        for (UINT button : {IDC_SOFTKEY_LEFT_STORE, IDC_SOFTKEY_LEFT_DEFAULT, IDC_SOFTKEY_RIGHT_STORE,
                            IDC_SOFTKEY_RIGHT_DEFAULT})
            Tap(page, button);
        EXPECT_FALSE(RegKeyExists(CU, kLeft));
        EXPECT_FALSE(RegKeyExists(CU, kRight));
        EXPECT_EQ(0, MessageBoxesSince(boxes));
        // The "Default" buttons show their defaults only once stored.
        ExpectFields(page, L"Notes", L"\\Windows\\notes.exe", L"Phone", L"\\Windows\\cprog.exe");
    });
    // Only the right key cannot be made: the left one is shown, the right one is not.
    DeleteRegKey(CU, kKeys);
    RefuseNewKeysUnder(CU, kKeys, {L"112"});
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
        EXPECT_EQ(L"Stored", RegTextOr(CU, kLeft, L"Default", L"missing"));
        EXPECT_EQ(L"\\Windows\\stored.exe", RegTextOr(CU, kLeft, L"Open", L"missing"));

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
            EXPECT_EQ(page, LastFileDialog().owner);
        }
        EXPECT_FALSE(RegValueExists(CU, kRight, L"Open"));

        // Cancelled: both fields of that key go empty; the other key's stay.
        SimQueueFileDialogAnswer(NULL);
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        EXPECT_EQ(L"", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_EQ(L"\\Windows\\.hidden", FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
        // "OK" stores what was picked.
        SimQueueFileDialogAnswer(L"\\Windows\\pword.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        Tap(page, IDC_SOFTKEY_LEFT_STORE);
        EXPECT_EQ(L"pword", RegTextOr(CU, kLeft, L"Default", L"missing"));
        EXPECT_EQ(L"\\Windows\\pword.exe", RegTextOr(CU, kLeft, L"Open", L"missing"));
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
        EXPECT_EQ(path.substr(0, 255), RegTextOr(CU, kLeft, L"Open", L"missing"));
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
        PickerLibrary::Answer(L"\\Program Files\\Notes\\notes.exe");
        Tap(page, IDC_SOFTKEY_LEFT_PICK);
        EXPECT_EQ(1, PickerLibrary::Calls());
        EXPECT_EQ(L"Select link|\\Windows|(*.exe)|260", PickerLibrary::Seen());
        EXPECT_EQ(L"\\Program Files\\Notes\\notes.exe", FieldText(page, IDC_SOFTKEY_LEFT_TARGET));
        EXPECT_EQ(L"notes", FieldText(page, IDC_SOFTKEY_LEFT_NAME));
        EXPECT_TRUE(GetModuleHandleW(kPicker) == NULL) << "the library stays loaded";
        // The library's cancel empties the fields.
        PickerLibrary::Answer(NULL);
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
    auto pickThroughThePlatform = [](const PickerLibrary &library) {
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
    };
    {
        SCOPED_TRACE("without the export");
        PickerLibrary library(PathBesideTests(L"test_getfiles_other.dll"));
        pickThroughThePlatform(library);
    }
    {
        SCOPED_TRACE("not a library");
        PickerLibrary library;
        pickThroughThePlatform(library);
    }
}

TEST_F(SoftKeyPageTest, EachScreenShapeTakesItsLayoutAndTheFieldsKeepTheirText)
{
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) {
        EXPECT_TRUE(LaidOutLike(page, IDD_SOFTKEY_PAGE_PORTRAIT));
        EXPECT_FALSE(LaidOutLike(page, IDD_SOFTKEY_PAGE));
        SetField(page, IDC_SOFTKEY_RIGHT_TARGET, L"\\Windows\\typed.exe");
        {
            ScreenTurn turn(SIM_LANDSCAPE);
            ASSERT_TRUE(turn.turned());
            EXPECT_TRUE(LaidOutLike(page, IDD_SOFTKEY_PAGE_LANDSCAPE));
        }
        {
            ScreenTurn turn(SIM_SQUARE);
            ASSERT_TRUE(turn.turned());
            EXPECT_TRUE(LaidOutLike(page, IDD_SOFTKEY_PAGE));
            EXPECT_EQ(L"\\Windows\\typed.exe", FieldText(page, IDC_SOFTKEY_RIGHT_TARGET));
        }
        EXPECT_TRUE(LaidOutLike(page, IDD_SOFTKEY_PAGE_PORTRAIT));
    });
    ScreenTurn turn(SIM_LANDSCAPE);
    ASSERT_TRUE(turn.turned());
    RunTodayPage(TAB_SOFT_KEYS, [](HWND page) { EXPECT_TRUE(LaidOutLike(page, IDD_SOFTKEY_PAGE_LANDSCAPE)); });
}
