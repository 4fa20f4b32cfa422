// The real program, started as its own process on the test device and driven with
// real taps.
#include <functional>
#include <windows.h>
#include <commctrl.h>
#include "testkit.h"
#include "aygshell.h"
#include "resource.h"

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

// Where tab `index` of another process's tab control lies on the screen: the rectangle
// is asked for through memory lent in that process.
bool TabOnScreen(HANDLE process, HWND tabs, int index, RECT *rect)
{
    void *lent = VirtualAllocEx(process, NULL, sizeof *rect, MEM_COMMIT, PAGE_READWRITE);
    if (!lent) return false;
    bool got = SendMessageW(tabs, TCM_GETITEMRECT, index, (LPARAM)lent) &&
               ReadProcessMemory(process, lent, rect, sizeof *rect, NULL);
    VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    if (got) MapWindowPoints(tabs, NULL, (POINT *)rect, 2);
    return got;
}

// The page a tab control shows: its visible dialog child.
HWND ShownPage(HWND tabs)
{
    for (HWND child = FindWindowExW(tabs, NULL, L"#32770", NULL); child; child = FindWindowExW(tabs, child, L"#32770", NULL))
        if (IsWindowVisible(child)) return child;
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

TEST(Program, EveryTabOfEveryHostShowsItsPageWhenTappedInEveryShape)
{
    const struct {
        UINT command;
        const wchar_t *title;
        int tabs;
    } hosts[] = {{IDM_INTERNET, L"Dialog", 5}, {IDM_TODAY, L"Today Tricks", 3},
                 {IDM_SYSTEM, L"System Tricks", 6}, {IDM_PHONE, L"Phone Tricks", 4}};

    PortraitGuard portrait;
    ProgramProcess program = StartProgram();
    ProgramGuard guard = {program};
    HWND main = WaitForWindow(kClass, kTitle);
    ASSERT_TRUE(main != NULL);
    for (int shape : {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE}) {
        ASSERT_TRUE(SimRotate(shape));
        PumpMessages(300);
        // Between the top bar and the soft-key bar, where a tap reaches the host.
        RECT band = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT};
        for (const auto &host : hosts) {
            SCOPED_TRACE(testing::Message() << "host " << host.command << " in shape " << shape);
            PostMessageW(main, WM_COMMAND, host.command, 0);
            HWND dialog = TapUntil([] {}, [&] { return OwnedDialog(main, host.title); });
            ASSERT_TRUE(dialog != NULL);
            HWND tabs = FindWindowExW(dialog, NULL, L"SysTabControl32", NULL);
            ASSERT_TRUE(tabs != NULL);
            ASSERT_EQ(host.tabs, (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            // Every tab from the second to the last, then the first again.
            for (int step = 1; step <= host.tabs; step++) {
                int tab = step % host.tabs;
                RECT item;
                ASSERT_TRUE(TabOnScreen(program.process, tabs, tab, &item));
                POINT middle = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
                EXPECT_TRUE(PtInRect(&band, middle)) << "tab " << tab << " lies at " << middle.x << "," << middle.y;
                HWND before = ShownPage(tabs);
                HWND page = TapUntil([&] { TapScreen(middle.x, middle.y); }, [&] {
                    HWND shown = ShownPage(tabs);
                    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab && shown != before ? shown : NULL;
                });
                ASSERT_TRUE(page != NULL) << "tapping tab " << tab << " showed no page of its own";
                RECT placed;
                GetWindowRect(page, &placed);
                EXPECT_LE(placed.bottom, item.top) << "tab " << tab << "'s page lies over the tab strip";
            }
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 100 && IsWindow(dialog); i++) PumpMessages(20);
            ASSERT_FALSE(IsWindow(dialog));
        }
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(program, 10000));
}
