// Takes the real program, running on the device, to each of its screens for the pictures
// in docs/screens/ (scripts/screens.sh starts the program, runs this and photographs the
// screen). It drives the program as a user does, through its menu commands, taps on tabs
// and button clicks, from the main window each time.
//
//   make_screens list          every screen: its name and the shapes it is taken in
//   make_screens show NAME     brings the running program from its main window to NAME
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "aygshell.h"
#include "resource.h"
#include "screen_names.h"

namespace {

enum StepKind { COMMAND, TAB, CLICK, YES };
struct Step {
    StepKind kind;
    UINT value;   // the menu command, the tab's index or the button's id
};
struct Screen {
    std::string name;
    bool everyShape;   // taken in portrait, landscape and square; otherwise in portrait
    std::vector<Step> steps;
};

// The menu command that opens what a page belongs to.
UINT CommandOpening(UINT openedTemplate)
{
    const struct { UINT dialog, command; } kOpeners[] = {
        {IDD_INTERNET_HOST_PORTRAIT, IDM_INTERNET}, {IDD_TODAY_HOST_SQUARE, IDM_TODAY},       {IDD_SYSTEM_HOST_PORTRAIT, IDM_SYSTEM},
        {IDD_PHONE_HOST_PORTRAIT, IDM_PHONE},       {IDD_KEYBOARD_PORTRAIT, IDM_KEYBOARD},     {IDD_FILESYSTEM, IDM_FILESYSTEM}};
    for (const auto &opener : kOpeners)
        if (opener.dialog == openedTemplate) return opener.command;
    return 0;
}

std::vector<Screen> Screens()
{
    std::vector<Screen> screens = {{"main", true, {}}};
    // Every page and dialog of the tricks; the Internet host's first page in every shape.
    for (int i = 0; i < TweakSheetCount(); ++i) {
        const TweakSheet &sheet = TweakSheetAt(i);
        Screen screen = {ScreenName(sheet), i == 0, {{COMMAND, CommandOpening(sheet.openedTemplate)}}};
        if (sheet.tab > 0) screen.steps.push_back({TAB, (UINT)sheet.tab});
        screens.push_back(screen);
    }
    screens.push_back({"calendar", false, {{COMMAND, IDM_CALENDAR}}});
    screens.push_back({"about", false, {{COMMAND, IDM_ABOUT}}});
    screens.push_back({"notification-help", false, {{COMMAND, IDM_INTERNET}, {TAB, 2}, {CLICK, IDC_SMS_HELP}}});
    screens.push_back({"file-browser", false, {{COMMAND, IDM_PHONE}, {CLICK, IDC_SF_INCALL_BROWSE}}});
    screens.push_back({"backup-save", true, {{COMMAND, IDM_BACKUP}}});
    screens.push_back({"restore-open", false, {{COMMAND, IDM_RESTORE}, {YES, 0}}});
    return screens;
}

HWND g_main;
DWORD g_process;

// The program's window in front: the visible top-level window that takes input and was
// made last. The bars take no input of their own and are passed over.
HWND FrontWindow()
{
    struct Search { HWND found; } search = {NULL};
    EnumWindows([](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        WCHAR className[64] = L"";
        GetClassNameW(window, className, 64);
        if (process != g_process || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
            !lstrcmpW(className, SIM_MENUBAR_CLASS) || !lstrcmpW(className, SIM_NAVBAR_CLASS))
            return TRUE;
        // Windows come top of the z-order first: the first that qualifies is in front.
        ((Search *)param)->found = window;
        return FALSE;
    }, (LPARAM)&search);
    return search.found;
}

// Waits for another window to come in front.
HWND AwaitNewFront(HWND before)
{
    for (int i = 0; i < 100; ++i, Sleep(50))
        if (HWND front = FrontWindow(); front && front != before) return front;
    return NULL;
}

struct ChildSearch { UINT id; HWND found; };

// A visible control with that id anywhere in the window, pages within tabs included.
HWND FindVisibleControl(HWND window, UINT id)
{
    ChildSearch search = {id, NULL};
    EnumChildWindows(window, [](HWND child, LPARAM param) -> BOOL {
        ChildSearch *s = (ChildSearch *)param;
        if ((UINT)GetDlgCtrlID(child) != s->id || !IsWindowVisible(child)) return TRUE;
        s->found = child;
        return FALSE;
    }, (LPARAM)&search);
    return search.found;
}

// A tap through the device's own command, so that the program sees real input.
bool Tap(POINT at)
{
    WCHAR exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, exe, MAX_PATH);
    while (n && exe[n - 1] != L'\\') --n;
    exe[n] = 0;
    std::wstring command = L"\"" + std::wstring(exe) + L"devctl.exe\" tap " + std::to_wstring(at.x) + L" " +
                           std::to_wstring(at.y);
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION info;
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return false;
    WaitForSingleObject(info.hProcess, 10000);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess), CloseHandle(info.hThread);
    return code == 0;
}

