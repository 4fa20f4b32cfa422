#include "shell_testkit.h"

namespace {

using ShellServices = DeviceTest;

FARPROC Ordinal(HMODULE module, WORD ordinal)
{
    return GetProcAddress(module, (LPCSTR)MAKEINTRESOURCEA(ordinal));
}

}  // namespace

TEST(ShellExports, EntryPointsSitAtTheDeviceOrdinals)
{
    HMODULE shell = LoadLibraryW(L"aygshell.dll");
    ASSERT_TRUE(shell);
    EXPECT_EQ((FARPROC)&SHInitExtraControls, Ordinal(shell, 9));
    EXPECT_EQ((FARPROC)&SHCreateMenuBar, Ordinal(shell, 34));
    EXPECT_EQ((FARPROC)&SHInitDialog, Ordinal(shell, 56));
    EXPECT_EQ((FARPROC)&SHDoneButton, Ordinal(shell, 69));
    EXPECT_EQ((FARPROC)&SHHandleWMSettingChange, Ordinal(shell, 83));
    EXPECT_EQ((FARPROC)&SHHandleWMActivate, Ordinal(shell, 84));
    // ExitWindowsEx alone is found by name, and it is the shell's own, not the desktop's.
    FARPROC exitWindows = GetProcAddress(shell, "ExitWindowsEx");
    EXPECT_TRUE(exitWindows);
    EXPECT_NE(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ExitWindowsEx"), exitWindows);
    FreeLibrary(shell);
}

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

    // A control that is gone is not focused; the focus stays in the window.
    EXPECT_TRUE(SHHandleWMActivate(window, WA_INACTIVE, 0, &info, 0));
    DestroyWindow(edits[1]);
    EXPECT_TRUE(SHHandleWMActivate(window, WA_CLICKACTIVE, 0, &info, 0));
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == window || IsChild(window, focus));

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
