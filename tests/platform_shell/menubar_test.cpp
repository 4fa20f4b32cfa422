#include "shell_testkit.h"
#include "resource.h"

namespace {

using ShellMenuBar = DeviceTest;

// Where the popup menu was shown, once it was.
RECT g_popupRect;

HWND FindPopupMenuWindow()
{
    HWND window = NULL;
    while ((window = FindWindowExW(NULL, window, (LPCWSTR)MAKEINTATOM(0x8000), NULL)) != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) return window;
    }
    return NULL;
}

// Runs inside the popup's own modal loop: notes where it is, then picks the second item.
void CALLBACK PickSecondItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindPopupMenuWindow();
    if (!popup) return;
    KillTimer(NULL, id);
    GetWindowRect(popup, &g_popupRect);
    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK GiveUpMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    EndMenu();
}

// The commands a tap on the key delivered to the bar's parent.
std::vector<WPARAM> Tap(HWND key)
{
    SinkCommands().clear();
    SendMessageW(key, BM_CLICK, 0, 0);
    return SinkCommands();
}

}  // namespace

TEST_F(ShellMenuBar, ProgramBarShowsItsTwoKeysAndDeliversTheirCommands)
{
    HWND sink = CreateCommandSink(0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - 2 * SIM_BAR_HEIGHT);
    HWND bar = NULL;
    ASSERT_TRUE(CreateBar(sink, IDR_MAINMENU, 0, &bar));
    // Owned by its parent, not its child (its place is the rotation tests').
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(sink, GetWindow(bar, GW_OWNER));
    EXPECT_FALSE(GetWindowLongW(bar, GWL_STYLE) & WS_CHILD);
    HWND exitKey = FindKey(bar, L"Exit");
    HWND rudoreKey = FindKey(bar, L"Rudore");
    ASSERT_TRUE(exitKey && rudoreKey);
    EXPECT_EQ(2, ChildCount(bar));
    EXPECT_LT(WindowRect(exitKey).right, WindowRect(rudoreKey).right);

    // The left key sends its command and leaves the parent active.
    HWND active = GetActiveWindow();
    EXPECT_EQ(std::vector<WPARAM>{IDM_EXIT}, Tap(exitKey));
    EXPECT_EQ(active, GetActiveWindow());

    // The right key opens popup 1 of menu 102 above the bar; the chosen item's command
    // reaches the parent.
    g_popupRect = RECT{};
    SetTimer(NULL, 0, 30, PickSecondItem);
    UINT_PTR giveUp = SetTimer(NULL, 0, 5000, GiveUpMenu);
    EXPECT_EQ(std::vector<WPARAM>{IDM_INTERNET}, Tap(rudoreKey));
    KillTimer(NULL, giveUp);
    EXPECT_GT(g_popupRect.bottom, 0);
    EXPECT_LE(g_popupRect.bottom, WindowRect(bar).top);

    // While the parent takes no input (a modal dialog is up), neither do its keys.
    EnableWindow(sink, FALSE);
    EXPECT_TRUE(Tap(exitKey).empty());
    EXPECT_TRUE(Tap(rudoreKey).empty());
    EnableWindow(sink, TRUE);

    // The bar dies with its parent.
    DestroyWindow(sink);
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(ShellMenuBar, UnusualAndBrokenResourcesGiveSoundBars)
{
    HWND sink = CreateCommandSink(0, SIM_BAR_HEIGHT, 200, 200);
    HWND bar = NULL;
    // An empty bar has no keys but still takes the bottom strip.
    ASSERT_TRUE(CreateBar(sink, 0, SHCMBF_EMPTYBAR, &bar));
    EXPECT_EQ(0, ChildCount(bar));
    EXPECT_EQ(MakeRect(0, SIM_PORTRAIT_CY - SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY), WindowRect(bar));
    DestroyWindow(bar);
    EXPECT_TRUE(IsWindow(sink));

    // Missing or headless resources give no bar.
    for (UINT id : {9999u, 9103u}) {
        bar = (HWND)1;
        EXPECT_FALSE(CreateBar(sink, id, 0, &bar)) << id;
        EXPECT_EQ(NULL, bar);
    }
    // A button count larger than the resource yields only the buttons it holds.
    ASSERT_TRUE(CreateBar(sink, 9101, 0, &bar));
    EXPECT_EQ(1, ChildCount(bar));
    DestroyWindow(bar);
    // A popup index the menu lacks makes the key a plain one.
    ASSERT_TRUE(CreateBar(sink, 9104, 0, &bar));
    EXPECT_EQ(std::vector<WPARAM>{40104}, Tap(FindKey(bar, L"Alone")));
    DestroyWindow(bar);

    EXPECT_FALSE(SHCreateMenuBar(NULL));
    DestroyWindow(sink);
}
