// What the main window opens, as the catalog of pages lists it: the category hosts
// with their tabs and Done, a fresh page on each visit, and a turn of the screen while
// a host or a dialog of its own is open.
#include <map>
#include "tests/hosts/host_kit.h"
#include "ui/tweak_catalog.h"
#include "aygshell.h"

namespace {

// A host with its tabs' labels in tab order, or a dialog of its own (no labels).
struct Opened { UINT templateId; DLGPROC procedure; std::vector<std::wstring> labels; };

std::vector<Opened> EveryHost()
{
    std::vector<Opened> hosts;
    for (int s = 0; s < TweakSheetCount(); s++) {
        const TweakSheet &sheet = TweakSheetAt(s);
        if (hosts.empty() || hosts.back().templateId != sheet.openedTemplate)
            hosts.push_back({sheet.openedTemplate, sheet.openedProcedure, {}});
        if (sheet.tab >= 0) hosts.back().labels.push_back(sheet.name);
    }
    return hosts;
}

HWND TabsOf(HWND host) { return FindWindowExW(host, NULL, WC_TABCONTROLW, NULL); }

// What each window of this thread was told while watched: sizes and erases sent to it,
// paints it took from its queue.
struct WindowEvents { int sized, erased, painted; };
std::map<HWND, WindowEvents> g_events;

LRESULT CALLBACK NoteSent(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
    if (sent->message == WM_SIZE) g_events[sent->hwnd].sized++;
    if (sent->message == WM_ERASEBKGND) g_events[sent->hwnd].erased++;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT CALLBACK NoteTaken(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *taken = (const MSG *)lParam;
    if (wParam == PM_REMOVE && taken->message == WM_PAINT) g_events[taken->hwnd].painted++;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// The shell's windows that serve `host`: the navigation bar, the host's soft-key bar
// and the keys of both.
std::vector<HWND> ShellWindowsOf(HWND host)
{
    HWND nav = FindWindowW(SIM_NAVBAR_CLASS, NULL), bar = NULL;
    do bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL);
    while (bar && GetWindow(bar, GW_OWNER) != host);
    std::vector<HWND> windows = {nav, bar};
    for (HWND parent : {nav, bar})
        for (HWND key = GetWindow(parent, GW_CHILD); key; key = GetWindow(key, GW_HWNDNEXT)) windows.push_back(key);
    return windows;
}

bool Inside(const RECT &in, const RECT &out) { return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom; }

// What the screen shows at the top-left corner of a control's frame (its window, not its
// client area).
COLORREF FrameCorner(HWND control)
{
    RECT at;
    GetWindowRect(control, &at);
    HDC screen = GetDC(NULL);
    COLORREF shown = GetPixel(screen, at.left, at.top);
    ReleaseDC(NULL, screen);
    return shown;
}

bool HasFrame(HWND control)
{
    RECT outer, inner;
    GetWindowRect(control, &outer);
    GetClientRect(control, &inner);
    return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

// The host between the top bar and the soft-key bar, every tab on the screen there, and
// the page above the tab strip.
void ExpectFits(HWND host)
{
    RECT band = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT}, area;
    GetClientRect(host, &area);
    MapWindowPoints(host, NULL, (POINT *)&area, 2);
    EXPECT_TRUE(Inside(area, band)) << "the host reaches " << area.bottom << " of " << band.bottom;
    HWND tabs = TabsOf(host);
    if (!tabs) return;
    ASSERT_TRUE(PageInTabs(tabs) != NULL);
    GetWindowRect(PageInTabs(tabs), &area);
    EXPECT_TRUE(Inside(area, band)) << "the page reaches " << area.bottom << " of " << band.bottom;
    for (int tab = 0; tab < (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0); tab++) {
        RECT item;
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, tab, (LPARAM)&item));
        MapWindowPoints(tabs, NULL, (POINT *)&item, 2);
        EXPECT_TRUE(Inside(item, band)) << "tab " << tab << " reaches " << item.bottom << " of " << band.bottom;
        EXPECT_LE(area.bottom, item.top) << "the page covers tab " << tab;
    }
}

class HostTest : public DeviceTest {};

}  // namespace

