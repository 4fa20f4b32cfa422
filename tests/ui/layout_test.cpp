// Every dialog template of the resource set, in every layout variant, laid out on the
// device's screen in each shape the way the program shows it: hosts and modal dialogs
// full screen between the navigation bar and their soft-key bar, pages in their host's
// tab control above its tab strip. A control belongs where the relayout rule puts it,
// MapDialogRect of (x, y, x + cx, y + cy) in the dialog itself, so the checks hold
// whatever font the dialogs get.
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "aygshell.h"
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "resource.h"
#include "testkit.h"
#include "tests/hosts/host_kit.h"
#include "ui/category_host.h"
#include "ui/pages.h"
#include "ui/template_walk.h"

namespace {

struct Variants {
    UINT portrait, landscape, square;
};

// A modal dialog, or a host with its tab control and the variants of each tab's page.
struct DialogLayout {
    const char *name;
    UINT created;
    Variants variants;
    DLGPROC procedure;
    UINT tabControl;
    std::vector<Variants> pages;
};

const DialogLayout kDialogs[] = {
    {"Internet", IDD_INTERNET_HOST, {IDD_INTERNET_HOST, IDD_INTERNET_HOST_LANDSCAPE, IDD_INTERNET_HOST_SQUARE},
     InternetHostProc, IDC_INTERNET_TABS,
     {{IDD_BROWSER_PAGE, IDD_BROWSER_PAGE_LANDSCAPE, IDD_BROWSER_PAGE_SQUARE},
      {IDD_MAIL_PAGE, IDD_MAIL_PAGE, IDD_MAIL_PAGE},
      {IDD_MESSAGING_PAGE, IDD_MESSAGING_PAGE_LANDSCAPE, IDD_MESSAGING_PAGE_SQUARE},
      {IDD_SECURITY_PAGE, IDD_SECURITY_PAGE, IDD_SECURITY_PAGE},
      {IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE}}},
    {"Today", IDD_TODAY_HOST, {IDD_TODAY_HOST_PORTRAIT, IDD_TODAY_HOST_LANDSCAPE, IDD_TODAY_HOST},
     TodayHostProc, IDC_TODAY_TABS,
     {{IDD_TODAY_TEXT_PAGE_PORTRAIT, IDD_TODAY_TEXT_PAGE_LANDSCAPE, IDD_TODAY_TEXT_PAGE},
      {IDD_SETTINGS_ICONS_PAGE, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE, IDD_SETTINGS_ICONS_PAGE_SQUARE},
      {IDD_SOFTKEY_PAGE_PORTRAIT, IDD_SOFTKEY_PAGE_LANDSCAPE, IDD_SOFTKEY_PAGE}}},
    {"System", IDD_SYSTEM_HOST, {IDD_SYSTEM_HOST, IDD_SYSTEM_HOST_LANDSCAPE, IDD_SYSTEM_HOST_SQUARE},
     SystemHostProc, IDC_SYSTEM_TABS,
     {{IDD_SYSTEM_FONT_PAGE_PORTRAIT, IDD_SYSTEM_FONT_PAGE, IDD_SYSTEM_FONT_PAGE_SQUARE},
      {IDD_MENU_FONT_PAGE, IDD_MENU_FONT_PAGE_LANDSCAPE, IDD_MENU_FONT_PAGE_SQUARE},
      {IDD_GRAPHICS_PAGE, IDD_GRAPHICS_PAGE_LANDSCAPE, IDD_GRAPHICS_PAGE_SQUARE},
      {IDD_CLOCK_POWER_PAGE, IDD_CLOCK_POWER_PAGE_LANDSCAPE, IDD_CLOCK_POWER_PAGE_SQUARE},
      {IDD_DEVICE_PAGE, IDD_DEVICE_PAGE_LANDSCAPE, IDD_DEVICE_PAGE_SQUARE},
      {IDD_MESSENGER_PAGE, IDD_MESSENGER_PAGE_LANDSCAPE, IDD_MESSENGER_PAGE_SQUARE}}},
    {"Phone", IDD_PHONE_HOST, {IDD_PHONE_HOST, IDD_PHONE_HOST_LANDSCAPE, IDD_PHONE_HOST_SQUARE},
     PhoneHostProc, IDC_PHONE_TABS,
     {{IDD_SOUND_FOLDERS_PAGE, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE},
      {IDD_PHONE_SOUNDS_PAGE, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE},
      {IDD_CALL_SOUNDS_PAGE, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE},
      {IDD_PHONE_APPEARANCE_PAGE, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE, IDD_PHONE_APPEARANCE_PAGE_SQUARE}}},
    {"About", IDD_ABOUT, {IDD_ABOUT, IDD_ABOUT_LANDSCAPE, IDD_ABOUT}, AboutDialogProc, 0, {}},
    {"Keyboard", IDD_KEYBOARD, {IDD_KEYBOARD, IDD_KEYBOARD_LANDSCAPE, IDD_KEYBOARD_SQUARE}, KeyboardTricksDialogProc,
     0, {}},
    {"File system", IDD_FILESYSTEM, {IDD_FILESYSTEM, IDD_FILESYSTEM, IDD_FILESYSTEM}, FileSystemTricksDialogProc, 0, {}},
    {"Calendar", IDD_CALENDAR, {IDD_CALENDAR, IDD_CALENDAR_LANDSCAPE, IDD_CALENDAR_SQUARE}, CalendarDialogProc, 0, {}},
    {"Notification help", IDD_NOTIFY_HELP, {IDD_NOTIFY_HELP, IDD_NOTIFY_HELP_LANDSCAPE, IDD_NOTIFY_HELP},
     NotificationOptionsHelpProc, 0, {}},
    {"File browser", IDD_FILE_BROWSER, {IDD_FILE_BROWSER, IDD_FILE_BROWSER_LANDSCAPE, IDD_FILE_BROWSER},
     FileBrowserDialogProc, 0, {}},
};

std::string RectText(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool Inside(const RECT &inner, const RECT &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT ScreenRect(HWND window, bool client)
{
    RECT r = {0, 0, 0, 0};
    if (!client) GetWindowRect(window, &r);
    else if (GetClientRect(window, &r)) MapWindowPoints(window, NULL, (POINT *)&r, 2);
    return r;
}

// Full screen between the navigation bar, which shows the dialog's title, and the
// dialog's own soft-key bar.
void ExpectBetweenBars(HWND dialog)
{
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HWND nav = FindWindowW(SIM_NAVBAR_CLASS, NULL), bar = NULL;
    while ((bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL)) && GetWindow(bar, GW_OWNER) != dialog) {}
    EXPECT_EQ(RectText({0, 0, cx, SIM_BAR_HEIGHT}), RectText(ScreenRect(nav, false))) << "navigation bar";
    EXPECT_EQ(RectText({0, SIM_BAR_HEIGHT, cx, cy - SIM_BAR_HEIGHT}), RectText(ScreenRect(dialog, false)));
    EXPECT_EQ(RectText(ScreenRect(dialog, false)), RectText(ScreenRect(dialog, true))) << "frame or caption left";
    EXPECT_EQ(RectText({0, cy - SIM_BAR_HEIGHT, cx, cy}), RectText(ScreenRect(bar, false))) << "soft-key bar";
    EXPECT_EQ(WindowText(dialog), WindowText(nav));
}

// A check box or radio button whose label, in its own font, does not fit beside its box.
bool LabelClipped(HWND control, const RECT &place)
{
    LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (kind != BS_AUTOCHECKBOX && kind != BS_AUTORADIOBUTTON) return false;
    std::wstring label = WindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(control, WM_GETFONT, 0, 0));
    SIZE text = {0, 0};
    GetTextExtentPoint32W(dc, label.c_str(), (int)label.size(), &text);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return text.cx + GetSystemMetrics(SM_CXMENUCHECK) + 6 > place.right - place.left;
}

// Every item of the shape's variant against `dialog`: each visible one lies inside the
// dialog's client area, clear of the others, with its whole label. A dialog with more
// than one variant is laid out again on every WM_SIZE: each control is where the
// relayout rule puts it (but a host's tab control fills the host), which also proves
// that the shape's variant was taken.
void ExpectItemsInside(HWND dialog, const Variants &variants, int shape, std::set<UINT> &walked, bool host = false)
{
    UINT templateId = shape == SIM_PORTRAIT ? variants.portrait
                      : shape == SIM_LANDSCAPE ? variants.landscape : variants.square;
    SCOPED_TRACE(testing::Message() << "template " << templateId);
    walked.insert(templateId);
    if (!host && (variants.portrait != variants.landscape || variants.portrait != variants.square)) {
        EXPECT_TRUE(LaidOutLike(dialog, templateId));
    }
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    ASSERT_TRUE(found != NULL);
    TemplateWalk walk;
    ASSERT_TRUE(TemplateWalkBegin(&walk, LockResource(LoadResource(g_hInstance, found)),
                                  SizeofResource(g_hInstance, found), NULL));
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> shown;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        RECT expected = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        ASSERT_TRUE(MapDialogRect(dialog, &expected));
        HWND control = item.id == 0xFFFF ? NULL : GetDlgItem(dialog, item.id);
        EXPECT_TRUE(control || item.id == 0xFFFF) << "no control " << item.id;
        if (!((control ? (DWORD)GetWindowLongW(control, GWL_STYLE) : item.style) & WS_VISIBLE)) continue;
        EXPECT_TRUE(Inside(expected, client)) << "control " << item.id << " at " << RectText(expected)
                                              << " lies outside " << RectText(client);
        EXPECT_FALSE(control && LabelClipped(control, expected)) << "label of " << item.id << " clipped";
        // A group box frames the controls within it.
        if (TemplateClassOrdinal(&item.windowClass) == TEMPLATE_CLASS_BUTTON && (item.style & BS_TYPEMASK) == BS_GROUPBOX)
            continue;
        for (const auto &other : shown) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &expected, &other.second))
                << "controls " << item.id << " and " << other.first << " overlap";
        }
        shown.push_back(std::make_pair((int)item.id, expected));
    }
    EXPECT_EQ(TEMPLATE_WALK_OK, walk.error);
}

