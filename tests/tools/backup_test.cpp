// Backup and restore as the Tools menu runs them: the file dialog, the whole-registry
// calls with the hive calls behind them, and the boxes shown.
#include "testkit.h"
#include "tools/tools.h"

// Files go to the test's private device folder, which the end of the test removes.
class RegistryBackup : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        wchar_t device[MAX_PATH];
        ASSERT_TRUE(SimGetDeviceDir(device, MAX_PATH));
        folder = device;
        saved = folder + L"\\saved.reg";
    }
    // The backup with `path` chosen (NULL cancels): the boxes it showed, as text|caption.
    std::vector<std::wstring> Backup(const std::wstring *path)
    {
        SimClearRecords();
        SimQueueFileDialogAnswer(path ? path->c_str() : NULL);
        BackupRegistry();
        std::vector<std::wstring> shown;
        for (const SimMessageBox &box : MessageBoxesFrom(0)) shown.push_back(std::wstring(box.text) + L"|" + box.caption);
        return shown;
    }
    // The restore answered Yes, `path` chosen, `offer` given to the soft-reset offer.
    SimMessageBox Restore(const std::wstring &path, int offer)
    {
        SimClearRecords();
        SimQueueMessageBoxAnswer(IDYES);
        SimQueueFileDialogAnswer(path.c_str());
        SimQueueMessageBoxAnswer(offer);
        RestoreRegistry();
        return LastMessageBox();
    }
    void SetValue(DWORD value)
    {
        WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Rudore Test", L"Value", value);
        WriteRegDword(HKEY_CLASSES_ROOT, L"Software\\Rudore Test", L"Value", value);
    }
    std::wstring folder, saved;
};

static bool FileExists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

static DWORD Value(HKEY root)
{
    DWORD value = 0;
    return ReadRegDword(root, L"Software\\Rudore Test", L"Value", &value) ? value : 0;
}

TEST_F(RegistryBackup, BackupSavesToTheChosenFileAndSaysWhere)
{
    // A name typed without an extension is used as typed.
    std::wstring typed = folder + L"\\saved";
    EXPECT_EQ((std::vector<std::wstring>{L"Already backup to \n" + typed + L"|Backup registry"}), Backup(&typed));
    EXPECT_TRUE(FileExists(typed));
    SimFileDialog dialog;
    EXPECT_TRUE(SimGetFileDialog(0, &dialog) && dialog.save);

    // Cancelled, or a name longer than the buffer (the dialog then fails): silence.
    EXPECT_TRUE(Backup(NULL).empty());
    std::wstring tooLong = folder + L"\\" + std::wstring(260, L'n');
    EXPECT_TRUE(Backup(&tooLong).empty());

    // A path that cannot be written, and a copy refused for any reason but "not
    // supported", which must not fall back to the hive save.
    std::wstring missing = folder + L"\\missing\\saved.reg";
    struct { const std::wstring &path; DWORD copyError; } failures[] = {{missing, 0}, {saved, ERROR_ACCESS_DENIED}};
    for (auto &f : failures) {
        SimSetFailure(SIM_FAIL_REGCOPY, f.copyError);
        EXPECT_EQ((std::vector<std::wstring>{L"The backup error.|Backup error!"}), Backup(&f.path)) << f.copyError;
        EXPECT_FALSE(FileExists(f.path)) << f.copyError;
    }
}

TEST_F(RegistryBackup, RestoreAsksFirstThenOffersTheSoftReset)
{
    SetValue(1);
    ASSERT_EQ(1u, Backup(&saved).size());
    SetValue(2);

    // No at the question: no file dialog.
    SimClearRecords();
    SimQueueMessageBoxAnswer(IDNO);
    RestoreRegistry();
    EXPECT_EQ(0, SimFileDialogCount());
    EXPECT_EQ(1, SimMessageBoxCount());

    // Restored, No at the offer: the running registry stays in use, the image waits.
    SimMessageBox box = Restore(saved, IDNO);
    EXPECT_STREQ(L"Confirm", box.caption);
    EXPECT_EQ(2u, Value(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(0, SimPowerActionCount());
    EXPECT_TRUE(SimHasStagedImage());

    // Yes: the device restarts with the saved registry.
    Restore(saved, IDYES);
    EXPECT_GT(SimPowerActionCount(), 0);
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(1u, Value(HKEY_LOCAL_MACHINE));
}

TEST_F(RegistryBackup, RestoreFailuresAndTheHiveFallback)
{
    ASSERT_EQ(1, SaveRegistryToFile(saved.c_str()));
    std::wstring other = PathBesideTests(L"ZelvoRudore.exe"), cut = folder + L"\\cut.reg";
    ASSERT_TRUE(CopyFileW(saved.c_str(), cut.c_str(), FALSE));
    HANDLE file = CreateFileW(cut.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    SetFilePointer(file, -10, NULL, FILE_END);
    SetEndOfFile(file);
    CloseHandle(file);

    // Another program's file, a good image refused for any reason but "not supported"
    // (the hive replacement is then not tried), and a cut image that the hive
    // replacement is given and refuses: reported, nothing staged.
    struct { const std::wstring &path; DWORD restoreError; } failures[] = {
        {other, 0}, {saved, ERROR_ACCESS_DENIED}, {cut, ERROR_NOT_SUPPORTED}};
    for (auto &f : failures) {
        SimSetFailure(SIM_FAIL_REGRESTORE, f.restoreError);
        SimMessageBox box = Restore(f.path, IDYES);
        EXPECT_STREQ(L"The backup error.", box.text);
        EXPECT_STREQ(L"Backup error", box.caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONHAND), box.flags);
        EXPECT_FALSE(SimHasStagedImage()) << f.restoreError;
        EXPECT_EQ(0, SimPowerActionCount());
    }

    // A device without the whole-registry calls: the hive save and replacement carry
    // the machine's registry, the classes with it, through the soft reset.
    DeleteFileW(saved.c_str());
    SimSetFailure(SIM_FAIL_REGCOPY, ERROR_NOT_SUPPORTED);
    SimSetFailure(SIM_FAIL_REGRESTORE, ERROR_NOT_SUPPORTED);
    SetValue(1);
    ASSERT_EQ(1u, Backup(&saved).size());
    ASSERT_TRUE(FileExists(saved));
    SetValue(2);
    EXPECT_STREQ(L"Confirm", Restore(saved, IDYES).caption);
    EXPECT_EQ(1u, Value(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(1u, Value(HKEY_CLASSES_ROOT));
}
