#include "shell_testkit.h"

// The shell's activate handler, as the main window calls it with its own record.
using ShellServices = DeviceTest;

TEST_F(ShellServices, ActivationKeepsItsStateInTheCallersRecord)
{
    HWND window = CreateCommandSink(0, SIM_BAR_HEIGHT, 200, 200);
    HWND edits[2];
    for (int i = 0; i < 2; ++i)
        edits[i] = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 30 * i, 100, 20, window,
                                   NULL, GetModuleHandleW(NULL), NULL);
    SetActiveWindow(window);
    SetFocus(edits[1]);
    SHACTIVATEINFO info = {};
    info.cbSize = 12;
    EXPECT_TRUE(SHHandleWMActivate(window, WA_INACTIVE, 0, &info, 0));
    EXPECT_EQ(edits[1], info.hwndLastFocus);
    // Coming back, the focus returns to where it was.
    SetFocus(edits[0]);
    EXPECT_TRUE(SHHandleWMActivate(window, WA_ACTIVE, 0, &info, 0));
    EXPECT_EQ(1u, info.fActive);
    EXPECT_EQ(edits[1], GetFocus());
    // A record whose size field is too small is not touched.
    SHACTIVATEINFO small = {};
    small.cbSize = 8;
    EXPECT_FALSE(SHHandleWMActivate(window, WA_ACTIVE, 0, &small, 0));
    EXPECT_EQ(0u, small.fActive);
    DestroyWindow(window);
}
