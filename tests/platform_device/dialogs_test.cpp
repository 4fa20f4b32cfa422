// Message boxes and file dialogs answered and recorded in tests.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <string>
#include "testkit.h"

namespace {

HWND MakeOwner()
{
    return CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
}

OPENFILENAMEW RegistryRecord(HWND owner, wchar_t *buffer, DWORD size)
{
    OPENFILENAMEW ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"Registry Files (*.reg)\0*.reg\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    ofn.lpstrTitle = L"Export to Registry File";
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return ofn;
}

}

class AnsweredDialogs : public DeviceTest {};

TEST_F(AnsweredDialogs, MessageBoxesAreRecordedAndAnswered)
{
    HWND owner = MakeOwner();
    ASSERT_TRUE(owner != NULL);
    // Unqueued, each takes the answer that does least (the program asks only these two kinds).
    EXPECT_EQ(IDOK, MessageBoxW(owner, L"Plain", L"Zelvo Rudore", MB_OK));
    EXPECT_EQ(IDNO, MessageBoxW(owner, L"Question?", L"Confirm!", MB_YESNO | MB_ICONQUESTION));
    // Queued answers are used in order.
    SimQueueMessageBoxAnswer(IDYES);
    SimQueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(IDYES, MessageBoxW(owner, L"First", L"Confirm!", 0x24));
    EXPECT_EQ(IDNO, MessageBoxW(NULL, NULL, NULL, 0x24));
    EXPECT_EQ(IDNO, MessageBoxW(owner, L"Unqueued again", L"Confirm!", 0x24));

    // Owner, text, caption and flags are recorded as every test of a message reads them.
    ASSERT_EQ(5, SimMessageBoxCount());
    SimMessageBox record;
    ASSERT_TRUE(SimGetMessageBox(3, &record));
    EXPECT_EQ(NULL, record.owner);
    EXPECT_STREQ(L"", record.text);
    EXPECT_EQ(IDNO, record.answer);
    EXPECT_FALSE(SimGetMessageBox(5, &record));
    EXPECT_FALSE(SimGetMessageBox(-1, &record));

    // A text longer than the record is cut, never overrun; the log keeps the latest.
    std::wstring longText(5000, L'w');
    MessageBoxW(owner, longText.c_str(), L"Long", MB_OK);
    record = LastMessageBox();
    EXPECT_EQ(1023u, wcslen(record.text));
    for (int i = 0; i < 300; ++i) {
        wchar_t text[32];
        wsprintfW(text, L"box %d", i);
        MessageBoxW(owner, text, L"Many", MB_OK);
    }
    EXPECT_EQ(128, SimMessageBoxCount());
    EXPECT_STREQ(L"box 299", LastMessageBox().text);
    ASSERT_TRUE(SimGetMessageBox(0, &record));
    EXPECT_STREQ(L"box 172", record.text);

    SimClearRecords();
    EXPECT_EQ(0, SimMessageBoxCount());
    DestroyWindow(owner);
}

TEST_F(AnsweredDialogs, FileDialogsAreRecordedAndAnsweredWithinTheBuffer)
{
    HWND owner = MakeOwner();
    wchar_t path[256];

    // Nothing queued: cancelled, with no error.
    path[0] = 0;
    OPENFILENAMEW ofn = RegistryRecord(owner, path, 256);
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(0u, CommDlgExtendedError());
    EXPECT_EQ(L'\0', path[0]);

    // Queued answers in order, a cancel among them; the record keeps what was given
    // back (the rest of it is read by the tests of the program's file dialogs). The
    // program asks for no default extension, file title or offsets.
    SimQueueFileDialogAnswer(L"\\My Documents\\backup.reg");
    SimQueueFileDialogAnswer(NULL);
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_STREQ(L"\\My Documents\\backup.reg", path);
    EXPECT_FALSE(GetOpenFileNameW(&ofn)) << "a queued cancel";
    SimFileDialog record;
    ASSERT_TRUE(SimGetFileDialog(1, &record));
    EXPECT_STREQ(L"\\My Documents\\backup.reg", record.answer);
    EXPECT_FALSE(record.cancelled);
    ASSERT_TRUE(SimGetFileDialog(2, &record));
    EXPECT_TRUE(record.cancelled);
    EXPECT_STREQ(L"", record.answer);

    // A path longer than the buffer fails like the real dialog and writes nothing past it.
    struct { wchar_t file[20]; wchar_t guard[8]; } small;
    wmemset(small.file, L'#', 20);
    wmemset(small.guard, L'G', 8);
    ofn = RegistryRecord(owner, small.file, 20);
    SimQueueFileDialogAnswer(L"\\My Documents\\a name far too long.reg");
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ((DWORD)FNERR_BUFFERTOOSMALL, CommDlgExtendedError());
    EXPECT_EQ(wcslen(L"\\My Documents\\a name far too long.reg") + 1, (size_t)small.file[0]);
    EXPECT_EQ(L'\0', small.file[1]);
    for (wchar_t g : small.guard) EXPECT_EQ(L'G', g);
    record = SimFileDialog();
    ASSERT_TRUE(SimGetFileDialog(SimFileDialogCount() - 1, &record));
    EXPECT_TRUE(record.cancelled);
    EXPECT_EQ(20u, record.maxFile);

    // Exactly fitting, terminator included, is fine.
    SimQueueFileDialogAnswer(L"\\0123456789abcdefg");   // 18 characters and the null: 19
    ofn.nMaxFile = 19;
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_STREQ(L"\\0123456789abcdefg", small.file);
    EXPECT_EQ(0u, CommDlgExtendedError());

    // The device's own record size is accepted; a size of neither kind is not.
    SimQueueFileDialogAnswer(L"\\x.reg");
    ofn = RegistryRecord(owner, path, 256);
    ofn.lStructSize = 76;
    EXPECT_TRUE(GetOpenFileNameW(&ofn));
    ofn.lStructSize = 77;
    SimQueueFileDialogAnswer(L"\\y.reg");
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ((DWORD)CDERR_STRUCTSIZE, CommDlgExtendedError());
    EXPECT_FALSE(GetOpenFileNameW(NULL));
    DestroyWindow(owner);
}

TEST(RealDialogs, AreShownOutsideTests)
{
    // Outside a test the real message box appears; it is ended from its own loop.
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