// Every host and dialog the main window opens, turned while open to each shape: it
// stays between the bars with its page above its tabs, and its tabs, labelled as the
// catalog names the pages, still switch, each new page fitting too. The shell's Done
// key closes it, and so does Done inside any of its pages.
TEST_F(HostTest, TurnedWhileOpenEveryHostFitsAndSwitchesTabsAndDoneClosesIt)
{
    for (const Opened &host : EveryHost()) {
        SCOPED_TRACE(host.templateId);
        INT_PTR result = RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = TabsOf(dialog);
            ASSERT_EQ((int)host.labels.size(), (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE, SIM_PORTRAIT}) {
                SCOPED_TRACE(::testing::Message() << "shape " << shape);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectFits(dialog);
                for (int tab = 0; tab < (int)host.labels.size(); tab++) {
                    TapTab(tabs, tab);
                    ASSERT_EQ(tab, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
                    wchar_t label[64] = L"";
                    TCITEMW item = {TCIF_TEXT, 0, 0, label, 64};
                    SendMessageW(tabs, TCM_GETITEMW, tab, (LPARAM)&item);
                    EXPECT_EQ(host.labels[tab], label);
                    ExpectFits(dialog);
                }
            }
            SendMessageW(GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK), BM_CLICK, 0, 0);
            EXPECT_FALSE(IsWindowVisible(dialog));
        });
        if (host.labels.empty()) continue;
        EXPECT_EQ(1, result);
        for (int tab = 0; tab < (int)host.labels.size(); tab++) {
            HWND closed = NULL;
            EXPECT_EQ(1, RunCategoryPage(host.templateId, host.procedure, tab, [&](HWND page) {
                SendMessageW(page, WM_COMMAND, IDOK, 0);
                EXPECT_FALSE(IsWindowVisible(closed = GetAncestor(page, GA_ROOT))) << "the host is still open";
            })) << "tab " << tab;
            EXPECT_FALSE(IsWindow(closed)) << "tab " << tab;
        }
    }
}

// A turn with a host open lays the host and its page out once each, and erases and
// paints each window of the shell and of the page once: nothing is drawn twice, nor
// first with its old picture. A control with a frame (the field's sunken edge) shows it
// after the turn as before. So for a page laid out anew in each shape and for one that
// keeps a single layout.
TEST_F(HostTest, ATurnLaysOutAndPaintsEachWindowOnce)
{
    RunHost(IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, [&](HWND host) {
        for (int tab : {TAB_PIE, TAB_INBOX1}) {
            SCOPED_TRACE(::testing::Message() << "tab " << tab);
            TapTab(TabsOf(host), tab);
            HWND page = PageInTabs(TabsOf(host));
            ASSERT_TRUE(page != NULL);
            std::vector<HWND> painted = ShellWindowsOf(host);
            ASSERT_TRUE(painted[0] && painted[1]) << "no navigation or soft-key bar";
            painted.push_back(page);
            for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
                if (IsWindowVisible(control)) painted.push_back(control);
            PumpMessages(50);
            std::map<HWND, COLORREF> frames;
            for (HWND control : painted)
                if (GetParent(control) == page && HasFrame(control)) frames[control] = FrameCorner(control);
            ASSERT_FALSE(frames.empty()) << "no framed control on the page";
            HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, NoteSent, NULL, GetCurrentThreadId());
            HHOOK taken = SetWindowsHookExW(WH_GETMESSAGE, NoteTaken, NULL, GetCurrentThreadId());
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE, SIM_PORTRAIT}) {
                SCOPED_TRACE(::testing::Message() << "shape " << shape);
                std::vector<RECT> before(painted.size());
                for (size_t i = 0; i < painted.size(); i++) GetWindowRect(painted[i], &before[i]);
                g_events.clear();
                ASSERT_TRUE(SimRotate(shape));
                PumpMessages(50);
                ExpectFits(host);
                EXPECT_EQ(1, g_events[host].sized);
                EXPECT_EQ(1, g_events[page].sized);
                for (size_t i = 0; i < painted.size(); i++) {
                    wchar_t name[64] = L"";
                    GetClassNameW(painted[i], name, 64);
                    SCOPED_TRACE(::testing::Message() << "a window of class "
                                                      << testing::PrintToString(std::wstring(name)) << ", id "
                                                      << GetDlgCtrlID(painted[i]));
                    RECT after;
                    GetWindowRect(painted[i], &after);
                    // A bar the turn left where it was (the top one between square and
                    // portrait) need not be drawn again.
                    if (!EqualRect(&before[i], &after) || GetAncestor(painted[i], GA_ROOT) == host) {
                        EXPECT_EQ(1, g_events[painted[i]].painted);
                    }
                    EXPECT_GE(1, g_events[painted[i]].painted);
                    EXPECT_GE(1, g_events[painted[i]].erased);
                }
                for (const auto &frame : frames)
                    EXPECT_EQ(frame.second, FrameCorner(frame.first))
                        << "frame of control " << GetDlgCtrlID(frame.first);
            }
            UnhookWindowsHookEx(sent);
            UnhookWindowsHookEx(taken);
        }
    });
}

