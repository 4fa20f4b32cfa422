#include "shell_testkit.h"

// The shell's activate and setting-change handlers, as the main window calls them.
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
    EXPECT_FALSE(SHHandleWMSettingChange(window, SPI_SETSIPINFO, 0, &small));
    DestroyWindow(window);
}

TEST_F(ShellServices, SettingChangeGivesAFullScreenDialogItsAreaBack)
{
    DialogProbe probe;
    probe.shellFlags = 0x2D;
    HWND dialog = CreateProbeDialog(DialogTemplate(WS_POPUP | WS_VISIBLE, L"Shrunk"), NULL, &probe);
    ASSERT_TRUE(dialog);
    RECT full = WindowRect(dialog);
    // As if the input panel had taken the lower half; only its own notice restores.
    MoveWindow(dialog, full.left, full.top, full.right - full.left, 200, FALSE);
    SHACTIVATEINFO info = {};
    info.cbSize = 12;
    EXPECT_TRUE(SHHandleWMSettingChange(dialog, 0x1234, 0, &info));
    EXPECT_EQ(200, WindowRect(dialog).bottom - WindowRect(dialog).top);
    EXPECT_TRUE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, &info));
    EXPECT_EQ(full, WindowRect(dialog));
    DestroyWindow(dialog);
}
