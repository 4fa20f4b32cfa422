// The file system tricks dialog.
#include "tests/hosts/host_kit.h"

using FileSystemDialog = DeviceTest;

// Opening creates no key, a tap creates the one it needs. Without its value the
// installer prompts, so that box starts ticked.
TEST_F(FileSystemDialog, OpeningCreatesNoKeyAndThePromptStartsTickedWithoutItsValue)
{
    const wchar_t filter[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
    RegDeleteTreeW(LM, filter);
    DeleteRegValue(LM, L"Software\\Apps\\Microsoft Application Installer", L"fAskOptions");
    RunDialog(IDD_FILESYSTEM, FileSystemTricksDialogProc, [&](HWND d) {
        EXPECT_TRUE(IsTicked(d, IDC_FS_INSTALL_PROMPT));
        EXPECT_FALSE(RegKeyExists(LM, filter));
        Tap(d, IDC_FS_FILTER_CACHE);
        EXPECT_EQ(4096u, RegDwordOr(LM, filter, L"ReplStoreCacheSize", 99));
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}
