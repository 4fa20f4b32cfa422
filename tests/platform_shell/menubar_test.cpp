#include "shell_testkit.h"
#include "resource.h"

namespace {

class ShellMenuBar : public DeviceTest {};

struct MenuDrive {
    bool shown = false;
    HMENU menu = NULL;
    RECT rect = {};
};
MenuDrive g_menuDrive;

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

// Runs inside the popup's own modal loop: notes what is shown, then picks the second item.
void CALLBACK PickSecondItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindPopupMenuWindow();
    if (!popup) return;
    KillTimer(NULL, id);
    g_menuDrive.shown = true;
    g_menuDrive.menu = (HMENU)SendMessageW(popup, MN_GETHMENU, 0, 0);
    GetWindowRect(popup, &g_menuDrive.rect);
    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK GiveUpMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    EndMenu();
}

}  // namespace

TEST_F(ShellMenuBar, ProgramBarShowsItsTwoKeysAndDeliversTheirCommands)
{
    HWND sink = CreateCommandSink(0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - 2 * SIM_BAR_HEIGHT);
    ASSERT_TRUE(sink);
    HWND bar = NULL;
    ASSERT_TRUE(CreateBar(sink, IDR_MAINMENU, 0, &bar));
    ASSERT_TRUE(IsWindow(bar));

    // Owned by its parent, not its child (its place is the rotation tests').
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(sink, GetWindow(bar, GW_OWNER));
    EXPECT_FALSE(GetWindowLongW(bar, GWL_STYLE) & WS_CHILD);

    HWND exitKey = FindKey(bar, L"Exit");
    HWND rudoreKey = FindKey(bar, L"Rudore");
    ASSERT_TRUE(exitKey);
    ASSERT_TRUE(rudoreKey);
    EXPECT_EQ(2, ChildCount(bar));
    EXPECT_LT(WindowRect(exitKey).right, WindowRect(rudoreKey).right);
    EXPECT_EQ(SIM_PORTRAIT_CX, WindowRect(rudoreKey).right);

    // The left key sends its command; tapping it leaves the parent active.
    HWND active = GetActiveWindow();
    SinkCommands().clear();
    SendMessageW(exitKey, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, SinkCommands().size());
    EXPECT_EQ((WPARAM)IDM_EXIT, SinkCommands()[0].wParam);
    EXPECT_EQ(active, GetActiveWindow());

    // A tap is a press and a release on the key; released elsewhere, it is no tap.
    SinkCommands().clear();
    SendMessageW(exitKey, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(exitKey, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(exitKey, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(exitKey, WM_LBUTTONUP, 0, MAKELPARAM(5, 500));
    ASSERT_EQ(1u, SinkCommands().size());
    EXPECT_EQ((WPARAM)IDM_EXIT, SinkCommands()[0].wParam);

    // The right key opens popup 1 of menu 102 above the bar; the chosen item's command
    // reaches the parent.
    HMENU menu = (HMENU)SendMessageW(bar, SHCMBM_GETMENU, 0, 0);
    ASSERT_TRUE(menu);
    EXPECT_EQ(2, GetMenuItemCount(menu));
    HMENU popup = (HMENU)SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_RUDORE);
    EXPECT_EQ(GetSubMenu(menu, 1), popup);
    EXPECT_EQ(NULL, (HMENU)SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_EXIT));

    g_menuDrive = MenuDrive();
    SinkCommands().clear();
    SetTimer(NULL, 0, 30, PickSecondItem);
    UINT_PTR giveUp = SetTimer(NULL, 0, 5000, GiveUpMenu);
    SendMessageW(rudoreKey, BM_CLICK, 0, 0);
    KillTimer(NULL, giveUp);
    EXPECT_TRUE(g_menuDrive.shown);
    EXPECT_EQ(popup, g_menuDrive.menu);
    EXPECT_LE(g_menuDrive.rect.bottom, WindowRect(bar).top);
    ASSERT_EQ(1u, SinkCommands().size());
    EXPECT_EQ((WPARAM)IDM_INTERNET, SinkCommands()[0].wParam);

    // While the parent takes no input, neither do its keys.
    EnableWindow(sink, FALSE);
    SinkCommands().clear();
    SendMessageW(exitKey, BM_CLICK, 0, 0);
    SendMessageW(rudoreKey, BM_CLICK, 0, 0);
    EXPECT_TRUE(SinkCommands().empty());
    EnableWindow(sink, TRUE);

    // The bar dies with its parent.
    DestroyWindow(sink);
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(ShellMenuBar, UnusualAndBrokenResourcesGiveSoundBars)
{
    HWND sink = CreateCommandSink(0, SIM_BAR_HEIGHT, 200, 200);
    ASSERT_TRUE(sink);
    HWND bar = NULL;

    // An empty bar has no keys but still takes the bottom strip.
    ASSERT_TRUE(CreateBar(sink, 0, SHCMBF_EMPTYBAR, &bar));
    EXPECT_EQ(0, ChildCount(bar));
    EXPECT_EQ(MakeRect(0, SIM_PORTRAIT_CY - SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY), WindowRect(bar));
    DestroyWindow(bar);
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_TRUE(IsWindow(sink));

    // Missing or headless resources give no bar.
    bar = (HWND)1;
    EXPECT_FALSE(CreateBar(sink, 9999, 0, &bar));
    EXPECT_EQ(NULL, bar);
    EXPECT_FALSE(CreateBar(sink, 9103, 0, &bar));
    EXPECT_EQ(NULL, bar);

    // A button count larger than the resource yields only the buttons it holds.
    ASSERT_TRUE(CreateBar(sink, 9101, 0, &bar));
    EXPECT_EQ(1, ChildCount(bar));
    EXPECT_TRUE(FindKey(bar, L"Alone"));
    DestroyWindow(bar);

    // A disabled key cannot be tapped; a hidden one is not shown.
    ASSERT_TRUE(CreateBar(sink, 9102, 0, &bar));
    HWND greyed = FindKey(bar, L"Greyed");
    HWND hidden = FindKey(bar, L"Hidden");
    ASSERT_TRUE(greyed);
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(IsWindowEnabled(greyed));
    EXPECT_FALSE(IsWindowVisible(hidden));
    SinkCommands().clear();
    SendMessageW(greyed, BM_CLICK, 0, 0);
    SendMessageW(hidden, BM_CLICK, 0, 0);
    EXPECT_TRUE(SinkCommands().empty());
    DestroyWindow(bar);

    // A popup index the menu lacks makes the key a plain one.
    ASSERT_TRUE(CreateBar(sink, 9104, 0, &bar));
    SinkCommands().clear();
    SendMessageW(FindKey(bar, L"Alone"), BM_CLICK, 0, 0);
    ASSERT_EQ(1u, SinkCommands().size());
    EXPECT_EQ(40104u, LOWORD(SinkCommands()[0].wParam));
    DestroyWindow(bar);

    // Records that are missing, too short or without a parent are refused.
    EXPECT_FALSE(SHCreateMenuBar(NULL));
    SHMENUBARINFO info = {};
    info.cbSize = 8;
    info.hwndParent = sink;
    info.dwFlags = SHCMBF_EMPTYBAR;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info.cbSize = sizeof info;
    info.hwndParent = (HWND)(ULONG_PTR)0x7FFFFF0;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(NULL, info.hwndMB);

    DestroyWindow(sink);
}
