#include "shell_testkit.h"
#include "resource.h"

namespace {

class ShellRotation : public DeviceTest {};

const DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE;

RECT BottomStrip(int cx, int cy)
{
    return MakeRect(0, cy - SIM_BAR_HEIGHT, cx, cy);
}

RECT BetweenBars(int cx, int cy)
{
    return MakeRect(0, SIM_BAR_HEIGHT, cx, cy - SIM_BAR_HEIGHT);
}

}  // namespace

TEST_F(ShellRotation, EveryFullScreenWindowAndBarFollowsTheScreen)
{
    ScreenGuard guard;
    ASSERT_EQ(SIM_PORTRAIT_CX, GetSystemMetrics(SM_CXSCREEN));

    // A main window between the bars, as the program trims its own.
    HWND main = CreateCommandSink(0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - 2 * SIM_BAR_HEIGHT);
    HWND mainBar = NULL;
    ASSERT_TRUE(CreateBar(main, IDR_MAINMENU, 0, &mainBar));
    // A window with a bar that does not fill the screen is left where it is.
    HWND small = CreateCommandSink(10, 40, 100, 100);
    HWND smallBar = NULL;
    ASSERT_TRUE(CreateBar(small, 0, SHCMBF_EMPTYBAR, &smallBar));

    // A host with its page, and a browser-like dialog with its own bar above them.
    std::vector<WORD> hostTemplate = DialogTemplate(kPopupStyle, L"Host");
    std::vector<WORD> pageTemplate = DialogTemplate(WS_CHILD | WS_VISIBLE, L"", 0, 0, 100, 50);
    std::vector<WORD> browserTemplate = DialogTemplate(kPopupStyle, L"Browser");
    DialogProbe host, page, browser;
    host.shellFlags = 0x2D;
    page.shellFlags = browser.shellFlags = 0x0D;
    HWND hostDialog = CreateProbeDialog(hostTemplate, main, &host);
    HWND pageDialog = CreateProbeDialog(pageTemplate, hostDialog, &page);
    HWND browserDialog = CreateProbeDialog(browserTemplate, hostDialog, &browser);
    ASSERT_TRUE(hostDialog && pageDialog && browserDialog);
    HWND browserBar = NULL;
    ASSERT_TRUE(CreateBar(browserDialog, IDR_MAINMENU, 0, &browserBar));
    RECT pageRect = WindowRect(pageDialog);
    RECT smallRect = WindowRect(small);
    int pageSizes = page.sizeMessages;

    struct Shape {
        int cx, cy;
    } shapes[] = {{SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY}, {SIM_SQUARE_CX, SIM_SQUARE_CY},
                  {SIM_PORTRAIT_CX, SIM_PORTRAIT_CY}};
    for (const Shape &shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape.cx << "x" << shape.cy);
        int hostSizes = host.sizeMessages, browserSizes = browser.sizeMessages;
        ASSERT_TRUE(SetScreenSize(shape.cx, shape.cy));
        PumpMessages(50);

        RECT work = BetweenBars(shape.cx, shape.cy);
        EXPECT_EQ(MakeRect(0, 0, shape.cx, SIM_BAR_HEIGHT), WindowRect(FindNavBar()));
        EXPECT_EQ(work, WindowRect(hostDialog));
        EXPECT_GT(host.sizeMessages, hostSizes);
        EXPECT_EQ(shape.cx, host.lastSize.cx);
        EXPECT_EQ(work.bottom - work.top, host.lastSize.cy);
        EXPECT_EQ(work, WindowRect(browserDialog));
        EXPECT_GT(browser.sizeMessages, browserSizes);
        EXPECT_EQ(work, WindowRect(main));
        for (HWND bar : {mainBar, smallBar, browserBar, OwnedBar(hostDialog)})
            EXPECT_EQ(BottomStrip(shape.cx, shape.cy), WindowRect(bar));
        EXPECT_EQ(smallRect, WindowRect(small));
        // The page is told, but its place stays its host's business.
        EXPECT_GT(page.sizeMessages, pageSizes);
        pageSizes = page.sizeMessages;
        EXPECT_EQ(pageRect, WindowRect(pageDialog));
        // Keys share the new width.
        EXPECT_EQ(shape.cx, WindowRect(FindKey(mainBar, L"Rudore")).right);
    }
    DestroyWindow(main);
    DestroyWindow(small);
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
    ASSERT_TRUE(SetScreenSize(SIM_PORTRAIT_CX, SIM_PORTRAIT_CY));
    EXPECT_EQ(BetweenBars(SIM_PORTRAIT_CX, SIM_PORTRAIT_CY), WindowRect(dialog));
    DestroyWindow(dialog);
}