// A host's tab control covers its whole client area with every tab on it; each tab
// makes a fresh page, alone over the tab control above its tab strip.
void ExpectTabsLaidOut(const DialogLayout &host, HWND dialog, int shape, std::set<UINT> &walked)
{
    HWND tabs = GetDlgItem(dialog, host.tabControl);
    ASSERT_TRUE(tabs != NULL);
    RECT tabArea = ScreenRect(tabs, false), hostArea = ScreenRect(dialog, true);
    EXPECT_EQ(RectText(hostArea), RectText(tabArea));
    ASSERT_EQ(host.pages.size(), (size_t)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int tab = 0; tab < (int)host.pages.size(); tab++) {
        SCOPED_TRACE(testing::Message() << "tab " << tab);
        RECT item;
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, tab, (LPARAM)&item));
        MapWindowPoints(tabs, NULL, (POINT *)&item, 2);
        EXPECT_TRUE(Inside(item, hostArea)) << "tab at " << RectText(item);
        HWND before = CurrentCategoryPage(dialog);
        TapTab(tabs, tab);
        HWND page = CurrentCategoryPage(dialog);
        ASSERT_TRUE(page != NULL);
        EXPECT_TRUE(tab == 0 || page != before);
        EXPECT_EQ(1, CountPagesInTabs(tabs));
        RECT above = ScreenRect(tabs, true);
        above.bottom -= CATEGORY_TAB_STRIP_HEIGHT;
        EXPECT_EQ(RectText(above), RectText(ScreenRect(page, false))) << "page";
        ExpectItemsInside(page, host.pages[tab], shape, walked);
    }
}

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name)) ((std::set<UINT> *)ids)->insert((UINT)(UINT_PTR)name);
    return TRUE;
}

}  // namespace

