// The file system tricks dialog, driven through its real controls.
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "dialogs/dialogs.h"

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE;
const wchar_t kFat[] = L"System\\StorageManager\\FATFS";
const wchar_t kFilter[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
const wchar_t kPolicies[] = L"Security\\Policies\\Policies";
const wchar_t kInstaller[] = L"Software\\Apps\\Microsoft Application Installer";
const wchar_t kCabCommand[] = L"cabfile\\Shell\\Open\\Command";
const wchar_t kKeep[] = L"wceload.exe \"%1\" /nodelete";
const wchar_t kDelete[] = L"wceload.exe \"%1\"";
const DWORD kMissing = 99;

DWORD Dword(const wchar_t *key, const wchar_t *name)
{
    return RegDwordOr(LM, key, name, kMissing);
}

std::wstring Command()
{
    return RegTextOr(HKEY_CLASSES_ROOT, kCabCommand, L"Default", L"<missing>");
}

// Opens the dialog as the main window does; Done ends it when the script has not.
INT_PTR RunFileSystemDialog(int, const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_FILESYSTEM, FileSystemTricksDialogProc, [&](HWND d) {
        script(d);
        if (IsWindowVisible(d)) SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}

INT_PTR RunFileSystemDialog(const std::function<void(HWND)> &script)
{
    return RunFileSystemDialog(0, script);
}

void SetKeepCabs(DWORD dynamicDelete, const wchar_t *command)
{
    WriteRegDword(LM, kInstaller, L"nDynamicDelete", dynamicDelete);
    WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"Default", command);
}

bool KeepCabsStartsChecked()
{
    bool checked = false;
    RunFileSystemDialog([&](HWND d) { checked = IsTicked(d, IDC_FS_KEEP_CABS); });
    return checked;
}

}  // namespace

using FileSystemDialog = DeviceTest;