// A to B to A: each visit makes a fresh page that reads what another program wrote
// meanwhile.
TEST_F(HostTest, ComingBackToATabMakesAFreshPageThatReadsTheRegistryAgain)
{
    const wchar_t *settings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    DeleteRegValue(LM, settings, L"ClearTypeText");
    RunHost(IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, [&](HWND host) {
        HWND tabs = TabsOf(host);
        Tap(PageInTabs(tabs), IDC_PIE_CLEARTYPE);
        ASSERT_TRUE(IsTicked(PageInTabs(tabs), IDC_PIE_CLEARTYPE));
        TapTab(tabs, TAB_SECURITY);
        WriteRegDword(LM, settings, L"ClearTypeText", 0);
        TapTab(tabs, TAB_PIE);
        EXPECT_FALSE(IsTicked(PageInTabs(tabs), IDC_PIE_CLEARTYPE)) << "the browser page kept its old state";
    });
}

namespace {

// What the "Rudore" menu offers, in menu order: each category with the template it opens,
// its tabs' labels and the template each tab's page is created from (-1: a dialog of its
// own, created from the template it opens).
struct Listed { const wchar_t *category; UINT opened; int tab; const wchar_t *label; UINT page; };
const Listed kListed[] = {
    {L"Internet Tricks", 145, 0, L"PIE", 146},           {L"Internet Tricks", 145, 1, L"Inbox1", 150},
    {L"Internet Tricks", 145, 2, L"Inbox2", 148},        {L"Internet Tricks", 145, 3, L"Security", 151},
    {L"Internet Tricks", 145, 4, L"NetWorking", 152},    {L"Today Tricks", 154, 0, L"Settings1", 157},
    {L"Today Tricks", 154, 1, L"Settings2", 164},        {L"Today Tricks", 154, 2, L"Settings3", 156},
    {L"Keyboard Tricks", 153, -1, L"KeyBoard Tricks", 153},
    {L"File System", 155, -1, L"File System Tricks", 155},
    {L"System Tricks", 158, 0, L"Collection1", 159},     {L"System Tricks", 158, 1, L"Collection2", 218},
    {L"System Tricks", 158, 2, L"Collection3", 160},     {L"System Tricks", 158, 3, L"Collection4", 161},
    {L"System Tricks", 158, 4, L"Collection5", 162},     {L"System Tricks", 158, 5, L"MSN Tricks", 215},
    {L"Phone Tricks", 165, 0, L"Sounds1", 166},          {L"Phone Tricks", 165, 1, L"sounds2", 168},
    {L"Phone Tricks", 165, 2, L"sounds3", 169},          {L"Phone Tricks", 165, 3, L"Appearence", 167},
};

}  // namespace

// The catalog the other tests walk is the hosts' own pages and the two dialogs, no more
// and no fewer, each page created from the template its tab names.
TEST(TweakCatalog, ListsEveryCategoryTabAndPageTemplateInMenuOrder)
{
    const int listed = (int)(sizeof kListed / sizeof kListed[0]);
    ASSERT_EQ(listed, TweakSheetCount());
    for (int i = 0; i < listed; i++) {
        const TweakSheet &sheet = TweakSheetAt(i);
        SCOPED_TRACE(::testing::Message() << "sheet " << i);
        EXPECT_STREQ(kListed[i].category, sheet.category);
        EXPECT_EQ(kListed[i].opened, sheet.openedTemplate);
        EXPECT_EQ(kListed[i].tab, sheet.tab);
        EXPECT_STREQ(kListed[i].label, sheet.name);
        EXPECT_EQ(kListed[i].page, sheet.templateId);
        EXPECT_TRUE(sheet.openedProcedure != NULL);
    }
}