// Taps tab `index` of the front window's tab control until it is the selected one (the
// first tap on a window may only activate it).
bool TapTab(HWND front, int index)
{
    HWND tabs = FindWindowExW(front, NULL, WC_TABCONTROLW, NULL);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, g_process);
    if (!tabs || !process) return false;
    // The tab control writes the rectangle into memory of its own process.
    RECT *lent = (RECT *)VirtualAllocEx(process, NULL, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rect;
    bool got = lent && SendMessageW(tabs, TCM_GETITEMRECT, index, (LPARAM)lent) &&
               ReadProcessMemory(process, lent, &rect, sizeof rect, NULL);
    if (lent) VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!got) return false;
    MapWindowPoints(tabs, NULL, (POINT *)&rect, 2);
    POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!Tap(middle)) return false;
        for (int i = 0; i < 20; ++i, Sleep(50))
            if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index) return true;
    }
    return false;
}

bool Run(const Step &step)
{
    HWND front = FrontWindow();
    switch (step.kind) {
    case COMMAND:
        PostMessageW(g_main, WM_COMMAND, step.value, 0);
        return AwaitNewFront(front) != NULL;
    case TAB:
        return front && TapTab(front, (int)step.value);
    case CLICK:
    case YES: {
        HWND button = front ? (step.kind == YES ? GetDlgItem(front, IDYES) : FindVisibleControl(front, step.value)) : NULL;
        if (!button) return false;
        PostMessageW(button, BM_CLICK, 0, 0);
        return AwaitNewFront(front) != NULL;
    }
    }
    return false;
}

int Show(const Screen &screen)
{
    for (int i = 0; i < 100 && !(g_main = FindWindowW(L"ZEZARIVERARURIDOZ", L"Zelvo Rudore")); ++i) Sleep(50);
    if (!g_main) {
        fprintf(stderr, "the program is not running\n");
        return 1;
    }
    GetWindowThreadProcessId(g_main, &g_process);
    for (const Step &step : screen.steps) {
        if (!Run(step)) {
            fprintf(stderr, "%s: step %d (%u) did not get there\n", screen.name.c_str(), (int)(&step - &screen.steps[0]),
                    step.value);
            return 1;
        }
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    std::vector<Screen> screens = Screens();
    if (argc == 2 && !lstrcmpW(argv[1], L"list")) {
        for (const Screen &screen : screens)
            printf("%s %s\n", screen.name.c_str(), screen.everyShape ? "portrait landscape square" : "portrait");
        return 0;
    }
    if (argc == 3 && !lstrcmpW(argv[1], L"show")) {
        char name[128];
        WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, name, sizeof name, NULL, NULL);
        for (const Screen &screen : screens)
            if (screen.name == name) return Show(screen);
        fprintf(stderr, "no screen %s\n", name);
        return 2;
    }
    fprintf(stderr, "usage: make_screens list | make_screens show NAME\n");
    return 2;
}
