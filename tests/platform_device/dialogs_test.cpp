// Message boxes and file dialogs answered and recorded in tests, shown outside them.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <dlgs.h>
#include <string>
#include "testkit.h"

namespace {

OPENFILENAMEW RegistryRecord(wchar_t *buffer, DWORD size)
{
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = L"Registry Files (*.reg)\0*.reg\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return ofn;
}

}

using AnsweredDialogs = DeviceTest;

TEST_F(AnsweredDialogs, MessageBoxesAreRecordedAndAnswered)
{
    // Unqueued, each takes the answer that does least (the program asks only these two kinds).
    EXPECT_EQ(IDOK, MessageBoxW(NULL, L"Plain", L"Zelvo Rudore", MB_OK));
    EXPECT_EQ(IDNO, MessageBoxW(NULL, L"Question?", L"Confirm!", MB_YESNO | MB_ICONQUESTION));
    // Queued answers are used in order.
    SimQueueMessageBoxAnswer(IDYES);
    SimQueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(IDYES, MessageBoxW(NULL, L"First", L"Confirm!", 0x24));
    EXPECT_EQ(IDNO, MessageBoxW(NULL, NULL, NULL, 0x24));
    EXPECT_EQ(IDNO, MessageBoxW(NULL, L"Unqueued again", L"Confirm!", 0x24));
    ASSERT_EQ(5, SimMessageBoxCount());
    SimMessageBox record;
    ASSERT_TRUE(SimGetMessageBox(3, &record));
    EXPECT_STREQ(L"", record.text);
    EXPECT_FALSE(SimGetMessageBox(5, &record));

    // A text longer than the record is cut, never overrun.
    MessageBoxW(NULL, std::wstring(5000, L'w').c_str(), L"Long", MB_OK);
    EXPECT_EQ(1023u, wcslen(LastMessageBox().text));
}

TEST_F(AnsweredDialogs, FileDialogsAreAnsweredWithinTheBuffer)
{
    wchar_t path[256] = L"";
    OPENFILENAMEW ofn = RegistryRecord(path, 256);
    // Nothing queued: cancelled, with no error. Queued answers come in order, a cancel among them.
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(0u, CommDlgExtendedError());
    SimQueueFileDialogAnswer(L"\\My Documents\\backup.reg");
    SimQueueFileDialogAnswer(NULL);
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_STREQ(L"\\My Documents\\backup.reg", path);
    EXPECT_FALSE(GetOpenFileNameW(&ofn));

    // A path longer than the buffer fails like the real dialog and writes nothing past it;
    // one that fits exactly, terminator included, is given back.
    struct { wchar_t file[20]; wchar_t guard[8]; } small;
    wmemset(small.file, L'#', 20);
    wmemset(small.guard, L'G', 8);
    ofn = RegistryRecord(small.file, 20);
    SimQueueFileDialogAnswer(L"\\My Documents\\a name far too long.reg");
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ((DWORD)FNERR_BUFFERTOOSMALL, CommDlgExtendedError());
    EXPECT_EQ(wcslen(L"\\My Documents\\a name far too long.reg") + 1, (size_t)small.file[0]);
    for (wchar_t g : small.guard) EXPECT_EQ(L'G', g);
    SimQueueFileDialogAnswer(L"\\0123456789abcdefg");   // 18 characters and the null: 19
    ofn.nMaxFile = 19;
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_STREQ(L"\\0123456789abcdefg", small.file);

    // The device's own record size is accepted; a size of neither kind is not.
    ofn = RegistryRecord(path, 256);
    ofn.lStructSize = 76;
    SimQueueFileDialogAnswer(L"\\x.reg");
    EXPECT_TRUE(GetOpenFileNameW(&ofn));
    ofn.lStructSize = 77;
    SimQueueFileDialogAnswer(L"\\y.reg");
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ((DWORD)CDERR_STRUCTSIZE, CommDlgExtendedError());
}

TEST(RealDialogs, AreShownOutsideTests)
{
    ASSERT_EQ(0u, SimTestFlags());
    int before = SimMessageBoxCount();
    std::wstring caption;
    int answer = 0;
    bool appeared = DriveModal([&] { answer = MessageBoxW(NULL, L"Really shown", L"Device", MB_OKCANCEL); },
                               [&](HWND box) {
                                   caption = WindowText(box);
                                   PostMessageW(box, WM_COMMAND, IDOK, 0);
                               });
    EXPECT_TRUE(appeared);
    EXPECT_EQ(L"Device", caption);
    EXPECT_EQ(IDOK, answer);
    EXPECT_EQ(before, SimMessageBoxCount());
}

TEST(RealDialogs, FileDialogsHandBackDevicePaths)
{
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn = RegistryRecord(file, MAX_PATH);
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    BOOL chosen = FALSE;
    bool appeared = DriveModal([&] { chosen = GetOpenFileNameW(&ofn); }, [](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, L"C:\\windows\\Rings\\Alarm1.wav");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(appeared);
    ASSERT_TRUE(chosen);
    EXPECT_STREQ(L"\\Windows\\Rings\\Alarm1.wav", file);
    EXPECT_EQ(15, ofn.nFileOffset);
    EXPECT_EQ(22, ofn.nFileExtension);
}
