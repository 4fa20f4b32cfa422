#include <vector>
#include "testkit.h"
#include "app/rudore.h"
#include "tools/tools.h"

class RegistryBackup : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        g_hMainWnd = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        wsprintfW(folder, L"%sbackup-test-%lu", temp, GetCurrentProcessId());
        CreateDirectoryW(folder, NULL);
        path = std::wstring(folder) + L"\\saved.reg";
    }
    void TearDown() override
    {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(folder);
        DestroyWindow(g_hMainWnd);
        g_hMainWnd = NULL;
        DeviceTest::TearDown();
    }
    wchar_t folder[MAX_PATH];
    std::wstring path;
};

static bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(RegistryBackup, BackupAsksForAFileAndReportsThePath)
{
    SimQueueFileDialogAnswer(path.c_str());
    BackupRegistry();
    ASSERT_EQ(1, SimFileDialogCount());
    SimFileDialog dialog;
    SimGetFileDialog(0, &dialog);
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(g_hMainWnd, dialog.owner);
    EXPECT_STREQ(L"Export to Registry File", dialog.title);
    EXPECT_STREQ(L"Registry Files (*.reg)|*.reg|", dialog.filter);
    EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), dialog.flags);
    EXPECT_EQ(256u, dialog.maxFile);
    EXPECT_TRUE(FileExists(path));
    SimMessageBox box = LastMessageBox();
    EXPECT_EQ(L"Already backup to \n" + path, std::wstring(box.text));
    EXPECT_STREQ(L"Backup registry", box.caption);
    EXPECT_EQ((UINT)MB_OK, box.flags);
    EXPECT_EQ(g_hMainWnd, box.owner);

    // Cancelling ends the tool silently.
    SimClearRecords();
    SimQueueFileDialogAnswer(NULL);
    BackupRegistry();
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(RegistryBackup, BackupFailuresAndTheHiveFallback)
{
    SimSetFailure(SIM_FAIL_REGCOPY, ERROR_ACCESS_DENIED);
    SimQueueFileDialogAnswer(path.c_str());
    BackupRegistry();
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"The backup error.", box.text);
    EXPECT_STREQ(L"Backup error!", box.caption);
    EXPECT_EQ((UINT)MB_OK, box.flags);
    EXPECT_FALSE(FileExists(path));

    // Not supported: the hive save is used instead.
    SimSetFailure(SIM_FAIL_REGCOPY, ERROR_NOT_SUPPORTED);
    SimQueueFileDialogAnswer(path.c_str());
    BackupRegistry();
    EXPECT_STREQ(L"Backup registry", LastMessageBox().caption);
    EXPECT_TRUE(FileExists(path));

    // A path that cannot be written is a failure, and leaves nothing behind.
    SimSetFailure(SIM_FAIL_REGCOPY, 0);
    std::wstring unwritable = std::wstring(folder) + L"\\missing\\saved.reg";
    SimQueueFileDialogAnswer(unwritable.c_str());
    BackupRegistry();
    EXPECT_STREQ(L"Backup error!", LastMessageBox().caption);
    EXPECT_FALSE(FileExists(unwritable));
}

TEST_F(RegistryBackup, RestoreAsksFirstThenOffersTheSoftReset)
{
    const wchar_t key[] = L"Software\\Rudore Test";
    WriteRegDword(HKEY_LOCAL_MACHINE, key, L"Value", 1);
    ASSERT_EQ(1, SaveRegistryToFile(path.c_str()));
    WriteRegDword(HKEY_LOCAL_MACHINE, key, L"Value", 2);

    // No at the question: no file dialog.
    SimQueueMessageBoxAnswer(IDNO);
    RestoreRegistry();
    EXPECT_EQ(0, SimFileDialogCount());
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"Option \"Restore\" will restore the registry that is the same as pre-backup, please choose a "
                 L"backup file(.reg) \n are you sure?",
                 box.text);
    EXPECT_STREQ(L"Alarm", box.caption);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), box.flags);

    // Restored, but No at the offer: the running registry stays in use.
    SimClearRecords();
    SimQueueMessageBoxAnswer(IDYES);
    SimQueueFileDialogAnswer(path.c_str());
    SimQueueMessageBoxAnswer(IDNO);
    RestoreRegistry();
    ASSERT_EQ(2, SimMessageBoxCount());
    box = LastMessageBox();
    EXPECT_STREQ(L"Success !\nSoft Reset you device to make Restoration effectitve", box.text);
    EXPECT_STREQ(L"Confirm", box.caption);
    EXPECT_EQ((UINT)MB_YESNO, box.flags);
    EXPECT_EQ(g_hMainWnd, box.owner);
    SimFileDialog dialog;
    SimGetFileDialog(0, &dialog);
    EXPECT_FALSE(dialog.save);
    EXPECT_STREQ(L"Export to Registry File", dialog.title);
    DWORD value = 0;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, key, L"Value", &value));
    EXPECT_EQ(2u, value);
    EXPECT_EQ(0, SimPowerActionCount());

    // Yes: the device restarts with the saved registry.
    SimClearRecords();
    SimQueueMessageBoxAnswer(IDYES);
    SimQueueFileDialogAnswer(path.c_str());
    SimQueueMessageBoxAnswer(IDYES);
    RestoreRegistry();
    EXPECT_GT(SimPowerActionCount(), 0);
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, key, L"Value", &value));
    EXPECT_EQ(1u, value);
}

TEST_F(RegistryBackup, RestoreFailuresAndTheHiveFallback)
{
    // Not an image: reported, nothing changes.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(file, "REGEDIT4\r\n", 10, &written, NULL);
    CloseHandle(file);
    SimQueueMessageBoxAnswer(IDYES);
    SimQueueFileDialogAnswer(path.c_str());
    RestoreRegistry();
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"The backup error.", box.text);
    EXPECT_STREQ(L"Backup error", box.caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONHAND), box.flags);
    EXPECT_FALSE(SimHasStagedImage());

    // Any error but "not supported" fails without trying the hive call.
    DeleteFileW(path.c_str());
    ASSERT_EQ(1, SaveRegistryToFile(path.c_str()));
    SimSetFailure(SIM_FAIL_REGRESTORE, ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, RestoreRegistryFromFile(path.c_str()));
    EXPECT_FALSE(SimHasStagedImage());

    // "Not supported": the hive replacement stages the same image.
    SimSetFailure(SIM_FAIL_REGRESTORE, ERROR_NOT_SUPPORTED);
    EXPECT_EQ(1, RestoreRegistryFromFile(path.c_str()));
    EXPECT_TRUE(SimHasStagedImage());
}
