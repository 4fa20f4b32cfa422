// Every dialog template of the resource set, in every layout variant, laid out on the
// device's screen in each shape the way the program shows it: hosts and modal dialogs
// full screen between the top bar and the soft-key bar, pages in their host's tab
// control above its tab strip, the file browser above its own soft-key bar. A control
// belongs where the relayout rule puts it, MapDialogRect of (x, y, x + cx, y + cy) in
// the dialog itself, so the checks hold whatever font the dialogs get.
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "resource.h"
#include "testkit.h"
#include "tests/hosts/host_kit.h"
#include "tests/ui/reflow_test_ids.h"
#include "ui/category_host.h"
#include "ui/pages.h"
#include "ui/template_walk.h"

namespace {

struct Variants {
    UINT portrait, landscape, square;
};

UINT VariantOf(const Variants &v, int shape)
{
    return shape == SIM_PORTRAIT ? v.portrait : shape == SIM_LANDSCAPE ? v.landscape : v.square;
}

// A dialog with one template keeps the dialog manager's layout; the others are laid
// out again on every WM_SIZE, each control where the relayout rule puts it (which also
// proves that the shape's variant was taken).
bool RelaidOut(const Variants &v)
{
    return v.portrait != v.landscape || v.portrait != v.square;
}

struct HostLayout {
    const char *name;
    UINT created;
    Variants variants;
    DLGPROC procedure;
    UINT tabControl;
    Variants pages[6];
    int pageCount;
};

const HostLayout kHosts[] = {
    {"Internet", IDD_INTERNET_HOST,
     {IDD_INTERNET_HOST, IDD_INTERNET_HOST_LANDSCAPE, IDD_INTERNET_HOST_SQUARE},
     InternetHostProc, IDC_INTERNET_TABS,
     {{IDD_BROWSER_PAGE, IDD_BROWSER_PAGE_LANDSCAPE, IDD_BROWSER_PAGE_SQUARE},
      {IDD_MAIL_PAGE, IDD_MAIL_PAGE, IDD_MAIL_PAGE},
      {IDD_MESSAGING_PAGE, IDD_MESSAGING_PAGE_LANDSCAPE, IDD_MESSAGING_PAGE_SQUARE},
      {IDD_SECURITY_PAGE, IDD_SECURITY_PAGE, IDD_SECURITY_PAGE},
      {IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE}},
     5},
    {"Today", IDD_TODAY_HOST,
     {IDD_TODAY_HOST_PORTRAIT, IDD_TODAY_HOST_LANDSCAPE, IDD_TODAY_HOST},
     TodayHostProc, IDC_TODAY_TABS,
     {{IDD_TODAY_TEXT_PAGE_PORTRAIT, IDD_TODAY_TEXT_PAGE_LANDSCAPE, IDD_TODAY_TEXT_PAGE},
      {IDD_SETTINGS_ICONS_PAGE, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE, IDD_SETTINGS_ICONS_PAGE_SQUARE},
      {IDD_SOFTKEY_PAGE_PORTRAIT, IDD_SOFTKEY_PAGE_LANDSCAPE, IDD_SOFTKEY_PAGE}},
     3},
    {"System", IDD_SYSTEM_HOST,
     {IDD_SYSTEM_HOST, IDD_SYSTEM_HOST_LANDSCAPE, IDD_SYSTEM_HOST_SQUARE},
     SystemHostProc, IDC_SYSTEM_TABS,
     {{IDD_SYSTEM_FONT_PAGE_PORTRAIT, IDD_SYSTEM_FONT_PAGE, IDD_SYSTEM_FONT_PAGE_SQUARE},
      {IDD_MENU_FONT_PAGE, IDD_MENU_FONT_PAGE_LANDSCAPE, IDD_MENU_FONT_PAGE_SQUARE},
      {IDD_GRAPHICS_PAGE, IDD_GRAPHICS_PAGE_LANDSCAPE, IDD_GRAPHICS_PAGE_SQUARE},
      {IDD_CLOCK_POWER_PAGE, IDD_CLOCK_POWER_PAGE_LANDSCAPE, IDD_CLOCK_POWER_PAGE_SQUARE},
      {IDD_DEVICE_PAGE, IDD_DEVICE_PAGE_LANDSCAPE, IDD_DEVICE_PAGE_SQUARE},
      {IDD_MESSENGER_PAGE, IDD_MESSENGER_PAGE_LANDSCAPE, IDD_MESSENGER_PAGE_SQUARE}},
     6},
    {"Phone", IDD_PHONE_HOST,
     {IDD_PHONE_HOST, IDD_PHONE_HOST_LANDSCAPE, IDD_PHONE_HOST_SQUARE},
     PhoneHostProc, IDC_PHONE_TABS,
     {{IDD_SOUND_FOLDERS_PAGE, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE},
      {IDD_PHONE_SOUNDS_PAGE, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE},
      {IDD_CALL_SOUNDS_PAGE, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE},
      {IDD_PHONE_APPEARANCE_PAGE, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE, IDD_PHONE_APPEARANCE_PAGE_SQUARE}},
     4},
};

struct ModalLayout {
    const char *name;
    UINT created;
    Variants variants;
    DLGPROC procedure;
};

const ModalLayout kModals[] = {
    {"About", IDD_ABOUT, {IDD_ABOUT, IDD_ABOUT_LANDSCAPE, IDD_ABOUT}, AboutDialogProc},
    {"Keyboard", IDD_KEYBOARD, {IDD_KEYBOARD, IDD_KEYBOARD_LANDSCAPE, IDD_KEYBOARD_SQUARE}, KeyboardTricksDialogProc},
    {"File system", IDD_FILESYSTEM, {IDD_FILESYSTEM, IDD_FILESYSTEM, IDD_FILESYSTEM}, FileSystemTricksDialogProc},
    {"Calendar", IDD_CALENDAR, {IDD_CALENDAR, IDD_CALENDAR_LANDSCAPE, IDD_CALENDAR_SQUARE}, CalendarDialogProc},
    {"Notification help", IDD_NOTIFY_HELP, {IDD_NOTIFY_HELP, IDD_NOTIFY_HELP_LANDSCAPE, IDD_NOTIFY_HELP},
     NotificationOptionsHelpProc},
    {"File browser", IDD_FILE_BROWSER, {IDD_FILE_BROWSER, IDD_FILE_BROWSER_LANDSCAPE, IDD_FILE_BROWSER},
     FileBrowserDialogProc},
};

const int kShapes[] = {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE};

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
    RECT r;
    if (client) {
        GetClientRect(window, &r);
        MapWindowPoints(window, NULL, (POINT *)&r, 2);
    } else {
        GetWindowRect(window, &r);
    }
    return r;
}

