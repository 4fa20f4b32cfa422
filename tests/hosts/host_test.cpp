// What the main window opens, as the catalog of pages lists it: the category hosts
// with their tabs and Done, a fresh page on each visit, and a turn of the screen while
// a host or a dialog of its own is open.
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

bool Inside(const RECT &in, const RECT &out) { return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom; }

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
