// The device's shell as the program uses it: the main window's soft-key bar, Done on
// nested full-screen dialogs, activation, and the main window and the bars
// following the screen when it turns (the dialogs' own places are the layout test's).
#include <vector>
#include "aygshell.h"
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"
#include "tests/hosts/host_kit.h"

namespace {

using Shell = DeviceTest;

std::vector<WPARAM> g_commands;
RECT g_popupRect;

// The commands a tap on the key delivered to the bar's window.
std::vector<WPARAM> Tap(HWND key)
{
    g_commands.clear();
    SendMessageW(key, BM_CLICK, 0, 0);
    return g_commands;
}

// Runs inside the popup's own modal loop: notes where it is, then picks the second item.
void CALLBACK PickSecondItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = NULL;
    while ((popup = FindWindowExW(NULL, popup, (LPCWSTR)MAKEINTATOM(0x8000), NULL)) && !IsWindowVisible(popup)) {}
    if (!popup) return;
    KillTimer(NULL, id);
    GetWindowRect(popup, &g_popupRect);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(popup, WM_KEYDOWN, key, 0);
}

::testing::AssertionResult At(HWND window, int left, int top, int right, int bottom)
{
    RECT r = {-1, -1, -1, -1};
    GetWindowRect(window, &r);
    if (r.left == left && r.top == top && r.right == right && r.bottom == bottom) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "at (" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom
                                       << "), not (" << left << "," << top << ")-(" << right << "," << bottom << ")";
}

HWND DoneKey() { return GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK); }

}  // namespace

// A window as the main window is: between the two bars, with the program's soft-key
// bar; the commands it gets are noted in g_commands.
HWND CreateMainLikeWindow(HWND *bar)
{
    WNDCLASSW wc = {0, [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message != WM_COMMAND) return DefWindowProcW(window, message, wParam, lParam);
        g_commands.push_back(LOWORD(wParam));
        return 0;
    }, 0, 0, g_hInstance, NULL, NULL, NULL, NULL, L"ShellTestMain"};
    RegisterClassW(&wc);
    HWND main = CreateWindowExW(0, wc.lpszClassName, L"Main", WS_POPUP | WS_VISIBLE, 0, SIM_BAR_HEIGHT,
                                SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - 2 * SIM_BAR_HEIGHT, NULL, NULL, g_hInstance, NULL);
    SHMENUBARINFO info = {sizeof info, main, 0, IDR_MAINMENU, g_hInstance};
    *bar = SHCreateMenuBar(&info) ? info.hwndMB : NULL;
    return main;
}

// What the screen shows along the edges of a bar at the bottom and of its two halves:
// the keys' frames, none of their labels.
std::vector<COLORREF> BarEdges()
{
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL);
    std::vector<COLORREF> edges;
    for (int x = 0; x < cx; ++x) edges.push_back(GetPixel(screen, x, cy - SIM_BAR_HEIGHT)), edges.push_back(GetPixel(screen, x, cy - 1));
    for (int y = cy - SIM_BAR_HEIGHT; y < cy; ++y)
        for (int x : {0, cx / 2 - 1, cx / 2, cx - 1}) edges.push_back(GetPixel(screen, x, y));
    ReleaseDC(NULL, screen);
    return edges;
}

