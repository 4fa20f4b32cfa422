// The file system tricks dialog, driven through its real controls.
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "dialogs/dialogs.h"

namespace {

const wchar_t kFat[] = L"System\\StorageManager\\FATFS";
const wchar_t kFilter[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
const wchar_t kInstaller[] = L"Software\\Apps\\Microsoft Application Installer";

DWORD Dword(const wchar_t *key, const wchar_t *name)
{
    return RegDwordOr(LM, key, name, 99);
}

// Opens the dialog as the main window does; Done ends it when the script has not.
INT_PTR RunFileSystemDialog(int, const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_FILESYSTEM, FileSystemTricksDialogProc, [&](HWND d) {
        script(d);
        if (IsWindowVisible(d)) SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}

}  // namespace

using FileSystemDialog = DeviceTest;

TEST_F(FileSystemDialog, OpeningCreatesNoKeyATapCreatesItAndTheDialogEndsWithDoneOrClose)
{
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

TEST_F(FileSystemDialog, TurningTheScreenKeepsTheBoxes)
{
    RunFileSystemDialog(0, [](HWND d) {
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
