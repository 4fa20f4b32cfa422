// The file system tricks dialog, and how the main window opens the three tricks dialogs.
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "dialogs/dialogs.h"

using FileSystemDialog = DeviceTest;

// Opening creates no key, a tap creates the one it needs. The prompt is on at 0, and a
// value of another type counts as 0.
TEST_F(FileSystemDialog, OpeningCreatesNoKeyATapCreatesItAndTheDialogEndsWithDoneOrClose)
{
    const wchar_t filter[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
    const wchar_t installer[] = L"Software\\Apps\\Microsoft Application Installer";
    RegDeleteTreeW(LM, filter);
    WriteRegRaw(LM, installer, L"fAskOptions", REG_SZ, L"1", 4);
    for (int run = 0; run < 2; run++)
        EXPECT_EQ(run ? 1 : 16, RunDialog(IDD_FILESYSTEM, FileSystemTricksDialogProc, [&](HWND d) {
            if (!run) {
                EXPECT_FALSE(RegKeyExists(LM, filter));
                Tap(d, IDC_FS_FILTER_CACHE);
                EXPECT_EQ(4096u, RegDwordOr(LM, filter, L"ReplStoreCacheSize", 99));
            }
            EXPECT_EQ(!run, IsTicked(d, IDC_FS_INSTALL_PROMPT));
            Tap(d, IDC_FS_INSTALL_PROMPT);
            EXPECT_EQ(run ? 0u : 1u, RegDwordOr(LM, installer, L"fAskOptions", 99));
            SendMessageW(d, run ? WM_COMMAND : WM_CLOSE, run ? IDOK : 0, 0);
        }));
    EXPECT_EQ(0, SimMessageBoxCount());
}

using TricksFromMainWindow = MainWindowTest;

TEST_F(TricksFromMainWindow, TheMenuCommandsOpenTheDialogs)
{
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(L"File System Tricks", TitleOfDialogOpenedBy(WM_COMMAND, IDM_FILESYSTEM, 0));
    EXPECT_EQ(L"KeyBoard Tricks", TitleOfDialogOpenedBy(WM_COMMAND, IDM_KEYBOARD, 0));
    EXPECT_EQ(L"Calendar", TitleOfDialogOpenedBy(WM_COMMAND, IDM_CALENDAR, 0));
}