TEST_F(Shell, MainWindowBarDeliversItsKeysAndEverythingFollowsTheScreen)
{
    HWND bar = NULL;
    HWND main = CreateMainLikeWindow(&bar);
    ASSERT_TRUE(bar);
    EXPECT_EQ(L"Main", WindowText(FindWindowW(SIM_NAVBAR_CLASS, NULL)));
    EXPECT_FALSE(IsWindowVisible(DoneKey())) << "the main window asked for no Done key";
    HWND exitKey = FindWindowExW(bar, NULL, SIM_SOFTKEY_CLASS, L"Exit");
    HWND rudoreKey = FindWindowExW(bar, NULL, SIM_SOFTKEY_CLASS, L"Rudore");
    ASSERT_TRUE(exitKey && rudoreKey);

    // The left key sends its command and leaves the window active.
    SetActiveWindow(main);
    EXPECT_EQ(std::vector<WPARAM>{IDM_EXIT}, Tap(exitKey));
    EXPECT_EQ(main, GetActiveWindow());
    // The right key opens the menu's second popup above the bar; the chosen item's
    // command reaches the window.
    UINT_PTR pick = SetTimer(NULL, 0, 30, PickSecondItem);
    UINT_PTR giveUp = SetTimer(NULL, 0, 5000, [](HWND, UINT, UINT_PTR id, DWORD) { KillTimer(NULL, id), EndMenu(); });
    EXPECT_EQ(std::vector<WPARAM>{IDM_INTERNET}, Tap(rudoreKey));
    KillTimer(NULL, pick);
    KillTimer(NULL, giveUp);
    EXPECT_GT(g_popupRect.bottom, 0);
    EXPECT_LE(g_popupRect.bottom, SIM_PORTRAIT_CY - SIM_BAR_HEIGHT);
    // While the window takes no input (a modal dialog is up), neither do its keys; nor
    // does a key the user cannot see.
    EnableWindow(main, FALSE);
    EXPECT_TRUE(Tap(exitKey).empty());
    EnableWindow(main, TRUE);
    ShowWindow(exitKey, SW_HIDE);
    EXPECT_TRUE(Tap(exitKey).empty());
    ShowWindow(exitKey, SW_SHOWNA);

    // The main window passes no activation on: with the device's record it gets the focus.
    SHACTIVATEINFO activation = {12};
    SetFocus(NULL);
    EXPECT_TRUE(SHHandleWMActivate(main, WA_ACTIVE, 0, &activation, 0));
    EXPECT_EQ(1u, activation.fActive);
    EXPECT_EQ(main, GetFocus());

    // Each key takes its half of the bar, in every shape and back upright.
    auto expectPlaced = [&] {
        int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        SCOPED_TRACE(testing::Message() << cx << "x" << cy);
        EXPECT_TRUE(At(FindWindowW(SIM_NAVBAR_CLASS, NULL), 0, 0, cx, SIM_BAR_HEIGHT));
        EXPECT_TRUE(At(main, 0, SIM_BAR_HEIGHT, cx, cy - SIM_BAR_HEIGHT));
        EXPECT_TRUE(At(bar, 0, cy - SIM_BAR_HEIGHT, cx, cy));
        EXPECT_TRUE(At(exitKey, 0, cy - SIM_BAR_HEIGHT, cx / 2, cy));
        EXPECT_TRUE(At(rudoreKey, cx / 2, cy - SIM_BAR_HEIGHT, cx, cy));
    };
    for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
        ScreenTurn turn(shape);
        ASSERT_TRUE(turn.turned());
        expectPlaced();
    }
    expectPlaced();
    // The bar dies with its window.
    DestroyWindow(main);
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(Shell, DoneServesTheInnermostDialogAndEndedDialogsLeaveNothingBehind)
{
    HWND hostBar = NULL;
    INT_PTR about = 0;
    RunHost(IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, [&](HWND dialog) {
        HWND nav = FindWindowW(SIM_NAVBAR_CLASS, NULL);
        do hostBar = FindWindowExW(NULL, hostBar, SIM_MENUBAR_CLASS, NULL);
        while (hostBar && GetWindow(hostBar, GW_OWNER) != dialog);
        EXPECT_TRUE(hostBar != NULL) << "no empty soft-key bar";
        DriveModal([&] { about = ShowAboutBox(dialog); }, [&](HWND inner) {
            EXPECT_EQ(WindowText(inner), WindowText(nav));
            SendMessageW(DoneKey(), BM_CLICK, 0, 0);
            if (IsWindowVisible(inner)) EndDialog(inner, 0);
        });
        // Back in the host, Done is its own again.
        EXPECT_EQ(WindowText(dialog), WindowText(nav));
        SendMessageW(DoneKey(), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowVisible(dialog)) << "Done did not end the host";
    });
    EXPECT_EQ(1, about) << "Done did not end the About box";
    EXPECT_FALSE(IsWindow(hostBar));
    EXPECT_FALSE(IsWindowVisible(DoneKey()));

    // Far more dialogs than the shell keeps at once, each gone before the next: the
    // last is still kept in shape.
    HWND dialog = NULL;
    for (int i = 0; i <= 100; ++i) {
        if (dialog) DestroyWindow(dialog);
        dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_ABOUT_PORTRAIT), NULL, AboutDialogProc, 0);
        ASSERT_TRUE(dialog);
    }
    ScreenTurn turn(SIM_LANDSCAPE);
    EXPECT_TRUE(At(dialog, 0, SIM_BAR_HEIGHT, SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY - SIM_BAR_HEIGHT));
    DestroyWindow(dialog);
}