TEST_F(FileSystemDialog, BoxesStartFromTheirValuesAndTheDialogEndsWithDoneOrClose)
{
    WriteRegDword(LM, kFat, L"EnableCache", 1);
    WriteRegDword(LM, kFat, L"CacheSize", 8192);  // set by another tool
    WriteRegDword(LM, kFilter, L"ReplStoreCacheSize", 4096);
    WriteRegDword(LM, kPolicies, L"0000101a", 2);
    DeleteRegValue(LM, kInstaller, L"fAskOptions");
    SetKeepCabs(2, kKeep);
    EXPECT_EQ(1, RunFileSystemDialog([](HWND d) {
        EXPECT_TRUE(IsTicked(d, IDC_FS_ENABLE_CACHE));
        EXPECT_FALSE(IsTicked(d, IDC_FS_CACHE_SIZE));
        EXPECT_TRUE(IsTicked(d, IDC_FS_FILTER_CACHE));
        EXPECT_FALSE(IsTicked(d, IDC_FS_NO_SECURITY_WARNING));
        EXPECT_TRUE(IsTicked(d, IDC_FS_INSTALL_PROMPT));  // missing counts as 0
        EXPECT_TRUE(IsTicked(d, IDC_FS_KEEP_CABS));
    }));

    // Values of another type or size count as missing (0).
    DWORD eight[2] = {4096, 0};
    WriteRegRaw(LM, kFat, L"EnableCache", REG_SZ, L"1", 4);
    WriteRegRaw(LM, kFilter, L"ReplStoreCacheSize", REG_BINARY, eight, 8);
    WriteRegRaw(LM, kPolicies, L"0000101a", REG_BINARY, eight, 2);
    WriteRegRaw(LM, kInstaller, L"fAskOptions", REG_SZ, L"1", 4);
    EXPECT_EQ(16, RunFileSystemDialog([](HWND d) {
        EXPECT_FALSE(IsTicked(d, IDC_FS_ENABLE_CACHE));
        EXPECT_FALSE(IsTicked(d, IDC_FS_FILTER_CACHE));
        EXPECT_FALSE(IsTicked(d, IDC_FS_NO_SECURITY_WARNING));
        EXPECT_TRUE(IsTicked(d, IDC_FS_INSTALL_PROMPT));
        SendMessageW(d, WM_CLOSE, 0, 0);
    }));
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(FileSystemDialog, EachBoxWritesItsOwnValueOnly)
{
    DwordBox boxes[] = {
        {IDC_FS_CACHE_SIZE, LM, kFat, L"CacheSize", 4096, 0},
        {IDC_FS_ENABLE_CACHE, LM, kFat, L"EnableCache", 1, 0},
        {IDC_FS_FILTER_CACHE, LM, kFilter, L"ReplStoreCacheSize", 4096, 0},
        {IDC_FS_NO_SECURITY_WARNING, LM, kPolicies, L"0000101a", 1, 0},
    };
    CheckDwordBoxes(RunFileSystemDialog, 0, boxes, (int)(sizeof boxes / sizeof boxes[0]));

    // The larger cache is written without the cache being enabled; opening creates
    // no key, a tap creates the one it needs.
    DeleteRegValue(LM, kFat, L"EnableCache");
    RegDeleteTreeW(LM, kFilter);
    RunFileSystemDialog([](HWND d) {
        EXPECT_FALSE(RegKeyExists(LM, kFilter));
        Tap(d, IDC_FS_CACHE_SIZE);
        EXPECT_EQ(kMissing, Dword(kFat, L"EnableCache"));
        Tap(d, IDC_FS_FILTER_CACHE);
        EXPECT_EQ(4096u, Dword(kFilter, L"ReplStoreCacheSize"));
    });

    // The installation prompt is on when the value is 0.
    WriteRegDword(LM, kInstaller, L"fAskOptions", 1);
    RunFileSystemDialog([](HWND d) {
        EXPECT_FALSE(IsTicked(d, IDC_FS_INSTALL_PROMPT));
        Tap(d, IDC_FS_INSTALL_PROMPT);
        EXPECT_EQ(0u, Dword(kInstaller, L"fAskOptions"));
        Tap(d, IDC_FS_INSTALL_PROMPT);
        EXPECT_EQ(1u, Dword(kInstaller, L"fAskOptions"));
    });
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(FileSystemDialog, KeptCabFilesNeedBothValuesExactly)
{
    SetKeepCabs(2, kKeep);
    EXPECT_TRUE(KeepCabsStartsChecked());
    struct Case {
        const char *what;
        std::function<void()> set;
    } cases[] = {
        {"a trailing blank", [] { SetKeepCabs(2, L"wceload.exe \"%1\" /nodelete "); }},
        {"another case", [] { SetKeepCabs(2, L"wceload.exe \"%1\" /NODELETE"); }},
        {"another setting", [] { SetKeepCabs(1, kKeep); }},
        {"no setting", [] { SetKeepCabs(2, kKeep); DeleteRegValue(LM, kInstaller, L"nDynamicDelete"); }},
        // The key's unnamed value is not the one read.
        {"the unnamed value", [] { SetKeepCabs(2, kDelete); WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"", kKeep); }},
        {"without its null", [] { WriteUnterminated(HKEY_CLASSES_ROOT, kCabCommand, L"Default", kKeep); }},
        {"another type", [] { WriteTextOfType(HKEY_CLASSES_ROOT, kCabCommand, L"Default", REG_EXPAND_SZ, kKeep); }},
        {"longer than the buffer", [] {
             std::wstring longer = kKeep + std::wstring(100, L' ');
             WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"Default", longer.c_str());
         }},
    };
    for (Case &c : cases) {
        c.set();
        EXPECT_FALSE(KeepCabsStartsChecked()) << c.what;
    }
}

TEST_F(FileSystemDialog, KeptCabFilesWriteTheSettingAndTheCommandTogether)
{
    SetKeepCabs(0, kDelete);
    RunFileSystemDialog([](HWND d) {
        DWORD type, bytes;
        Tap(d, IDC_FS_KEEP_CABS);
        EXPECT_EQ(2u, Dword(kInstaller, L"nDynamicDelete"));
        EXPECT_EQ(kKeep, Command());
        EXPECT_TRUE(RegValueShape(HKEY_CLASSES_ROOT, kCabCommand, L"Default", &type, &bytes));
        EXPECT_EQ(54u, bytes);  // 26 characters and the null
        Tap(d, IDC_FS_KEEP_CABS);
        EXPECT_EQ(0u, Dword(kInstaller, L"nDynamicDelete"));  // written, not deleted
        EXPECT_EQ(kDelete, Command());
        EXPECT_TRUE(RegValueShape(HKEY_CLASSES_ROOT, kCabCommand, L"Default", &type, &bytes));
        EXPECT_EQ((DWORD)REG_SZ, type);
        EXPECT_EQ(34u, bytes);
    });

    // Missing keys are created by a tap.
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"cabfile");
    RunFileSystemDialog([](HWND d) { Tap(d, IDC_FS_KEEP_CABS); });
    EXPECT_EQ(kKeep, Command());
    EXPECT_TRUE(KeepCabsStartsChecked());
}

