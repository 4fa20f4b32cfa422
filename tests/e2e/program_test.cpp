// The real program, started as its own process on the test device and driven with
// real taps.
#include <functional>
#include "testkit.h"
#include "aygshell.h"

static const wchar_t kClass[] = L"ZEZARIVERARURIDOZ";
static const wchar_t kTitle[] = L"Zelvo Rudore";

namespace {
// Taps the middle of a window.
void TapWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    TapScreen((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Taps until `find` gives a window: the first tap of a program just started may only
// activate it.
HWND TapUntil(const std::function<void()> &tap, const std::function<HWND()> &find)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        tap();
        for (DWORD end = GetTickCount() + 3000; GetTickCount() < end; PumpMessages(20))
            if (HWND found = find()) return found;
    }
    return NULL;
}

// A visible dialog of that title owned by `owner`.
HWND OwnedDialog(HWND owner, const wchar_t *title)
{
    HWND dialog = FindWindowW(L"#32770", title);
    return dialog && IsWindowVisible(dialog) && GetWindow(dialog, GW_OWNER) == owner ? dialog : NULL;
}

// The soft key of that label on the bar of `owner`.
HWND SoftKey(HWND owner, const wchar_t *label)
{
    for (HWND bar = NULL; (bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL)) != NULL;)
        if (GetWindow(bar, GW_OWNER) == owner) return FindWindowExW(bar, NULL, SIM_SOFTKEY_CLASS, label);
    return NULL;
}

// The screen shape goes back to portrait however the test ends.
struct PortraitGuard {
    ~PortraitGuard() { SimRotate(SIM_PORTRAIT); }
};
}  // namespace

TEST(Program, ExitSoftKeyAsksThenNoEndsTheProgram)
{
    ProgramProcess program = StartProgram();
    ProgramGuard guard = {program};
    HWND main = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(main != NULL);
    HWND exitKey = TapUntil([] {}, [&] { return SoftKey(main, L"Exit"); });
    ASSERT_TRUE(exitKey != NULL) << "no soft key labelled Exit";
    SetForegroundWindow(main);
    PumpMessages(200);
    HWND no = TapUntil([&] { TapWindow(exitKey); }, [&] {
        HWND box = OwnedDialog(main, L"Confirm!");
        return box ? FindWindowExW(box, NULL, L"Button", L"&No") : NULL;
    });
    ASSERT_TRUE(no != NULL) << "no confirmation box";
    DWORD exitCode = STILL_ACTIVE;
    for (int attempt = 0; attempt < 3 && exitCode == STILL_ACTIVE; attempt++) {
        TapWindow(no);
        exitCode = WaitForExit(program, 3000);
    }
    EXPECT_EQ(0u, exitCode);
}

TEST(Program, HotRowsOpenTheirDialogsInPortraitAndLandscape)
{
    // Real taps in a program of its own, whose splash follows the turned screen by
    // itself. Portrait opens only its first row: the first dialog of the run is a host.
    struct Shape {
        int shape;
        int x, rowLow, rowStep, rowHeight, rows;
    } shapes[] = {{SIM_PORTRAIT, 260, 120, 60, 60, 1}, {SIM_LANDSCAPE, 250, 50, 50, 30, 6}};
    const struct {
        const wchar_t *title;
        bool host;   // a category host, made of a tab control
    } rows[] = {{L"Today Tricks", true},  {L"File System Tricks", false}, {L"Phone Tricks", true},
                {L"System Tricks", true}, {L"Dialog", true},              {L"KeyBoard Tricks", false}};

    PortraitGuard portrait;
    ProgramProcess program = StartProgram();
    ProgramGuard guard = {program};
    HWND main = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(main != NULL);
    for (const Shape &shape : shapes) {
        ASSERT_TRUE(SimRotate(shape.shape));
        PumpMessages(500);
        for (int k = 0; k < shape.rows; ++k) {
            SCOPED_TRACE(testing::Message() << "row " << k << " in shape " << shape.shape);
            POINT tap = {shape.x, shape.rowLow + k * shape.rowStep + shape.rowHeight / 2};
            ClientToScreen(main, &tap);
            HWND dialog = TapUntil([&] { TapScreen(tap.x, tap.y); }, [&] { return OwnedDialog(main, rows[k].title); });
            ASSERT_TRUE(dialog != NULL);
            RECT rect;
            GetWindowRect(dialog, &rect);
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left) << "full screen";
            // The program loads no common controls of its own: the first dialog must
            // find them all the same.
            if (rows[k].host) {
                EXPECT_TRUE(FindWindowExW(dialog, NULL, L"SysTabControl32", NULL) != NULL);
            }
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 100 && IsWindow(dialog); i++) PumpMessages(20);
            EXPECT_FALSE(IsWindow(dialog));
        }
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(program, 10000));
}