TEST_F(Shell, AnEmptyMenuBarIsTheDevicesBarAndNothingOnItDoesAnything)
{
    // The main window's bar as the screen shows it, keys and all.
    HWND mainBar = NULL;
    HWND main = CreateMainLikeWindow(&mainBar);
    ASSERT_TRUE(mainBar);
    UpdateWindow(mainBar), PumpMessages(100);
    std::vector<COLORREF> drawn = BarEdges();
    // Blank: a strip of the bar's face alone.
    std::vector<COLORREF> blank(drawn.size(), GetSysColor(COLOR_BTNFACE));
    ASSERT_NE(blank, drawn);

    // The host, the keyboard and file-system dialogs, the calendar and About ask the
    // shell for an empty bar, as this host does.
    RunHost(IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, [&](HWND host) {
        HWND bar = NULL;
        do bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL);
        while (bar && GetWindow(bar, GW_OWNER) != host);
        ASSERT_TRUE(bar && IsWindowVisible(bar));
        int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_TRUE(At(bar, 0, cy - SIM_BAR_HEIGHT, cx, cy));
        UpdateWindow(bar), PumpMessages(100);
        EXPECT_EQ(drawn, BarEdges()) << "not drawn as the main window's bar";

        // Taps on either half reach nothing: the host stays open, the main window gets
        // no command.
        g_commands.clear();
        for (int x : {cx / 4, 3 * cx / 4}) TapScreen(x, cy - SIM_BAR_HEIGHT / 2), PumpMessages(100);
        for (HWND key = GetWindow(bar, GW_CHILD); key; key = GetWindow(key, GW_HWNDNEXT))
            SendMessageW(key, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(host));
        EXPECT_TRUE(g_commands.empty());
    });
    DestroyWindow(main);
}

// A window shown across the navigation bar's place does not cover the bar: the screen
// still shows the bar's blue and its Done key there, and the window below it.
TEST_F(Shell, TheNavigationBarStaysOverAWindowShownAcrossIt)
{
    const COLORREF navBlue = RGB(0x10, 0x3C, 0x8C), black = RGB(0, 0, 0);
    WNDCLASSW wc = {0, DefWindowProcW, 0, 0, g_hInstance, NULL, NULL, (HBRUSH)GetStockObject(BLACK_BRUSH), NULL,
                    L"ShellTestCover"};
    RegisterClassW(&wc);
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HWND cover = CreateWindowExW(0, wc.lpszClassName, L"Cover", WS_POPUP, 0, 0, cx, cy, NULL, NULL, g_hInstance, NULL);
    ASSERT_TRUE(cover);
    // Asking for Done makes the shell serve the window (and makes the bar's Done key).
    ASSERT_TRUE(SHDoneButton(cover, SHDB_SHOW));
    ShowWindow(cover, SW_SHOW);
    UpdateWindow(cover), PumpMessages(100);
    ASSERT_TRUE(IsWindowVisible(DoneKey()));
    RECT done;
    GetWindowRect(DoneKey(), &done);
    HDC screen = GetDC(NULL);
    EXPECT_EQ(navBlue, GetPixel(screen, 1, 1));
    EXPECT_EQ(navBlue, GetPixel(screen, cx / 2, SIM_BAR_HEIGHT - 1));
    EXPECT_NE(navBlue, GetPixel(screen, (done.left + done.right) / 2, done.top + 1)) << "no Done key drawn";
    EXPECT_EQ(black, GetPixel(screen, 1, SIM_BAR_HEIGHT));
    EXPECT_EQ(black, GetPixel(screen, cx / 2, cy / 2));
    ReleaseDC(NULL, screen);
    DestroyWindow(cover);
    UnregisterClassW(wc.lpszClassName, g_hInstance);
}