// The screen between the top bar and the soft-key bar.
RECT ScreenBand()
{
    RECT band = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT};
    return band;
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

// Every item of template `templateId` against `dialog`: each visible one lies inside
// the dialog's client area, clear of the others, with its whole label.
void ExpectItemsInside(HWND dialog, UINT templateId, std::set<UINT> &walked)
{
    SCOPED_TRACE(testing::Message() << "template " << templateId);
    walked.insert(templateId);
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    ASSERT_TRUE(found != NULL);
    const void *bytes = LockResource(LoadResource(g_hInstance, found));
    TemplateWalk walk;
    ASSERT_TRUE(TemplateWalkBegin(&walk, bytes, SizeofResource(g_hInstance, found), NULL));
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> shown;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        RECT expected = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        ASSERT_TRUE(MapDialogRect(dialog, &expected));
        HWND control = item.id == 0xFFFF ? NULL : GetDlgItem(dialog, item.id);
        if (item.id != 0xFFFF) {
            EXPECT_TRUE(control != NULL) << "no control " << item.id;
        }
        bool visible = control ? (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0
                               : (item.style & WS_VISIBLE) != 0;
        if (visible) {
            EXPECT_TRUE(Inside(expected, client)) << "control " << item.id << " at " << RectText(expected)
                                                  << " lies outside " << RectText(client);
            if (control) {
                EXPECT_FALSE(LabelClipped(control, expected)) << "label of " << item.id << " clipped";
            }
            // A group box frames the controls within it.
            if (TemplateClassOrdinal(&item.windowClass) == TEMPLATE_CLASS_BUTTON &&
                (item.style & BS_TYPEMASK) == BS_GROUPBOX)
                continue;
            for (const auto &other : shown) {
                RECT overlap;
                EXPECT_FALSE(IntersectRect(&overlap, &expected, &other.second))
                    << "controls " << item.id << " and " << other.first << " overlap";
            }
            shown.push_back(std::make_pair((int)item.id, expected));
        }
    }
    EXPECT_EQ(TEMPLATE_WALK_OK, walk.error);
}