TEST_F(FileSystemDialog, AKeyThatCannotBeOpenedStopsTheTapSilently)
{
    WriteRegDword(LM, kFat, L"EnableCache", 0);
    SetKeepCabs(0, kDelete);
    RunFileSystemDialog([](HWND d) {
        {
            KeyLock lock(LM, kFat);
            ASSERT_TRUE(lock.locked());
            Tap(d, IDC_FS_ENABLE_CACHE);
            EXPECT_TRUE(IsTicked(d, IDC_FS_ENABLE_CACHE));  // the box keeps its new mark
        }
        EXPECT_EQ(0u, Dword(kFat, L"EnableCache"));
        // Either key of the pair locked: neither value is written.
        for (std::pair<HKEY, const wchar_t *> key : {std::make_pair(LM, kInstaller),
                                                     std::make_pair(HKEY_CLASSES_ROOT, kCabCommand)}) {
            KeyLock lock(key.first, key.second);
            ASSERT_TRUE(lock.locked());
            CheckDlgButton(d, IDC_FS_KEEP_CABS, BST_UNCHECKED);
            Tap(d, IDC_FS_KEEP_CABS);
            EXPECT_EQ(0u, Dword(kInstaller, L"nDynamicDelete"));
            EXPECT_EQ(kDelete, Command());
        }
    });
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(FileSystemDialog, HelpButtonsExplainTheirBoxes)
{
    RunFileSystemDialog([&](HWND d) {
        ExpectHelpBox(d, IDC_FS_HELP_ENABLE_CACHE, MB_OK,
                      L"To enable the FileSystem cache, speeding up overall performance at the risk of the cache not "
                      L"being written on a sudden reset");
        ExpectHelpBox(d, IDC_FS_HELP_CACHE_SIZE, MB_OK,
                      L"Make sure the Increase File System take effect only when the File System is enabled.");
        ExpectHelpBox(d, IDC_FS_HELP_FILTER_CACHE, MB_OK,
                      L"To enable the file system filter cache, speeding up overall performance with file mangement");
        ExpectHelpBox(d, IDC_FS_HELP_SECURITY, MB_OK,
                      L"To disable the security warning when installing a non-certfied application. Note that this "
                      L"makes it easier for any malware to install itself.");
        ExpectHelpBox(d, IDC_FS_HELP_KEEP_CABS, MB_OK,
                      L"Keep the original .CAB file around after installing the application.");
        ExpectHelpBox(d, IDC_FS_HELP_INSTALL_PROMPT, MB_OK,
                      L"Make WM5 prompt you before overwriting an existing installation.");
    });
}

TEST_F(FileSystemDialog, OneLayoutServesEveryScreenShape)
{
    RunFileSystemDialog([](HWND d) {
        Tap(d, IDC_FS_ENABLE_CACHE);
        for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
            ScreenTurn turn(shape);
            ASSERT_TRUE(turn.turned());
            // Still full screen, its controls where the template puts them and all on it.
            RECT placed;
            GetWindowRect(d, &placed);
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), placed.right) << shape;
            EXPECT_TRUE(LaidOutLike(d, IDD_FILESYSTEM)) << shape;
            ExpectControlsInside(d);
            EXPECT_TRUE(IsTicked(d, IDC_FS_ENABLE_CACHE)) << shape;
        }
    });
    EXPECT_EQ(1u, Dword(kFat, L"EnableCache"));
}

using FileSystemFromMainWindow = MainWindowTest;

TEST_F(FileSystemFromMainWindow, TheMenuCommandAndTheHotRowOpenTheDialog)
{
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(L"File System Tricks", TitleOfDialogOpenedBy(WM_COMMAND, IDM_FILESYSTEM, 0));
    EXPECT_EQ(L"File System Tricks", TitleOfDialogOpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 210)));
}
