#include "main_window_fixture.h"
#include "resource.h"

static const wchar_t kClass[] = L"ZEZARIVERARURIDOZ";
static const wchar_t kTitle[] = L"Zelvo Rudore";

using StartupTest = MainWindowTest;

TEST_F(StartupTest, ClassifiesTheDeviceVersionAtStartUp)
{
    struct { DWORD major, minor, generation; } cases[] = {{4, 19, 1}, {4, 20, 3}, {5, 0, 5}};
    for (auto &c : cases) {
        SimSetOsVersion(c.major, c.minor, 1000);
        ClassifyPlatformVersion();
        EXPECT_EQ(c.generation, g_platformGeneration) << c.major << "." << c.minor;
    }
}

TEST_F(StartupTest, WindowEndsAboveTheSoftKeyBar)
{
    ASSERT_TRUE(InitMainWindow(GetModuleHandleW(NULL), SW_SHOW));
    ASSERT_TRUE(g_hMenuBar != NULL);
    EXPECT_EQ(g_hMainWnd, FindWindowW(kClass, kTitle));
    RECT window, bar;
    GetWindowRect(g_hMainWnd, &window);
    GetWindowRect(g_hMenuBar, &bar);
    EXPECT_EQ(0, window.left);
    EXPECT_EQ(SIM_BAR_HEIGHT, window.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), window.right);
    EXPECT_EQ(bar.top, window.bottom);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), bar.bottom);
    EXPECT_TRUE(IsWindowVisible(g_hMainWnd));
}

TEST_F(StartupTest, WithoutSoftKeyBarTheWindowKeepsItsDefaultSize)
{
    SimSetFailure(SIM_FAIL_MENUBAR, 1);
    ASSERT_TRUE(InitMainWindow(GetModuleHandleW(NULL), SW_SHOW));
    EXPECT_TRUE(g_hMenuBar == NULL);
    RECT window;
    GetWindowRect(g_hMainWnd, &window);
    EXPECT_EQ(SIM_BAR_HEIGHT, window.top);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), window.bottom);
    // The program runs on: it paints and answers commands.
    PumpMessages(100);
    EXPECT_TRUE(IsWindow(g_hMainWnd));
    SimQueueMessageBoxAnswer(IDNO);
    SendMessageW(g_hMainWnd, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(g_hMainWnd));
}

// ---- The real program ----

static LRESULT CALLBACK DecoyProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

TEST(SingleInstance, SecondCopyBringsTheFirstForwardAndEnds)
{
    // A window of the same class with another title is not a running copy.
    WNDCLASSW decoyClass = {};
    decoyClass.lpfnWndProc = DecoyProc;
    decoyClass.hInstance = GetModuleHandleW(NULL);
    decoyClass.lpszClassName = kClass;
    ASSERT_TRUE(RegisterClassW(&decoyClass));
    HWND decoy = CreateWindowExW(0, kClass, L"Not the program", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
    ASSERT_TRUE(decoy != NULL);

    ProgramProcess first = StartProgram();
    ASSERT_TRUE(first.process != NULL);
    ProgramGuard firstGuard = {first};
    HWND running = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(running != NULL) << "the program did not start beside a window of its class with another title";
    DWORD owner = 0;
    GetWindowThreadProcessId(running, &owner);
    EXPECT_EQ(first.id, owner);

    SetForegroundWindow(decoy);
    PumpMessages(100);
    ProgramProcess second = StartProgram();
    ProgramGuard secondGuard = {second};
    EXPECT_EQ(0u, WaitForExit(second, 10000));
    EXPECT_EQ(1, CountTopLevelWindows(kClass, kTitle));
    PumpMessages(100);
    EXPECT_EQ(running, GetForegroundWindow());

    PostMessageW(running, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(first, 10000));
    DestroyWindow(decoy);
    UnregisterClassW(kClass, GetModuleHandleW(NULL));
}
