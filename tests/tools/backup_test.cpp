// Backup and restore as the Tools menu runs them: the file dialog, the whole-registry
// calls with the hive calls behind them, and the boxes shown.
#include "testkit.h"
#include "app/rudore.h"
#include "tools/tools.h"

// Files go to the test's private device folder, which the end of the test removes.
class RegistryBackup : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        g_hMainWnd = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        wchar_t device[MAX_PATH];
        ASSERT_TRUE(SimGetDeviceDir(device, MAX_PATH));
        folder = device;
    }
    void TearDown() override
    {
        DestroyWindow(g_hMainWnd);
        g_hMainWnd = NULL;
        DeviceTest::TearDown();
    }
    std::wstring File(const wchar_t *name) const { return folder + L"\\" + name; }

    // The backup with `path` chosen (NULL cancels); the boxes it showed.
    std::vector<SimMessageBox> Backup(const wchar_t *path)
    {
        SimClearRecords();
        SimQueueFileDialogAnswer(path);
        BackupRegistry();
        return MessageBoxesFrom(0);
    }
    // The restore answered Yes, `path` chosen, `offer` given to the soft-reset offer.
    SimMessageBox Restore(const wchar_t *path, int offer)
    {
        SimClearRecords();
        SimQueueMessageBoxAnswer(IDYES);
        SimQueueFileDialogAnswer(path);
        SimQueueMessageBoxAnswer(offer);
        RestoreRegistry();
        return LastMessageBox();
    }
    std::wstring folder;
};

// A box as its text, caption and flags, to compare whole.
static std::wstring Shown(const SimMessageBox &box)
{
    wchar_t flags[16];
    wsprintfW(flags, L"|flags %x", box.flags);
    return std::wstring(box.text) + L"|" + box.caption + flags;
}

static bool FileExists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

static DWORD Value(HKEY root)
{
    DWORD value = 0;
    return ReadRegDword(root, L"Software\\Rudore Test", L"Value", &value) ? value : 0;
}

TEST_F(RegistryBackup, BackupSavesToTheChosenFileAndSaysWhere)
{
    // A name typed without an extension is used as typed.
    std::wstring typed = File(L"saved");
    std::vector<SimMessageBox> boxes = Backup(typed.c_str());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Already backup to \n" + typed + L"|Backup registry|flags 0", Shown(boxes[0]));
    EXPECT_EQ(g_hMainWnd, boxes[0].owner);
    EXPECT_TRUE(FileExists(typed));
    EXPECT_FALSE(FileExists(typed + L".reg"));
    SimFileDialog dialog;
    ASSERT_TRUE(SimGetFileDialog(0, &dialog));
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(g_hMainWnd, dialog.owner);
    EXPECT_STREQ(L"Export to Registry File", dialog.title);
    EXPECT_STREQ(L"Registry Files (*.reg)|*.reg|", dialog.filter);
    EXPECT_EQ(0u, dialog.filterIndex);
    EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), dialog.flags);
    EXPECT_EQ(256u, dialog.maxFile);
    EXPECT_STREQ(L"", dialog.defaultExt);
    EXPECT_STREQ(L"", dialog.initialDir);

    // Cancelled, or a name longer than the buffer (the dialog then fails): silence.
    EXPECT_TRUE(Backup(NULL).empty());
    std::wstring tooLong = folder + L"\\" + std::wstring(260, L'n');
    EXPECT_TRUE(Backup(tooLong.c_str()).empty());

    // Failures: a path that cannot be written, and a copy refused for any reason but
    // "not supported", which must not fall back to the hive save.
    std::wstring saved = File(L"saved.reg");
    struct {
        const wchar_t *path;
        DWORD copyError;
    } failures[] = {{L"missing\\saved.reg", 0}, {L"saved.reg", ERROR_ACCESS_DENIED}};
    for (auto &f : failures) {
        SimSetFailure(SIM_FAIL_REGCOPY, f.copyError);
        boxes = Backup(File(f.path).c_str());
        ASSERT_EQ(1u, boxes.size()) << f.copyError;
        EXPECT_EQ(L"The backup error.|Backup error!|flags 0", Shown(boxes[0]));
        EXPECT_FALSE(FileExists(File(f.path))) << f.copyError;
    }
}