// A host in one shape: full screen between the bars, its tab control over its whole
// client area with every tab on screen, and each tab's page above the tab strip.
void ExpectHostLaidOut(const HostLayout &host, HWND dialog, int shape, std::set<UINT> &walked)
{
    SCOPED_TRACE(testing::Message() << host.name << " host, shape " << shape);
    EXPECT_TRUE(Inside(ScreenRect(dialog, true), ScreenBand())) << RectText(ScreenRect(dialog, true));
    ExpectItemsInside(dialog, VariantOf(host.variants, shape), walked);
    HWND tabs = GetDlgItem(dialog, host.tabControl);
    ASSERT_TRUE(tabs != NULL);
    RECT tabArea = ScreenRect(tabs, false), hostArea = ScreenRect(dialog, true);
    EXPECT_TRUE(EqualRect(&tabArea, &hostArea)) << "tabs " << RectText(tabArea) << ", host " << RectText(hostArea);
    ASSERT_EQ(host.pageCount, (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int tab = 0; tab < host.pageCount; tab++) {
        SCOPED_TRACE(testing::Message() << "tab " << tab);
        RECT item;
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, tab, (LPARAM)&item));
        MapWindowPoints(tabs, NULL, (POINT *)&item, 2);
        EXPECT_TRUE(Inside(item, ScreenBand())) << "tab at " << RectText(item);
        HWND before = CurrentCategoryPage(dialog);
        TapTab(tabs, tab);
        HWND page = CurrentCategoryPage(dialog);
        ASSERT_TRUE(page != NULL);
        // Another tab makes a fresh page, alone over the tab control.
        EXPECT_TRUE(tab == 0 || page != before);
        EXPECT_EQ(1, CountPagesInTabs(tabs));
        RECT above = ScreenRect(tabs, true), placed = ScreenRect(page, false);
        above.bottom -= CATEGORY_TAB_STRIP_HEIGHT;
        EXPECT_TRUE(EqualRect(&above, &placed)) << "page at " << RectText(placed);
        const Variants &variants = host.pages[tab];
        ExpectItemsInside(page, VariantOf(variants, shape), walked);
        if (RelaidOut(variants)) {
            EXPECT_TRUE(LaidOutLike(page, VariantOf(variants, shape)));
        }
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
    for (const HostLayout &host : kHosts)
        RunHost(host.created, host.procedure, [&](HWND dialog) {
            for (int shape : kShapes) {
                HWND page = CurrentCategoryPage(dialog);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                EXPECT_EQ(page, CurrentCategoryPage(dialog)) << "a turn keeps the page, not made anew";
                ExpectHostLaidOut(host, dialog, shape, walked);
            }
        });
    for (const ModalLayout &modal : kModals)
        RunDialog(modal.created, modal.procedure, [&](HWND dialog) {
            for (int shape : kShapes) {
                SCOPED_TRACE(testing::Message() << modal.name << ", shape " << shape);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                EXPECT_TRUE(Inside(ScreenRect(dialog, true), ScreenBand())) << RectText(ScreenRect(dialog, true));
                ExpectItemsInside(dialog, VariantOf(modal.variants, shape), walked);
                if (RelaidOut(modal.variants)) {
                    EXPECT_TRUE(LaidOutLike(dialog, VariantOf(modal.variants, shape)));
                }
            }
            EndDialog(dialog, 1);
        });

    // Nothing of the resource set is left out (the relayout tests' own templates aside).
    std::set<UINT> all;
    EnumResourceNamesW(g_hInstance, (LPCWSTR)RT_DIALOG, CollectDialog, (LONG_PTR)&all);
    for (UINT id : all) {
        if (id < IDD_FORM_PORTRAIT) {
            EXPECT_EQ(1u, walked.count(id)) << "template " << id << " was not laid out";
        }
    }
    EXPECT_LE(70u, walked.size());
}