class Layout : public DeviceTest {};

TEST_F(Layout, EveryControlOfEveryDialogLiesOnTheScreenInEveryShape)
{
    // The widest label the device page's counter is ever given.
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", 0xFFFFFFFF);
    std::set<UINT> walked;
    for (const DialogLayout &layout : kDialogs)
        RunDialog(layout.created, layout.procedure, [&](HWND dialog) {
            for (int shape : {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE}) {
                SCOPED_TRACE(testing::Message() << layout.name << ", shape " << shape);
                HWND page = CurrentCategoryPage(dialog);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectBetweenBars(dialog);
                ExpectItemsInside(dialog, layout.variants, shape, walked, layout.tabControl != 0);
                if (!layout.tabControl) continue;
                EXPECT_EQ(page, CurrentCategoryPage(dialog)) << "a turn keeps the page, not made anew";
                ExpectTabsLaidOut(layout, dialog, shape, walked);
            }
            EndDialog(dialog, 1);
        });

    // Nothing of the resource set is left out (the relayout tests' own templates,
    // numbered from 5000, aside).
    std::set<UINT> all;
    EnumResourceNamesW(g_hInstance, (LPCWSTR)RT_DIALOG, CollectDialog, (LONG_PTR)&all);
    for (UINT id : all) {
        EXPECT_TRUE(id >= 5000 || walked.count(id)) << "template " << id << " was not laid out";
    }
    EXPECT_LE(70u, walked.size());
}