TEST_F(RegistryBackup, RestoreAsksFirstThenOffersTheSoftReset)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Rudore Test", L"Value", 1);
    std::wstring saved = File(L"saved.reg");
    ASSERT_EQ(1u, Backup(saved.c_str()).size());
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Rudore Test", L"Value", 2);

    // No at the question: no file dialog.
    SimClearRecords();
    SimQueueMessageBoxAnswer(IDNO);
    RestoreRegistry();
    EXPECT_EQ(0, SimFileDialogCount());
    EXPECT_EQ(L"Option \"Restore\" will restore the registry that is the same as pre-backup, please choose a "
              L"backup file(.reg) \n are you sure?|Alarm|flags 24",
              Shown(LastMessageBox()));

    // Cancelling the file dialog ends it silently.
    SimClearRecords();
    SimQueueMessageBoxAnswer(IDYES);
    RestoreRegistry();
    EXPECT_EQ(1, SimMessageBoxCount());

    // Restored, No at the offer: the running registry stays in use, the image waits.
    SimMessageBox box = Restore(saved.c_str(), IDNO);
    EXPECT_EQ(2, SimMessageBoxCount());
    EXPECT_EQ(L"Success !\nSoft Reset you device to make Restoration effectitve|Confirm|flags 4", Shown(box));
    EXPECT_EQ(g_hMainWnd, box.owner);
    SimFileDialog dialog;
    EXPECT_TRUE(SimGetFileDialog(0, &dialog) && !dialog.save);
    EXPECT_EQ(2u, Value(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(0, SimPowerActionCount());
    EXPECT_TRUE(SimHasStagedImage());

    // Yes: the device restarts with the saved registry.
    Restore(saved.c_str(), IDYES);
    EXPECT_GT(SimPowerActionCount(), 0);
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(1u, Value(HKEY_LOCAL_MACHINE));
}

TEST_F(RegistryBackup, RestoreFailuresAndTheHiveFallback)
{
    std::wstring saved = File(L"saved.reg");
    ASSERT_EQ(1, SaveRegistryToFile(saved.c_str()));
    std::wstring other = PathBesideTests(L"ZelvoRudore.exe");

    // Another program's file, and a good image refused for any reason but "not
    // supported": reported, and the hive replacement is not tried.
    struct {
        const std::wstring &path;
        DWORD restoreError;
    } failures[] = {{other, 0}, {saved, ERROR_ACCESS_DENIED}};
    for (auto &f : failures) {
        SimSetFailure(SIM_FAIL_REGRESTORE, f.restoreError);
        EXPECT_EQ(L"The backup error.|Backup error|flags 10", Shown(Restore(f.path.c_str(), IDYES)));
        EXPECT_FALSE(SimHasStagedImage()) << f.restoreError;
        EXPECT_EQ(0, SimPowerActionCount());
    }

    // A device without the whole-registry calls: the hive save and replacement carry
    // the machine's registry, the classes with it, through the soft reset.
    DeleteFileW(saved.c_str());
    SimSetFailure(SIM_FAIL_REGCOPY, ERROR_NOT_SUPPORTED);
    SimSetFailure(SIM_FAIL_REGRESTORE, ERROR_NOT_SUPPORTED);
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Rudore Test", L"Value", 1);
    WriteRegDword(HKEY_CLASSES_ROOT, L"Software\\Rudore Test", L"Value", 1);
    Backup(saved.c_str());
    ASSERT_TRUE(FileExists(saved));
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Rudore Test", L"Value", 2);
    WriteRegDword(HKEY_CLASSES_ROOT, L"Software\\Rudore Test", L"Value", 2);
    EXPECT_STREQ(L"Confirm", Restore(saved.c_str(), IDYES).caption);
    EXPECT_EQ(1u, Value(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(1u, Value(HKEY_CLASSES_ROOT));
}
