// The file system tricks dialog, driven through its real controls.
#include <windows.h>
#include "testkit.h"
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "app/rudore.h"
#include "dialogs/dialogs.h"
#include "resource.h"

namespace {

const wchar_t kFat[] = L"System\\StorageManager\\FATFS";
const wchar_t kFilter[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
const wchar_t kPolicies[] = L"Security\\Policies\\Policies";
const wchar_t kInstaller[] = L"Software\\Apps\\Microsoft Application Installer";
const wchar_t kCabCommand[] = L"cabfile\\Shell\\Open\\Command";
const wchar_t kKeep[] = L"wceload.exe \"%1\" /nodelete";
const wchar_t kDelete[] = L"wceload.exe \"%1\"";

// A DWORD as stored, or -1 when missing or not a DWORD.
long long Dword(HKEY root, const wchar_t *key, const wchar_t *name)
{
    DWORD value = 0;
    return ReadRegDword(root, key, name, &value) ? (long long)value : -1;
}

// A string value with its stored byte count, so that the null is seen to be written.
std::wstring StoredText(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *bytes)
{
    *bytes = 0;
    std::wstring text = L"<missing>";
    HKEY k;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return text;
    DWORD type = 0;
    if (RegQueryValueExW(k, name, NULL, &type, NULL, bytes) == ERROR_SUCCESS && type == REG_SZ)
        ReadRegString(root, key, name, &text);
    RegCloseKey(k);
    return text;
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Click(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

INT_PTR RunFileSystemDialog(const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_FILESYSTEM, FileSystemTricksDialogProc, script);
}

void SetKeepCabs(DWORD dynamicDelete, const wchar_t *command)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kInstaller, L"nDynamicDelete", dynamicDelete);
    WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"Default", command);
}

bool KeepCabsStartsChecked()
{
    bool checked = false;
    RunFileSystemDialog([&](HWND d) {
        checked = Checked(d, IDC_FS_KEEP_CABS);
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    return checked;
}

}  // namespace

using FileSystemDialog = DeviceTest;

TEST_F(FileSystemDialog, BoxesStartFromTheirValuesAndTheDialogEndsWithDoneOrClose)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kFat, L"EnableCache", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, kFat, L"CacheSize", 8192);  // set by another tool
    WriteRegDword(HKEY_LOCAL_MACHINE, kFilter, L"ReplStoreCacheSize", 4096);
    WriteRegDword(HKEY_LOCAL_MACHINE, kPolicies, L"0000101a", 2);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kInstaller, L"fAskOptions");
    SetKeepCabs(2, kKeep);

    INT_PTR result = RunFileSystemDialog([](HWND d) {
        EXPECT_EQ(L"File System Tricks", WindowText(d));
        EXPECT_TRUE(Checked(d, IDC_FS_ENABLE_CACHE));
        EXPECT_FALSE(Checked(d, IDC_FS_CACHE_SIZE));
        EXPECT_TRUE(Checked(d, IDC_FS_FILTER_CACHE));
        EXPECT_FALSE(Checked(d, IDC_FS_NO_SECURITY_WARNING));
        EXPECT_TRUE(Checked(d, IDC_FS_INSTALL_PROMPT));  // missing counts as 0
        EXPECT_TRUE(Checked(d, IDC_FS_KEEP_CABS));
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(1, result);

    // Values of another type or size count as missing (0).
    WriteRegRaw(HKEY_LOCAL_MACHINE, kFat, L"EnableCache", REG_SZ, L"1", 4);
    DWORD eight[2] = {4096, 0};
    WriteRegRaw(HKEY_LOCAL_MACHINE, kFilter, L"ReplStoreCacheSize", REG_BINARY, eight, 8);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kPolicies, L"0000101a", REG_BINARY, eight, 2);
    WriteRegDword(HKEY_LOCAL_MACHINE, kFat, L"CacheSize", 4096);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kInstaller, L"fAskOptions", REG_SZ, L"1", 4);
    result = RunFileSystemDialog([](HWND d) {
        EXPECT_FALSE(Checked(d, IDC_FS_ENABLE_CACHE));
        EXPECT_TRUE(Checked(d, IDC_FS_CACHE_SIZE));
        EXPECT_FALSE(Checked(d, IDC_FS_FILTER_CACHE));
        EXPECT_FALSE(Checked(d, IDC_FS_NO_SECURITY_WARNING));
        EXPECT_TRUE(Checked(d, IDC_FS_INSTALL_PROMPT));
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(16, result);
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(FileSystemDialog, KeptCabFilesNeedBothValuesExactly)
{
    SetKeepCabs(2, kKeep);
    EXPECT_TRUE(KeepCabsStartsChecked());
    SetKeepCabs(2, L"wceload.exe \"%1\" /nodelete ");
    EXPECT_FALSE(KeepCabsStartsChecked());
    SetKeepCabs(2, L"wceload.exe \"%1\" /NODELETE");
    EXPECT_FALSE(KeepCabsStartsChecked());
    SetKeepCabs(1, kKeep);
    EXPECT_FALSE(KeepCabsStartsChecked());
    SetKeepCabs(2, kKeep);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kInstaller, L"nDynamicDelete");
    EXPECT_FALSE(KeepCabsStartsChecked());
    // The unnamed value is not the one read.
    SetKeepCabs(2, kDelete);
    WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"", kKeep);
    EXPECT_FALSE(KeepCabsStartsChecked());
    // Without its null, or as another type, the command counts as missing.
    // (The registry adds a null the count forgot when one follows the data: none does here.)
    std::wstring unterminated = std::wstring(kKeep) + L"X";
    WriteRegRaw(HKEY_CLASSES_ROOT, kCabCommand, L"Default", REG_SZ, unterminated.c_str(), (DWORD)wcslen(kKeep) * 2);
    EXPECT_FALSE(KeepCabsStartsChecked());
    WriteRegRaw(HKEY_CLASSES_ROOT, kCabCommand, L"Default", REG_EXPAND_SZ, kKeep, (DWORD)(wcslen(kKeep) + 1) * 2);
    EXPECT_FALSE(KeepCabsStartsChecked());
    // A command longer than the 80-character buffer, starting with the right text.
    std::wstring longer = std::wstring(kKeep) + std::wstring(100, L' ');
    WriteRegString(HKEY_CLASSES_ROOT, kCabCommand, L"Default", longer.c_str());
    EXPECT_FALSE(KeepCabsStartsChecked());
}

