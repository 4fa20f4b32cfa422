// What the main window opens, as the catalog of pages lists it: the four category hosts
// with their tabs, Done, a fresh page on each visit, and a turn of the screen while a
// host or a dialog of its own is open.
#include "tests/hosts/host_kit.h"
#include "ui/tweak_catalog.h"
#include "aygshell.h"

namespace {

// A host with its tabs' labels in tab order, or a dialog of its own (no labels).
struct Opened {
    UINT templateId;
    DLGPROC procedure;
    std::vector<std::wstring> labels;
};

std::vector<Opened> EveryHost()
{
    std::vector<Opened> hosts;
    for (int s = 0; s < g_tweakCatalogCount; s++) {
        const TweakSheet &sheet = g_tweakCatalog[s];
        if (hosts.empty() || hosts.back().templateId != sheet.openedTemplate)
            hosts.push_back({sheet.openedTemplate, sheet.openedProcedure, {}});
        if (sheet.tab >= 0) hosts.back().labels.push_back(sheet.name);
    }
    return hosts;
}

HWND TabsOf(HWND host)
{
    return FindWindowExW(host, NULL, WC_TABCONTROLW, NULL);
}

bool Inside(const RECT &inner, const RECT &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

// The host between the top bar and the soft-key bar, every tab on the screen there, and
// the page above the tab strip.
void ExpectFits(HWND host)
{
    RECT band = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT}, area;
    GetClientRect(host, &area);
    MapWindowPoints(host, NULL, (POINT *)&area, 2);
    EXPECT_TRUE(Inside(area, band)) << "the host reaches " << area.bottom << " of " << band.bottom;
    HWND tabs = TabsOf(host), page = PageInTabs(tabs);
    if (!tabs) return;
    ASSERT_TRUE(page != NULL);
    RECT placed;
    GetWindowRect(page, &placed);
    EXPECT_TRUE(Inside(placed, band)) << "the page reaches " << placed.bottom << " of " << band.bottom;
    for (int tab = 0; tab < (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0); tab++) {
        RECT item;
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, tab, (LPARAM)&item));
        MapWindowPoints(tabs, NULL, (POINT *)&item, 2);
        EXPECT_TRUE(Inside(item, band)) << "tab " << tab << " reaches " << item.bottom << " of " << band.bottom;
        EXPECT_LE(placed.bottom, item.top) << "the page covers tab " << tab;
    }
}

std::wstring TabLabel(HWND tabs, int index)
{
    wchar_t text[64] = L"";
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, index, (LPARAM)&item);
    return text;
}

class HostTest : public DeviceTest {};

}  // namespace

// The tabs' labels; the shell's Done key closes the host, and so does Done inside
// any of its pages.
TEST_F(HostTest, TabsAreLabelledAndDoneClosesTheHostFromTheBarOrAnyPage)
{
    for (const Opened &host : EveryHost()) {
        if (host.labels.empty()) continue;
        SCOPED_TRACE(host.templateId);
        EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = TabsOf(dialog);
            ASSERT_EQ((int)host.labels.size(), (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (int tab = 0; tab < (int)host.labels.size(); tab++) EXPECT_EQ(host.labels[tab], TabLabel(tabs, tab));
            SendMessageW(GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK), BM_CLICK, 0, 0);
            EXPECT_FALSE(IsWindowVisible(dialog));
        }));
        for (int tab = 0; tab < (int)host.labels.size(); tab++) {
            HWND closed = NULL;
            EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
                TapTab(TabsOf(dialog), tab);
                ASSERT_EQ(tab, (int)SendMessageW(TabsOf(dialog), TCM_GETCURSEL, 0, 0));
                closed = dialog;
                SendMessageW(PageInTabs(TabsOf(dialog)), WM_COMMAND, IDOK, 0);
                EXPECT_FALSE(IsWindowVisible(dialog)) << "the host is still open";
            })) << "tab " << tab;
            EXPECT_FALSE(IsWindow(closed)) << "tab " << tab;
        }
    }
}

// A to B to A: each visit makes a fresh page that reads what the other page (or
// another program) wrote meanwhile.
TEST_F(HostTest, ComingBackToATabMakesAFreshPageThatReadsWhatTheOtherPageWrote)
{
    const wchar_t *settings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    DeleteRegValue(LM, settings, L"ClearTypeText");
    DeleteRegValue(LM, settings, L"Security_RunScripts");
    RunHost(IDD_INTERNET_HOST, InternetHostProc, [&](HWND host) {
        HWND tabs = TabsOf(host);
        HWND browser = PageInTabs(tabs);
        ASSERT_FALSE(IsTicked(browser, IDC_PIE_CLEARTYPE));
        Tap(browser, IDC_PIE_CLEARTYPE);
        TapTab(tabs, TAB_SECURITY);
        HWND security = PageInTabs(tabs);
        ASSERT_FALSE(IsTicked(security, IDC_SEC_NO_SCRIPTS));
        Tap(security, IDC_SEC_NO_SCRIPTS);
        WriteRegDword(LM, settings, L"ClearTypeText", 0);
        TapTab(tabs, TAB_PIE);
        EXPECT_FALSE(IsTicked(PageInTabs(tabs), IDC_PIE_CLEARTYPE)) << "the browser page kept its old state";
        TapTab(tabs, TAB_SECURITY);
        EXPECT_TRUE(IsTicked(PageInTabs(tabs), IDC_SEC_NO_SCRIPTS));
        EXPECT_EQ(0u, RegDwordOr(LM, settings, L"Security_RunScripts", 99));
    });
}

// Every host and dialog the main window opens, turned while open to each shape: it
// stays between the bars with its page above its tabs, and its tabs still switch, each
// new page fitting too.
TEST_F(HostTest, TurnedWhileOpenEveryHostFitsAboveTheSoftKeyBarAndKeepsSwitchingTabs)
{
    for (const Opened &host : EveryHost()) {
        SCOPED_TRACE(host.templateId);
        RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE, SIM_PORTRAIT}) {
                SCOPED_TRACE(::testing::Message() << "shape " << shape);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectFits(dialog);
                for (int tab = 0; tab < (int)host.labels.size(); tab++) {
                    TapTab(TabsOf(dialog), tab);
                    ASSERT_EQ(tab, (int)SendMessageW(TabsOf(dialog), TCM_GETCURSEL, 0, 0));
                    ExpectFits(dialog);
                }
            }
        });
    }
}
