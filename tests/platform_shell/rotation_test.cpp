#include "shell_testkit.h"
#include "resource.h"

namespace {

using ShellRotation = DeviceTest;

const DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE;

RECT BetweenBars(int cx, int cy)
{
    return MakeRect(0, SIM_BAR_HEIGHT, cx, cy - SIM_BAR_HEIGHT);
}

}  // namespace

TEST_F(ShellRotation, EveryFullScreenWindowAndBarFollowsTheScreen)
{
    ScreenGuard guard;
    // The main window between the bars, a host with its page, and a browser-like dialog
    // with its own bar above them.
    HWND main = CreateCommandSink(0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - 2 * SIM_BAR_HEIGHT);
    HWND mainBar = NULL;
    ASSERT_TRUE(CreateBar(main, IDR_MAINMENU, 0, &mainBar));
    DialogProbe host, page, browser;
    host.shellFlags = 0x2D;
    page.shellFlags = browser.shellFlags = 0x0D;
    HWND hostDialog = CreateProbeDialog(DialogTemplate(kPopupStyle, L"Host"), main, &host);
    HWND pageDialog = CreateProbeDialog(DialogTemplate(WS_CHILD | WS_VISIBLE, L"", 0, 0, 100, 50), hostDialog, &page);
    HWND browserDialog = CreateProbeDialog(DialogTemplate(kPopupStyle, L"Browser"), hostDialog, &browser);
    ASSERT_TRUE(hostDialog && pageDialog && browserDialog);
    HWND browserBar = NULL;
    ASSERT_TRUE(CreateBar(browserDialog, IDR_MAINMENU, 0, &browserBar));

    // The page keeps the place its template gives it inside the host, and Done stays
    // the host's: the page gets no IDOK of its own.
    RECT pageRect = {0, 0, 100, 50};
    MapDialogRect(pageDialog, &pageRect);
    MapWindowPoints(hostDialog, NULL, (POINT *)&pageRect, 2);
    EXPECT_EQ(pageRect, WindowRect(pageDialog));
    host.endOnOk = browser.endOnOk = false;
    SendMessageW(FindDoneKey(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, host.okCommands + browser.okCommands);
    EXPECT_EQ(0, page.okCommands);

    struct {
        int cx, cy;
    } shapes[] = {{SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY}, {SIM_SQUARE_CX, SIM_SQUARE_CY},
                  {SIM_PORTRAIT_CX, SIM_PORTRAIT_CY}};
    for (const auto &shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape.cx << "x" << shape.cy);
        int hostSizes = host.sizeMessages, pageSizes = page.sizeMessages;
        ASSERT_TRUE(SetScreenSize(shape.cx, shape.cy));
        PumpMessages(50);

        RECT work = BetweenBars(shape.cx, shape.cy);
        EXPECT_EQ(MakeRect(0, 0, shape.cx, SIM_BAR_HEIGHT), WindowRect(FindNavBar()));
        for (HWND window : {main, hostDialog, browserDialog}) EXPECT_EQ(work, WindowRect(window));
        for (HWND bar : {mainBar, browserBar, OwnedBar(hostDialog)})
            EXPECT_EQ(MakeRect(0, shape.cy - SIM_BAR_HEIGHT, shape.cx, shape.cy), WindowRect(bar));
        // The host relayouts on its size message; its page is told too, but its place
        // stays the host's business.
        EXPECT_GT(host.sizeMessages, hostSizes);
        EXPECT_EQ(work.bottom - work.top, host.lastSize.cy);
        EXPECT_GT(page.sizeMessages, pageSizes);
        EXPECT_EQ(pageRect, WindowRect(pageDialog));
        EXPECT_EQ(shape.cx, WindowRect(FindKey(mainBar, L"Rudore")).right);
    }
    DestroyWindow(main);
}

TEST_F(ShellRotation, DestroyedDialogsMakeRoomForNewOnes)
{
    ScreenGuard guard;
    std::vector<WORD> dialogTemplate = DialogTemplate(kPopupStyle, L"Passing");
    // Far more dialogs than the shell keeps at once, each gone before the next.
    for (int i = 0; i < 100; ++i) {
        DialogProbe passing;
        passing.shellFlags = 0x2D;
        HWND dialog = CreateProbeDialog(dialogTemplate, NULL, &passing);
        ASSERT_TRUE(dialog);
        DestroyWindow(dialog);
    }
    DialogProbe last;
    last.shellFlags = 0x2D;
    HWND dialog = CreateProbeDialog(dialogTemplate, NULL, &last);
    ASSERT_TRUE(SetScreenSize(SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY));
    EXPECT_EQ(BetweenBars(SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY), WindowRect(dialog));
    DestroyWindow(dialog);
}
