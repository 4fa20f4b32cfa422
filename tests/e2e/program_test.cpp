// The real program, started as its own process on the test device and driven with
// real input events.
#include "testkit.h"

static const wchar_t kClass[] = L"ZEZARIVERARURIDOZ";
static const wchar_t kTitle[] = L"Zelvo Rudore";

namespace {
struct Search {
    HWND owner;
    const wchar_t *text;
    HWND found;
};

BOOL CALLBACK FindChildWithText(HWND child, LPARAM param)
{
    Search *search = (Search *)param;
    if (IsWindowVisible(child) && WindowText(child) == search->text) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window owned by `owner` with a child control showing `text`:
// the soft-key bar of the main window, or a message box.
BOOL CALLBACK FindOwnedWithControl(HWND window, LPARAM param)
{
    Search *search = (Search *)param;
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    Search inner = {NULL, search->text, NULL};
    EnumChildWindows(window, FindChildWithText, (LPARAM)&inner);
    if (inner.found) {
        search->found = inner.found;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForOwnedControl(HWND owner, const wchar_t *text, DWORD timeoutMs = 5000)
{
    DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        Search search = {owner, text, NULL};
        EnumWindows(FindOwnedWithControl, (LPARAM)&search);
        if (search.found || GetTickCount() > end) return search.found;
        PumpMessages(20);
    }
}

void TapControl(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    TapScreen((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Taps `control` until a control showing `expected` appears in a window owned by
// `owner`: the first tap of a program just started may only activate it.
HWND TapUntil(HWND control, HWND owner, const wchar_t *expected)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        TapControl(control);
        HWND found = WaitForOwnedControl(owner, expected, 3000);
        if (found) return found;
    }
    return NULL;
}
}

TEST(Program, ExitSoftKeyAsksThenNoEndsTheProgram)
{
    ProgramProcess program = StartProgram();
    ASSERT_TRUE(program.process != NULL);
    ProgramGuard guard = {program};
    HWND main = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(main != NULL);
    PumpMessages(300);

    HWND exitKey = WaitForOwnedControl(main, L"Exit");
    ASSERT_TRUE(exitKey != NULL) << "no soft key labelled Exit";
    SetForegroundWindow(main);
    PumpMessages(200);
    HWND no = TapUntil(exitKey, main, L"&No");
    ASSERT_TRUE(no != NULL) << "no confirmation box";
    HWND box = GetAncestor(no, GA_ROOT);
    EXPECT_EQ(L"Confirm!", WindowText(box));
    DWORD exitCode = STILL_ACTIVE;
    for (int attempt = 0; attempt < 3 && exitCode == STILL_ACTIVE; attempt++) {
        TapControl(no);
        exitCode = WaitForExit(program, 3000);
    }
    EXPECT_EQ(0u, exitCode);
}

namespace {
HWND WaitForOwnedDialog(HWND owner, const wchar_t *title, DWORD timeoutMs)
{
    DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        HWND dialog = FindWindowW(L"#32770", title);
        if (dialog && IsWindowVisible(dialog) && GetWindow(dialog, GW_OWNER) == owner) return dialog;
        if (GetTickCount() > end) return NULL;
        PumpMessages(20);
    }
}

// The screen shape goes back to portrait however the test ends.
struct PortraitGuard {
    ~PortraitGuard() { SimRotate(SIM_PORTRAIT); }
};
}

TEST(Program, HotRowsOpenTheirDialogsInPortraitAndLandscape)
{
    // Which row opens which dialog is the main window's test; here real taps in a
    // program of its own, whose splash follows the turned screen by itself. Portrait
    // opens only its first row: the first dialog of the run is a host.
    struct Shape {
        int shape;
        int x, rowLow, rowStep, rowHeight, rows;
    } shapes[] = {{SIM_PORTRAIT, 260, 120, 60, 60, 1}, {SIM_LANDSCAPE, 250, 50, 50, 30, 6}};
    const struct {
        int index;
        const wchar_t *title;
        bool host;   // a category host, made of a tab control
    } rows[] = {{0, L"Today Tricks", true},  {1, L"File System Tricks", false}, {2, L"Phone Tricks", true},
                {3, L"System Tricks", true}, {4, L"Dialog", true},              {5, L"KeyBoard Tricks", false}};

    PortraitGuard portrait;
    ProgramProcess program = StartProgram();
    ASSERT_TRUE(program.process != NULL);
    ProgramGuard guard = {program};
    HWND main = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(main != NULL);

    for (const Shape &shape : shapes) {
        ASSERT_TRUE(SimRotate(shape.shape));
        PumpMessages(500);
        for (int k = 0; k < shape.rows; ++k) {
            const auto &row = rows[k];
            POINT tap = {shape.x, shape.rowLow + row.index * shape.rowStep + shape.rowHeight / 2};
            ClientToScreen(main, &tap);
            HWND dialog = NULL;
            for (int attempt = 0; attempt < 3 && !dialog; attempt++) {
                TapScreen(tap.x, tap.y);
                dialog = WaitForOwnedDialog(main, row.title, 3000);
            }
            ASSERT_TRUE(dialog != NULL) << "row " << row.index << " in shape " << shape.shape;
            RECT rect;
            GetWindowRect(dialog, &rect);
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left) << "full screen";
            if (row.host) {
                // The program loads no common controls of its own: the first dialog
                // must find them all the same.
                HWND tab = FindWindowExW(dialog, NULL, L"SysTabControl32", NULL);
                EXPECT_TRUE(tab != NULL) << "no tab control in row " << row.index;
            }
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 100 && IsWindow(dialog); i++) PumpMessages(20);
            EXPECT_FALSE(IsWindow(dialog));
        }
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(program, 10000));
}