TEST_F(FileSystemDialog, KeptCabFilesWriteTheSettingAndTheCommandTogether)
{
    SetKeepCabs(0, kDelete);
    RunFileSystemDialog([](HWND d) {
        EXPECT_FALSE(Checked(d, IDC_FS_KEEP_CABS));
        DWORD bytes;
        Click(d, IDC_FS_KEEP_CABS);
        EXPECT_EQ(2, Dword(HKEY_LOCAL_MACHINE, kInstaller, L"nDynamicDelete"));
        EXPECT_EQ(kKeep, StoredText(HKEY_CLASSES_ROOT, kCabCommand, L"Default", &bytes));
        EXPECT_EQ(54u, bytes);  // 26 characters and the null
        Click(d, IDC_FS_KEEP_CABS);
        EXPECT_EQ(0, Dword(HKEY_LOCAL_MACHINE, kInstaller, L"nDynamicDelete"));  // written, not deleted
        EXPECT_EQ(kDelete, StoredText(HKEY_CLASSES_ROOT, kCabCommand, L"Default", &bytes));
        EXPECT_EQ(34u, bytes);
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(KeepCabsStartsChecked());

    // Missing keys are created by a tap.
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"cabfile");
    RunFileSystemDialog([](HWND d) {
        Click(d, IDC_FS_KEEP_CABS);
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    DWORD bytes;
    EXPECT_EQ(kKeep, StoredText(HKEY_CLASSES_ROOT, kCabCommand, L"Default", &bytes));
    EXPECT_EQ(2, Dword(HKEY_LOCAL_MACHINE, kInstaller, L"nDynamicDelete"));
    EXPECT_TRUE(KeepCabsStartsChecked());
}

TEST_F(FileSystemDialog, EachBoxWritesItsOwnValueOnly)
{
    DeleteRegValue(HKEY_LOCAL_MACHINE, kFat, L"EnableCache");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kFat, L"CacheSize");
    WriteRegDword(HKEY_LOCAL_MACHINE, kInstaller, L"fAskOptions", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, kPolicies, L"0000101a", 0);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kFilter);

    RunFileSystemDialog([](HWND d) {
        // Opening reads without creating.
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kFilter));

        Click(d, IDC_FS_CACHE_SIZE);
        EXPECT_EQ(4096, Dword(HKEY_LOCAL_MACHINE, kFat, L"CacheSize"));
        EXPECT_EQ(-1, Dword(HKEY_LOCAL_MACHINE, kFat, L"EnableCache"));
        Click(d, IDC_FS_ENABLE_CACHE);
        EXPECT_EQ(1, Dword(HKEY_LOCAL_MACHINE, kFat, L"EnableCache"));
        Click(d, IDC_FS_ENABLE_CACHE);
        EXPECT_EQ(0, Dword(HKEY_LOCAL_MACHINE, kFat, L"EnableCache"));
        EXPECT_EQ(4096, Dword(HKEY_LOCAL_MACHINE, kFat, L"CacheSize"));
        Click(d, IDC_FS_CACHE_SIZE);
        EXPECT_EQ(0, Dword(HKEY_LOCAL_MACHINE, kFat, L"CacheSize"));

        Click(d, IDC_FS_FILTER_CACHE);  // creates the missing key
        EXPECT_EQ(4096, Dword(HKEY_LOCAL_MACHINE, kFilter, L"ReplStoreCacheSize"));
        Click(d, IDC_FS_FILTER_CACHE);
        EXPECT_EQ(0, Dword(HKEY_LOCAL_MACHINE, kFilter, L"ReplStoreCacheSize"));

        Click(d, IDC_FS_NO_SECURITY_WARNING);
        EXPECT_EQ(1, Dword(HKEY_LOCAL_MACHINE, kPolicies, L"0000101a"));
        Click(d, IDC_FS_NO_SECURITY_WARNING);
        EXPECT_EQ(0, Dword(HKEY_LOCAL_MACHINE, kPolicies, L"0000101a"));

        EXPECT_FALSE(Checked(d, IDC_FS_INSTALL_PROMPT));
        Click(d, IDC_FS_INSTALL_PROMPT);
        EXPECT_EQ(0, Dword(HKEY_LOCAL_MACHINE, kInstaller, L"fAskOptions"));
        Click(d, IDC_FS_INSTALL_PROMPT);
        EXPECT_EQ(1, Dword(HKEY_LOCAL_MACHINE, kInstaller, L"fAskOptions"));
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(FileSystemDialog, HelpButtonsExplainTheirBoxes)
{
    struct { int button; const wchar_t *text; } helps[] = {
        {IDC_FS_HELP_ENABLE_CACHE, L"To enable the FileSystem cache, speeding up overall performance at the risk of "
                                   L"the cache not being written on a sudden reset"},
        {IDC_FS_HELP_CACHE_SIZE, L"Make sure the Increase File System take effect only when the File System is "
                                 L"enabled."},
        {IDC_FS_HELP_FILTER_CACHE, L"To enable the file system filter cache, speeding up overall performance with "
                                   L"file mangement"},
        {IDC_FS_HELP_SECURITY, L"To disable the security warning when installing a non-certfied application. Note "
                               L"that this makes it easier for any malware to install itself."},
        {IDC_FS_HELP_KEEP_CABS, L"Keep the original .CAB file around after installing the application."},
        {IDC_FS_HELP_INSTALL_PROMPT, L"Make WM5 prompt you before overwriting an existing installation."},
    };
    RunFileSystemDialog([&](HWND d) {
        int n = 0;
        for (auto &h : helps) {
            EXPECT_EQ(L"H", WindowText(GetDlgItem(d, h.button)));
            Click(d, h.button);
            ASSERT_EQ(++n, SimMessageBoxCount());
            SimMessageBox box = LastMessageBox();
            EXPECT_EQ(h.text, std::wstring(box.text));
            EXPECT_EQ(L"Help", std::wstring(box.caption));
            EXPECT_EQ((UINT)MB_OK, box.flags);
            EXPECT_EQ(d, box.owner);
        }
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(FileSystemDialog, OneLayoutServesEveryScreenShape)
{
    struct PortraitAtExit {
        ~PortraitAtExit() { SimRotate(SIM_PORTRAIT); PumpMessages(50); }
    } portrait;
    WriteRegDword(HKEY_LOCAL_MACHINE, kFat, L"EnableCache", 0);
    RunFileSystemDialog([](HWND d) {
        Click(d, IDC_FS_ENABLE_CACHE);
        HWND prompt = GetDlgItem(d, IDC_FS_INSTALL_PROMPT);
        RECT before;
        GetWindowRect(prompt, &before);
        MapWindowPoints(NULL, d, (POINT *)&before, 2);
        for (int shape : {SIM_LANDSCAPE, SIM_SQUARE, SIM_PORTRAIT}) {
            EXPECT_TRUE(SimRotate(shape));
            PumpMessages(50);
            // The shell keeps the dialog full screen; its controls stay where they were,
            // and every one of them is still on the screen.
            RECT dialog, after, help;
            GetWindowRect(d, &dialog);
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), dialog.right) << shape;
            GetWindowRect(prompt, &after);
            MapWindowPoints(NULL, d, (POINT *)&after, 2);
            EXPECT_TRUE(EqualRect(&before, &after)) << shape;
            GetWindowRect(GetDlgItem(d, IDC_FS_HELP_INSTALL_PROMPT), &help);
            EXPECT_LE(help.right, dialog.right) << shape;
            EXPECT_LE(help.bottom, dialog.bottom) << shape;
            EXPECT_TRUE(Checked(d, IDC_FS_ENABLE_CACHE)) << shape;
        }
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(1, Dword(HKEY_LOCAL_MACHINE, kFat, L"EnableCache"));
}

using FileSystemFromMainWindow = MainWindowTest;

TEST_F(FileSystemFromMainWindow, TheMenuCommandAndTheHotRowOpenTheDialog)
{
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(L"File System Tricks", TitleOfDialogOpenedBy(WM_COMMAND, IDM_FILESYSTEM, 0));
    // Its row of the portrait splash picture.
    EXPECT_EQ(L"File System Tricks", TitleOfDialogOpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 210)));
}
