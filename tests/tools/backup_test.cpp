// Backup and restore as the Tools menu runs them: the file dialog, the whole-registry
// calls with the hive calls behind them, and the boxes shown.
#include "testkit.h"
#include "tools/tools.h"

// A file in the test's private device folder, which the end of the test removes.
static std::wstring DeviceFile(const wchar_t *name)
{
    wchar_t device[MAX_PATH] = L"";
    SimGetDeviceDir(device, MAX_PATH);
    return device + std::wstring(name);
}

// The backup with `path` chosen (NULL cancels), or the restore answered Yes with `path`
// chosen and `offer` given to the soft-reset offer: the boxes shown, each "text|caption".
static std::wstring Run(void (*run)(), const std::wstring *path, int offer = 0)
{
    SimClearRecords();
    if (offer) SimQueueMessageBoxAnswer(IDYES);
    SimQueueFileDialogAnswer(path ? path->c_str() : NULL);
    if (offer) SimQueueMessageBoxAnswer(offer);
    run();
    std::wstring shown;
    for (const SimMessageBox &box : MessageBoxesFrom(offer ? 1 : 0)) shown += std::wstring(box.text) + L"|" + box.caption;
    return shown;
}
static std::wstring Backup(const std::wstring *path) { return Run(BackupRegistry, path); }
static std::wstring Restore(const std::wstring &path, int offer) { return Run(RestoreRegistry, &path, offer); }

// The test's value in the machine's registry and the classes, "machine|classes"; set first when given.
static std::wstring Values(DWORD set = 0)
{
    std::wstring values;
    for (HKEY root : {LM, HKEY_CLASSES_ROOT}) {
        DWORD value = 0;
        if (set) WriteRegDword(root, L"Software\\Rudore Test", L"Value", set);
        ReadRegDword(root, L"Software\\Rudore Test", L"Value", &value);
        values += (values.empty() ? L"" : L"|") + std::to_wstring(value);
    }
    return values;
}

static bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
static const wchar_t kDone[] = L"Success !\nSoft Reset you device to make Restoration effectitve|Confirm";
using RegistryBackup = DeviceTest;

TEST_F(RegistryBackup, BackupWritesTheChosenFileOrSaysItFailed)
{
    // A name typed without an extension is used as typed.
    std::wstring typed = DeviceFile(L"\\saved");
    EXPECT_EQ(L"Already backup to \n" + typed + L"|Backup registry", Backup(&typed));
    EXPECT_TRUE(Exists(typed));
    SimFileDialog dialog;
    EXPECT_TRUE(SimGetFileDialog(0, &dialog) && dialog.save);
    // Cancelled, or a name longer than the buffer (the dialog then fails): silence.
    std::wstring tooLong = DeviceFile(L"\\") + std::wstring(260, L'n');
    EXPECT_EQ(L"", Backup(NULL) + Backup(&tooLong));
    // A path that cannot be written, and a copy refused for any reason but "not
    // supported", which must not fall back to the hive save.
    for (auto f : {std::make_pair(DeviceFile(L"\\missing\\saved.reg"), 0ul),
                   std::make_pair(DeviceFile(L"\\saved.reg"), (DWORD)ERROR_ACCESS_DENIED)}) {
        SimSetFailure(SIM_FAIL_REGCOPY, f.second);
        EXPECT_EQ(L"The backup error.|Backup error!", Backup(&f.first)) << f.second;
        EXPECT_FALSE(Exists(f.first)) << f.second;
    }
}

TEST_F(RegistryBackup, RestoreAsksReportsFailuresAndOffersTheSoftReset)
{
    std::wstring saved = DeviceFile(L"\\saved.reg"), cut = DeviceFile(L"\\cut.reg"), other = PathBesideTests(L"ZelvoRudore.exe");
    Values(1);
    ASSERT_EQ(1, SaveRegistryToFile(saved.c_str()));
    Values(2);
    ASSERT_TRUE(CopyFileW(saved.c_str(), cut.c_str(), FALSE));
    HANDLE file = CreateFileW(cut.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    SetFilePointer(file, -10, NULL, FILE_END), SetEndOfFile(file), CloseHandle(file);
    // No at the question: no file dialog.
    SimQueueMessageBoxAnswer(IDNO);
    RestoreRegistry();
    EXPECT_EQ(0, SimFileDialogCount());
    EXPECT_EQ(1, SimMessageBoxCount());
    // Another program's file, a good image refused for any reason but "not supported"
    // (the hive replacement is then not tried), and a cut image that the hive
    // replacement is given and refuses: reported, nothing staged.
    for (auto f : {std::make_pair(other, 0ul), std::make_pair(saved, (DWORD)ERROR_ACCESS_DENIED),
                   std::make_pair(cut, (DWORD)ERROR_NOT_SUPPORTED)}) {
        SimSetFailure(SIM_FAIL_REGRESTORE, f.second);
        EXPECT_EQ(L"The backup error.|Backup error", Restore(f.first, IDYES)) << f.second;
        EXPECT_EQ((UINT)(MB_OK | MB_ICONHAND), LastMessageBox().flags);
        EXPECT_FALSE(SimHasStagedImage()) << f.second;
        EXPECT_EQ(0, SimPowerActionCount());
    }
    // Restored, No at the offer: the running registry stays in use, the image waits.
    SimSetFailure(SIM_FAIL_REGRESTORE, 0);
    EXPECT_EQ(kDone, Restore(saved, IDNO));
    EXPECT_EQ(L"2|2", Values());
    EXPECT_EQ(0, SimPowerActionCount());
    EXPECT_TRUE(SimHasStagedImage());
    // Yes: the device restarts with the saved registry.
    Restore(saved, IDYES);
    EXPECT_GT(SimPowerActionCount(), 0);
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(L"1|1", Values());
    // A device without the whole-registry calls: the hive save and replacement carry the
    // machine's registry, the classes with it, through the soft reset.
    SimSetFailure(SIM_FAIL_REGCOPY, ERROR_NOT_SUPPORTED);
    SimSetFailure(SIM_FAIL_REGRESTORE, ERROR_NOT_SUPPORTED);
    DeleteFileW(saved.c_str());
    Values(3);
    EXPECT_EQ(L"Already backup to \n" + saved + L"|Backup registry", Backup(&saved));
    Values(4);
    EXPECT_EQ(kDone, Restore(saved, IDYES));
    EXPECT_EQ(L"3|3", Values());
}
