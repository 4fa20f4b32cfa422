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
}

TEST(Program, ExitSoftKeyAsksThenNoEndsTheProgram)
{
    ProgramProcess program = StartProgram();
    ASSERT_TRUE(program.process != NULL);
    HWND main = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(main != NULL);
    PumpMessages(300);

    HWND exitKey = WaitForOwnedControl(main, L"Exit");
    ASSERT_TRUE(exitKey != NULL) << "no soft key labelled Exit";
    RECT bar, window;
    GetWindowRect(GetAncestor(exitKey, GA_ROOT), &bar);
    GetWindowRect(main, &window);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), bar.bottom) << "the soft-key bar lies at the bottom of the screen";
    EXPECT_EQ(bar.top, window.bottom) << "the main window ends above it";
    TapControl(exitKey);

    HWND no = WaitForOwnedControl(main, L"&No");
    ASSERT_TRUE(no != NULL) << "no confirmation box";
    HWND box = GetAncestor(no, GA_ROOT);
    EXPECT_EQ(L"Confirm!", WindowText(box));
    TapControl(no);

    EXPECT_EQ(0u, WaitForExit(program, 10000));
    EndProgram(program);
}
