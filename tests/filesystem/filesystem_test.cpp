// The file system tricks dialog, driven through its real controls.
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "dialogs/dialogs.h"

namespace {

const wchar_t kFat[] = L"System\\StorageManager\\FATFS";
const wchar_t kFilter[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
const wchar_t kInstaller[] = L"Software\\Apps\\Microsoft Application Installer";
const wchar_t kCabCommand[] = L"cabfile\\Shell\\Open\\Command";
const wchar_t kKeep[] = L"wceload.exe \"%1\" /nodelete";
const wchar_t kDelete[] = L"wceload.exe \"%1\"";

DWORD Dword(const wchar_t *key, const wchar_t *name)
{
    return RegDwordOr(LM, key, name, 99);
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

void SetKeepCabs(DWORD dynamicDelete, const wchar_t *command)
{
    WriteRegDword(LM, kInstaller, L"nDynamicDelete", dynamicDelete);
    WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"Default", command);
}

bool KeepCabsStartsChecked()
{
    bool checked = false;
    RunFileSystemDialog(0, [&](HWND d) { checked = IsTicked(d, IDC_FS_KEEP_CABS); });
    return checked;
}

}  // namespace

using FileSystemDialog = DeviceTest;

TEST_F(FileSystemDialog, EachBoxShowsAndWritesItsOwnValueAndTheDialogEndsWithDoneOrClose)
{
    // The larger cache is written without enabling the cache.
    DwordBox boxes[] = {
        {IDC_FS_CACHE_SIZE, LM, kFat, L"CacheSize", 4096, 0},
        {IDC_FS_FILTER_CACHE, LM, kFilter, L"ReplStoreCacheSize", 4096, 0},
    };
    WriteRegDword(LM, kFat, L"EnableCache", 0);
    CheckDwordBoxes(RunFileSystemDialog, 0, boxes, 2);
    EXPECT_EQ(0u, Dword(kFat, L"EnableCache"));

    // Opening creates no key, a tap creates the one it needs. The prompt is on at 0,
    // and a value of another type counts as 0.
    RegDeleteTreeW(LM, kFilter);
    WriteRegRaw(LM, kInstaller, L"fAskOptions", REG_SZ, L"1", 4);
    EXPECT_EQ(16, RunFileSystemDialog(0, [](HWND d) {
        EXPECT_FALSE(RegKeyExists(LM, kFilter));
        Tap(d, IDC_FS_FILTER_CACHE);
        EXPECT_EQ(4096u, Dword(kFilter, L"ReplStoreCacheSize"));
        EXPECT_TRUE(IsTicked(d, IDC_FS_INSTALL_PROMPT));
        Tap(d, IDC_FS_INSTALL_PROMPT);
        EXPECT_EQ(1u, Dword(kInstaller, L"fAskOptions"));
        SendMessageW(d, WM_CLOSE, 0, 0);
    }));
    EXPECT_EQ(1, RunFileSystemDialog(0, [](HWND d) {
        EXPECT_FALSE(IsTicked(d, IDC_FS_INSTALL_PROMPT));
        Tap(d, IDC_FS_INSTALL_PROMPT);
        EXPECT_EQ(0u, Dword(kInstaller, L"fAskOptions"));
    }));
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
        {"another case", [] { SetKeepCabs(2, L"wceload.exe \"%1\" /NODELETE"); }},
        {"another setting", [] { SetKeepCabs(1, kKeep); }},
        // The key's unnamed value is not the one read.
        {"the unnamed value", [] { SetKeepCabs(2, kDelete); WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"", kKeep); }},
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
    RunFileSystemDialog(0, [](HWND d) {
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

        // Either key of the pair locked: neither value is written.
        for (std::pair<HKEY, const wchar_t *> key : {std::make_pair(LM, kInstaller),
                                                     std::make_pair(HKEY_CLASSES_ROOT, kCabCommand)}) {
            KeyLock lock(key.first, key.second);
            ASSERT_TRUE(lock.locked());
            Tap(d, IDC_FS_KEEP_CABS);
            EXPECT_EQ(0u, Dword(kInstaller, L"nDynamicDelete"));
            EXPECT_EQ(kDelete, Command());
            CheckDlgButton(d, IDC_FS_KEEP_CABS, BST_UNCHECKED);
        }
    });
    EXPECT_EQ(0, SimMessageBoxCount());

    // Missing keys are created by a tap.
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"cabfile");
    RunFileSystemDialog(0, [](HWND d) { Tap(d, IDC_FS_KEEP_CABS); });
    EXPECT_EQ(kKeep, Command());
    EXPECT_TRUE(KeepCabsStartsChecked());
}

TEST_F(FileSystemDialog, TurningTheScreenKeepsTheBoxesAndHelpIsAtHand)
{
    RunFileSystemDialog(0, [](HWND d) {
        ExpectHelpBox(d, IDC_FS_HELP_KEEP_CABS, MB_OK,
                      L"Keep the original .CAB file around after installing the application.");
        Tap(d, IDC_FS_ENABLE_CACHE);
        for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
            ScreenTurn turn(shape);
            ASSERT_TRUE(turn.turned());
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
