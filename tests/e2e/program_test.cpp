// The real program, started as its own process on the test device and driven with
// real taps.
#include <functional>
#include <windows.h>
#include <commctrl.h>
#include "testkit.h"
#include "aygshell.h"
#include "resource.h"

namespace {

// What `find` gives within `ms` milliseconds, or NULL.
HWND Await(const std::function<HWND()> &find, DWORD ms = 3000)
{
    for (DWORD end = GetTickCount() + ms; GetTickCount() < end; PumpMessages(20))
        if (HWND found = find()) return found;
    return NULL;
}

// Taps the middle of `at` until `find` gives a window: the first tap of a program just
// started may only activate it.
HWND TapUntil(const RECT &at, const std::function<HWND()> &find)
{
    HWND found = NULL;
    for (int attempt = 0; attempt < 3 && !found; attempt++)
        TapScreen((at.left + at.right) / 2, (at.top + at.bottom) / 2), found = Await(find);
    return found;
}

// The program beside the tests, ended however the test ends: left running, it would
// keep the test's output open.
struct Program {
    PROCESS_INFORMATION info = {};
    STARTUPINFOW startup = {sizeof startup};
    Program() { CreateProcessW(PathBesideTests(L"ZelvoRudore.exe").c_str(), NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info); }
    ~Program()
    {
        TerminateProcess(info.hProcess, 1), WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess), CloseHandle(info.hThread);
    }
};

HWND Shown(HWND window) { return window && IsWindowVisible(window) ? window : NULL; }

// A visible dialog of that title owned by `owner`.
HWND OwnedDialog(HWND owner, const wchar_t *title)
{
    HWND dialog = Shown(FindWindowW(L"#32770", title));
    return dialog && GetWindow(dialog, GW_OWNER) == owner ? dialog : NULL;
}

// Where tab `index` of another process's tab control lies on the screen, asked for
// through memory lent in that process.
bool TabOnScreen(HANDLE process, HWND tabs, int index, RECT *rect)
{
    void *lent = VirtualAllocEx(process, NULL, sizeof *rect, MEM_COMMIT, PAGE_READWRITE);
    bool got = lent && SendMessageW(tabs, TCM_GETITEMRECT, index, (LPARAM)lent) &&
               ReadProcessMemory(process, lent, rect, sizeof *rect, NULL);
    if (lent) VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    if (got) MapWindowPoints(tabs, NULL, (POINT *)rect, 2);
    return got;
}

// The page a tab control shows: its visible dialog child.
HWND ShownPage(HWND tabs)
{
    HWND child = FindWindowExW(tabs, NULL, L"#32770", NULL);
    while (child && !IsWindowVisible(child)) child = FindWindowExW(tabs, child, L"#32770", NULL);
    return child;
}

}  // namespace

// Each host opens by a tap on its hot row of the splash, every tab is tapped, in every
// shape; then "Exit" asks and "No" ends the program. The first dialog of the run is a
// host: the program loads no common controls of its own, and must find them all the same.
TEST(Program, EveryTabOfEveryHostShowsItsPageWhenTappedInEveryShape)
{
    const struct { int row; const wchar_t *title; int tabs; } hosts[] = {
        {4, L"Dialog", 5}, {0, L"Today Tricks", 3}, {3, L"System Tricks", 6}, {2, L"Phone Tricks", 4}};
    // The middle of hot row k lies at (250, first + k * step) in the main window.
    const struct { int shape, first, step; } shapes[] = {{SIM_PORTRAIT, 150, 60}, {SIM_LANDSCAPE, 65, 50}, {SIM_SQUARE, 87, 40}};

    ScreenTurn portrait(SIM_PORTRAIT);  // and back to portrait at the end
    Program program;
    HWND main = Await([] { return Shown(FindWindowW(L"ZEZARIVERARURIDOZ", L"Zelvo Rudore")); }, 10000);
    ASSERT_TRUE(main != NULL);
    for (const auto &shape : shapes) {
        ASSERT_TRUE(SimRotate(shape.shape));
        PumpMessages(300);
        for (const auto &host : hosts) {
            SCOPED_TRACE(testing::Message() << "row " << host.row << " in shape " << shape.shape);
            POINT row = {250, shape.first + host.row * shape.step};
            ClientToScreen(main, &row);
            HWND dialog = TapUntil({row.x, row.y, row.x, row.y}, [&] { return OwnedDialog(main, host.title); });
            ASSERT_TRUE(dialog != NULL);
            HWND tabs = FindWindowExW(dialog, NULL, L"SysTabControl32", NULL);
            ASSERT_EQ(host.tabs, (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            // Every tab from the second to the last, then the first again.
            for (int step = 1; step <= host.tabs; step++) {
                int tab = step % host.tabs;
                RECT item, placed;
                ASSERT_TRUE(TabOnScreen(program.info.hProcess, tabs, tab, &item));
                // Between the top bar and the soft-key bar, where a tap reaches the host.
                int middle = (item.top + item.bottom) / 2;
                EXPECT_TRUE(middle >= SIM_BAR_HEIGHT && middle < GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT) << tab;
                HWND before = ShownPage(tabs);
                HWND page = TapUntil(item, [&] {
                    HWND shown = ShownPage(tabs);
                    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab && shown != before ? shown : NULL;
                });
                ASSERT_TRUE(page != NULL) << "tapping tab " << tab << " showed no page of its own";
                GetWindowRect(page, &placed);
                EXPECT_LE(placed.bottom, item.top) << "tab " << tab << "'s page lies over the tab strip";
            }
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(Await([&] { return IsWindow(dialog) ? NULL : main; })) << "Done left the host open";
        }
    }

    // The soft key labelled "Exit", then "No" in the box it asks with.
    HWND bar = NULL;
    while ((bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL)) != NULL && GetWindow(bar, GW_OWNER) != main) {}
    HWND exitKey = bar ? FindWindowExW(bar, NULL, SIM_SOFTKEY_CLASS, L"Exit") : NULL;
    ASSERT_TRUE(exitKey != NULL) << "no soft key labelled Exit";
    RECT key;
    GetWindowRect(exitKey, &key);
    HWND no = TapUntil(key, [&] {
        HWND box = OwnedDialog(main, L"Confirm!");
        return box ? FindWindowExW(box, NULL, L"Button", L"&No") : NULL;
    });
    ASSERT_TRUE(no != NULL) << "no confirmation box";
    GetWindowRect(no, &key);
    EXPECT_TRUE(TapUntil(key, [&] {
        DWORD code = STILL_ACTIVE;
        return GetExitCodeProcess(program.info.hProcess, &code) && code == 0 ? main : NULL;
    }));
}
