// What the program asks of the device's screen: a second copy brings the first forward
// with its dialog, and the file dialogs users see hand back device paths.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include "ceplatform.h"
#include "testkit.h"

static HWND Popup(int x, int cx, HWND owner = NULL)
{
    return CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, x, x, cx, cx, owner, NULL, NULL, NULL);
}

using DeviceScreen = DeviceTest;

TEST_F(DeviceScreen, TheLowBitBringsAWindowForwardWithItsActiveOwnedWindow)
{
    HWND first = Popup(0, 200), second = Popup(0, 200), owned = Popup(50, 100, first);
    SetActiveWindow(owned);
    SetForegroundWindow(second);
    PumpMessages(50);
    EXPECT_TRUE(SetForegroundWindow((HWND)((ULONG_PTR)first | 1)));
    PumpMessages(50);
    EXPECT_EQ(owned, GetForegroundWindow());
    for (HWND w : {owned, second, first}) DestroyWindow(w);
}

TEST(RealDialogs, AFileDialogShownOutsideTestsHandsBackADevicePath)
{
    ASSERT_EQ(0u, SimTestFlags());
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn = {sizeof ofn};
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
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
