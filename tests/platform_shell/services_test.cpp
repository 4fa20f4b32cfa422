#include "shell_testkit.h"

namespace {

class ShellServices : public DeviceTest {};

FARPROC Ordinal(HMODULE module, WORD ordinal)
{
    return GetProcAddress(module, (LPCSTR)MAKEINTRESOURCEA(ordinal));
}

HWND CreateEditIn(HWND parent, int y)
{
    return CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, y, 100, 20, parent, NULL,
                           GetModuleHandleW(NULL), NULL);
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
    // Ordinals only, as on the device; ExitWindowsEx alone is found by name, and it is
    // the shell's own, not the desktop's.
    EXPECT_EQ(NULL, GetProcAddress(shell, "SHCreateMenuBar"));
    FARPROC exitWindows = GetProcAddress(shell, "ExitWindowsEx");
    EXPECT_TRUE(exitWindows);
    EXPECT_NE(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ExitWindowsEx"), exitWindows);
    EXPECT_TRUE(SHInitExtraControls());
    FreeLibrary(shell);
}

// The restart the program asks for is the power tools' test; a shut-down is refused.
TEST_F(ShellServices, ExitWindowsRefusesToShutDown)
{
    HMODULE shell = LoadLibraryW(L"aygshell.dll");
    ShellExitWindowsExProc exitWindows = (ShellExitWindowsExProc)GetProcAddress(shell, "ExitWindowsEx");
    ASSERT_TRUE(exitWindows);
    SetLastError(0);
    EXPECT_FALSE(exitWindows(EWX_SHUTDOWN, 0));
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, GetLastError());
    FreeLibrary(shell);
    SimPowerAction refused;
    ASSERT_EQ(1, SimPowerActionCount());
    ASSERT_TRUE(SimGetPowerAction(0, &refused));
    EXPECT_EQ(SIM_POWER_EXITWINDOWS, refused.kind);
    EXPECT_EQ((DWORD)EWX_SHUTDOWN, refused.a);
}

TEST_F(ShellServices, ActivationKeepsItsStateInTheCallersRecord)
{
    HWND window = CreateCommandSink(0, SIM_BAR_HEIGHT, 200, 200);
    HWND first = CreateEditIn(window, 0);
    HWND second = CreateEditIn(window, 30);
    SetActiveWindow(window);
    SetFocus(second);
    ASSERT_EQ(second, GetFocus());

    SHACTIVATEINFO info = {};
    info.cbSize = 12;
    EXPECT_TRUE(SHHandleWMActivate(window, WA_INACTIVE, 0, &info, 0));
    EXPECT_EQ(second, info.hwndLastFocus);
    EXPECT_EQ(0u, info.fActive);

    // Coming back, the focus returns to where it was.
    SetFocus(first);
    EXPECT_TRUE(SHHandleWMActivate(window, WA_ACTIVE, 0, &info, 0));
    EXPECT_EQ(1u, info.fActive);
    EXPECT_EQ(second, GetFocus());

    // A control that is gone is not focused; the focus stays in the window.
    EXPECT_TRUE(SHHandleWMActivate(window, WA_INACTIVE, 0, &info, 0));
    DestroyWindow(second);
    EXPECT_TRUE(SHHandleWMActivate(window, WA_CLICKACTIVE, 0, &info, 0));
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == window || IsChild(window, focus));

    // A record whose size field is too small is not touched.
    SHACTIVATEINFO small = {};
    small.cbSize = 8;
    EXPECT_FALSE(SHHandleWMActivate(window, WA_ACTIVE, 0, &small, 0));
    EXPECT_EQ(0u, small.fActive);
    EXPECT_FALSE(SHHandleWMSettingChange(window, SPI_SETSIPINFO, 0, &small));
    EXPECT_FALSE(SHHandleWMActivate(window, WA_ACTIVE, 0, NULL, 0));
    DestroyWindow(window);
}

TEST_F(ShellServices, SettingChangeGivesAFullScreenDialogItsAreaBack)
{
    std::vector<WORD> dialogTemplate = DialogTemplate(WS_POPUP | WS_VISIBLE, L"Shrunk");
    DialogProbe probe;
    probe.shellFlags = 0x2D;
    HWND dialog = CreateProbeDialog(dialogTemplate, NULL, &probe);
    ASSERT_TRUE(dialog);
    RECT full = WindowRect(dialog);
    // As if the input panel had taken the lower half.
    MoveWindow(dialog, full.left, full.top, full.right - full.left, 200, FALSE);
    SHACTIVATEINFO info = {};
    info.cbSize = 12;
    EXPECT_TRUE(SHHandleWMSettingChange(dialog, 0x1234, 0, &info));
    EXPECT_EQ(200, WindowRect(dialog).bottom - WindowRect(dialog).top);
    EXPECT_TRUE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, &info));
    EXPECT_EQ(full, WindowRect(dialog));
    EXPECT_EQ(0u, info.fSipUp);
    DestroyWindow(dialog);
}
