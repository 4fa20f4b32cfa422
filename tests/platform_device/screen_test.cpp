// The device's screen: default placement, the foreground request, rotation, the power
// key's dark screen, and the boxes and file dialogs tests answer and users see.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <dlgs.h>
#include <string>
#include "ceplatform.h"
#include "testkit.h"

namespace {

HWND Popup(int x, int y, int cx, int cy, HWND owner = NULL)
{
    return CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, x, y, cx, cy, owner, NULL, NULL, NULL);
}

void PressPower()
{
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
}

OPENFILENAMEW RegistryRecord(wchar_t *buffer, DWORD size)
{
    OPENFILENAMEW ofn = {sizeof ofn};
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    return ofn;
}

}  // namespace

using DeviceScreen = DeviceTest;

TEST_F(DeviceScreen, WindowsFillTheScreenBelowTheBarInEveryShapeAndComeForwardWithTheirOwn)
{
    for (int shape : {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE}) {
        ASSERT_TRUE(SimRotate(shape));
        HWND window = Popup(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
        RECT r, want = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        EXPECT_TRUE(GetWindowRect(window, &r) && EqualRect(&want, &r)) << shape;
        DestroyWindow(window);
    }
    // A desktop that starts again starts upright: the restore turns it to the shape the
    // profile remembers; the end of a test turns it upright.
    ASSERT_TRUE(SetScreenSize(SIM_PORTRAIT_CX, SIM_PORTRAIT_CY));
    EXPECT_TRUE(SimRestoreScreenShape());
    EXPECT_EQ(SIM_SQUARE, SimGetScreenShape());
    SimTestEnd();
    EXPECT_EQ(SIM_PORTRAIT_CX, GetSystemMetrics(SM_CXSCREEN));
    SimTestBegin(SIM_TEST_ALL);

    // With the low bit, a window's active owned window comes along and takes the focus,
    // as a second copy of the program brings the first forward with its dialog.
    HWND first = Popup(0, 0, 200, 200), second = Popup(0, 0, 200, 200), owned = Popup(50, 50, 100, 100, first);
    SetActiveWindow(owned);
    SetForegroundWindow(second);
    PumpMessages(50);
    EXPECT_TRUE(SetForegroundWindow((HWND)((ULONG_PTR)first | 1)));
    PumpMessages(50);
    EXPECT_EQ(owned, GetForegroundWindow());
    for (HWND w : {owned, second, first}) DestroyWindow(w);
}

TEST_F(DeviceScreen, InATestThePowerKeyLeavesTheScreenAlone)
{
    // A dark screen would cover every later test; a second press wakes.
    PressPower();
    EXPECT_TRUE(SimIsSuspended());
    EXPECT_TRUE(FindWindowW(L"DeviceScreenOff", NULL) == NULL);
    PressPower();
    EXPECT_FALSE(SimIsSuspended());
}

TEST(ScreenOff, DarkensTheScreenUntilATap)
{
    ASSERT_EQ(0u, SimTestFlags());
    PressPower();
    HWND dark = FindWindowW(L"DeviceScreenOff", NULL);
    ASSERT_TRUE(dark != NULL);
    EXPECT_TRUE(SimIsSuspended());
    EXPECT_EQ(dark, WindowFromPoint({100, 300}));
    // Pressing down is not yet a tap; lifting is.
    SendMessageW(dark, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 300));
    EXPECT_TRUE(IsWindow(dark));
    SendMessageW(dark, WM_LBUTTONUP, 0, MAKELPARAM(100, 300));
    EXPECT_FALSE(IsWindow(dark));
    EXPECT_FALSE(SimIsSuspended());
}

TEST_F(DeviceScreen, BoxesAndFileDialogsAreRecordedAndAnswered)
{
    // Unqueued, each takes the answer that does least; queued answers are used in order.
    EXPECT_EQ(IDOK, MessageBoxW(NULL, L"Plain", L"Zelvo Rudore", MB_OK));
    SimQueueMessageBoxAnswer(IDYES);
    EXPECT_EQ(IDYES, MessageBoxW(NULL, L"First", L"Confirm!", MB_YESNO));
    EXPECT_EQ(IDNO, MessageBoxW(NULL, std::wstring(5000, L'w').c_str(), NULL, MB_YESNO));
    ASSERT_EQ(3, SimMessageBoxCount());
    EXPECT_EQ(1023u, wcslen(LastMessageBox().text)) << "cut, never overrun";

    wchar_t path[256] = L"";
    OPENFILENAMEW ofn = RegistryRecord(path, 256);
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(0u, CommDlgExtendedError());
    SimQueueFileDialogAnswer(L"\\My Documents\\backup.reg");
    SimQueueFileDialogAnswer(NULL);
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_STREQ(L"\\My Documents\\backup.reg", path);
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    // A path longer than the buffer fails like the real dialog and writes nothing past it.
    struct { wchar_t file[20]; wchar_t guard[8]; } small;
    wmemset(small.guard, L'G', 8);
    ofn = RegistryRecord(small.file, 20);
    ofn.lStructSize = 76;   // the device's own record
    SimQueueFileDialogAnswer(L"\\My Documents\\a name far too long.reg");
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ((DWORD)FNERR_BUFFERTOOSMALL, CommDlgExtendedError());
    EXPECT_EQ(wcslen(L"\\My Documents\\a name far too long.reg") + 1, (size_t)small.file[0]);
    for (wchar_t g : small.guard) EXPECT_EQ(L'G', g);
    ASSERT_EQ(4, SimFileDialogCount());
}

TEST(RealDialogs, AreShownOutsideTestsAndHandBackDevicePaths)
{
    ASSERT_EQ(0u, SimTestFlags());
    int before = SimMessageBoxCount(), answer = 0;
    EXPECT_TRUE(DriveModal([&] { answer = MessageBoxW(NULL, L"Really shown", L"Device", MB_OKCANCEL); },
                           [&](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(IDOK, answer);
    EXPECT_EQ(before, SimMessageBoxCount());

    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn = RegistryRecord(file, MAX_PATH);
    ofn.Flags = OFN_EXPLORER;
    BOOL chosen = FALSE;
    ASSERT_TRUE(DriveModal([&] { chosen = GetOpenFileNameW(&ofn); }, [](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, L"C:\\windows\\Rings\\Alarm1.wav");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }));
    ASSERT_TRUE(chosen);
    EXPECT_STREQ(L"\\Windows\\Rings\\Alarm1.wav", file);
    EXPECT_EQ(15, ofn.nFileOffset);
    EXPECT_EQ(22, ofn.nFileExtension);
}
