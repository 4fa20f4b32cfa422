// Every dialog template of the resource set, in every layout variant, laid out on the
// device's screen in each shape the way the program shows it: hosts and modal dialogs
// full screen between the bars, pages in their host's tab control above its tab strip.
// A control belongs where MapDialogRect puts its template rectangle in the dialog
// itself, so the checks hold whatever font the dialogs get.
#include <set>
#include <string>
#include <vector>
#include <windows.h>
#include <commdlg.h>
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

struct Variants { UINT portrait, landscape, square; };

// A modal dialog, or a host with its tab control and the variants of each tab's page.
struct DialogLayout {
    UINT created;
    Variants variants;
    DLGPROC procedure;
    UINT tabControl;  // 0 for a modal dialog
    std::vector<Variants> pages;
};

const DialogLayout kDialogs[] = {
    {IDD_INTERNET_HOST_PORTRAIT, {IDD_INTERNET_HOST_PORTRAIT, IDD_INTERNET_HOST_LANDSCAPE, IDD_INTERNET_HOST_SQUARE}, InternetHostProc,
     IDC_INTERNET_TABS,
     {{IDD_BROWSER_PAGE_PORTRAIT, IDD_BROWSER_PAGE_LANDSCAPE, IDD_BROWSER_PAGE_SQUARE},
      {IDD_MAIL_PAGE, IDD_MAIL_PAGE, IDD_MAIL_PAGE},
      {IDD_MESSAGING_PAGE_PORTRAIT, IDD_MESSAGING_PAGE_LANDSCAPE, IDD_MESSAGING_PAGE_SQUARE},
      {IDD_SECURITY_PAGE, IDD_SECURITY_PAGE, IDD_SECURITY_PAGE},
      {IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE}}},
    {IDD_TODAY_HOST_SQUARE, {IDD_TODAY_HOST_PORTRAIT, IDD_TODAY_HOST_LANDSCAPE, IDD_TODAY_HOST_SQUARE}, TodayHostProc, IDC_TODAY_TABS,
     {{IDD_TODAY_TEXT_PAGE_PORTRAIT, IDD_TODAY_TEXT_PAGE_LANDSCAPE, IDD_TODAY_TEXT_PAGE_SQUARE},
      {IDD_SETTINGS_ICONS_PAGE_PORTRAIT, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE, IDD_SETTINGS_ICONS_PAGE_SQUARE},
      {IDD_SOFTKEY_PAGE_PORTRAIT, IDD_SOFTKEY_PAGE_LANDSCAPE, IDD_SOFTKEY_PAGE_SQUARE}}},
    {IDD_SYSTEM_HOST_PORTRAIT, {IDD_SYSTEM_HOST_PORTRAIT, IDD_SYSTEM_HOST_LANDSCAPE, IDD_SYSTEM_HOST_SQUARE}, SystemHostProc,
     IDC_SYSTEM_TABS,
     {{IDD_SYSTEM_FONT_PAGE_PORTRAIT, IDD_SYSTEM_FONT_PAGE_LANDSCAPE, IDD_SYSTEM_FONT_PAGE_SQUARE},
      {IDD_MENU_FONT_PAGE_PORTRAIT, IDD_MENU_FONT_PAGE_LANDSCAPE, IDD_MENU_FONT_PAGE_SQUARE},
      {IDD_GRAPHICS_PAGE_PORTRAIT, IDD_GRAPHICS_PAGE_LANDSCAPE, IDD_GRAPHICS_PAGE_SQUARE},
      {IDD_CLOCK_POWER_PAGE_PORTRAIT, IDD_CLOCK_POWER_PAGE_LANDSCAPE, IDD_CLOCK_POWER_PAGE_SQUARE},
      {IDD_DEVICE_PAGE_PORTRAIT, IDD_DEVICE_PAGE_LANDSCAPE, IDD_DEVICE_PAGE_SQUARE},
      {IDD_MESSENGER_PAGE_PORTRAIT, IDD_MESSENGER_PAGE_LANDSCAPE, IDD_MESSENGER_PAGE_SQUARE}}},
    {IDD_PHONE_HOST_PORTRAIT, {IDD_PHONE_HOST_PORTRAIT, IDD_PHONE_HOST_LANDSCAPE, IDD_PHONE_HOST_SQUARE}, PhoneHostProc, IDC_PHONE_TABS,
     {{IDD_SOUND_FOLDERS_PAGE_PORTRAIT, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE},
      {IDD_PHONE_SOUNDS_PAGE_PORTRAIT, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE},
      {IDD_CALL_SOUNDS_PAGE_PORTRAIT, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE},
      {IDD_PHONE_APPEARANCE_PAGE_PORTRAIT, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE, IDD_PHONE_APPEARANCE_PAGE_SQUARE}}},
    {IDD_ABOUT_PORTRAIT, {IDD_ABOUT_PORTRAIT, IDD_ABOUT_LANDSCAPE, IDD_ABOUT_PORTRAIT}, AboutDialogProc},
    {IDD_KEYBOARD_PORTRAIT, {IDD_KEYBOARD_PORTRAIT, IDD_KEYBOARD_LANDSCAPE, IDD_KEYBOARD_SQUARE}, KeyboardTricksDialogProc},
    {IDD_FILESYSTEM, {IDD_FILESYSTEM, IDD_FILESYSTEM, IDD_FILESYSTEM}, FileSystemTricksDialogProc},
    {IDD_CALENDAR_PORTRAIT, {IDD_CALENDAR_PORTRAIT, IDD_CALENDAR_LANDSCAPE, IDD_CALENDAR_SQUARE}, CalendarDialogProc},
    {IDD_NOTIFY_HELP_PORTRAIT, {IDD_NOTIFY_HELP_PORTRAIT, IDD_NOTIFY_HELP_LANDSCAPE, IDD_NOTIFY_HELP_PORTRAIT}, NotificationOptionsHelpProc},
    {IDD_FILE_BROWSER_PORTRAIT, {IDD_FILE_BROWSER_PORTRAIT, IDD_FILE_BROWSER_LANDSCAPE, IDD_FILE_BROWSER_PORTRAIT}, FileBrowserDialogProc},
};

std::string RectText(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Where the window, or its client area, lies on the screen.
std::string At(HWND window, bool client = false)
{
    RECT r = {0, 0, 0, 0};
    if (!client) GetWindowRect(window, &r);
    else if (GetClientRect(window, &r)) MapWindowPoints(window, NULL, (POINT *)&r, 2);
    return RectText(r);
}

// Full screen between the navigation bar, which shows the dialog's title, and the
// dialog's own soft-key bar.
void ExpectBetweenBars(HWND dialog)
{
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HWND bar = NULL;
    while ((bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL)) && GetWindow(bar, GW_OWNER) != dialog) {}
    EXPECT_EQ(RectText({0, SIM_BAR_HEIGHT, cx, cy - SIM_BAR_HEIGHT}), At(dialog));
    EXPECT_EQ(At(dialog), At(dialog, true)) << "frame or caption left";
    EXPECT_EQ(RectText({0, cy - SIM_BAR_HEIGHT, cx, cy}), At(bar)) << "soft-key bar";
    EXPECT_EQ(WindowText(dialog), WindowText(FindWindowW(SIM_NAVBAR_CLASS, NULL)));
}

// A check box or radio button whose label, in its own font, does not fit beside its box.
bool LabelClipped(HWND control, const RECT &place)
{
    LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (kind != BS_AUTOCHECKBOX && kind != BS_AUTORADIOBUTTON) return false;
    std::wstring label = WindowText(control);
    HDC dc = GetDC(control);  // a cache DC: its font goes back with it
    SelectObject(dc, (HGDIOBJ)SendMessageW(control, WM_GETFONT, 0, 0));
    SIZE text = {0, 0};
    GetTextExtentPoint32W(dc, label.c_str(), (int)label.size(), &text);
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
    RECT client, together;
    GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> shown;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        RECT expected = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        ASSERT_TRUE(MapDialogRect(dialog, &expected));
        HWND control = item.id == 0xFFFF ? NULL : GetDlgItem(dialog, item.id);
        EXPECT_TRUE(control || item.id == 0xFFFF) << "no control " << item.id;
        if (!((control ? (DWORD)GetWindowLongW(control, GWL_STYLE) : item.style) & WS_VISIBLE)) continue;
        UnionRect(&together, &expected, &client);
        EXPECT_TRUE(EqualRect(&together, &client)) << "control " << item.id << " at " << RectText(expected)
                                                   << " lies outside " << RectText(client);
        EXPECT_FALSE(control && LabelClipped(control, expected)) << "label of " << item.id << " clipped";
        // A group box frames the controls within it.
        if (TemplateClassOrdinal(&item.windowClass) == TEMPLATE_CLASS_BUTTON && (item.style & BS_TYPEMASK) == BS_GROUPBOX)
            continue;
        for (const auto &other : shown) {
            EXPECT_FALSE(IntersectRect(&together, &expected, &other.second))
                << "controls " << item.id << " and " << other.first << " overlap";
        }
        shown.push_back({(int)item.id, expected});
    }
    EXPECT_EQ(TEMPLATE_WALK_OK, walk.error);
}

// A dialog laid out by its own code rather than from a template: every visible control
// inside it and clear of the others, tall enough for a stylus, in the dialog's font,
// the controls reaching across the dialog; a list's rows as tall as well.
void ExpectControlsApart(HWND dialog)
{
    const int kStylusHeight = 20;
    HFONT font = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
    LOGFONTW face = {};
    GetObjectW(font, sizeof face, &face);
    EXPECT_STREQ(L"Tahoma", face.lfFaceName);
    RECT client, together;
    GetClientRect(dialog, &client);
    std::vector<std::pair<HWND, RECT>> shown;
    LONG right = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        RECT r = ControlRect(dialog, GetDlgCtrlID(control));
        std::string name = "control " + std::to_string(GetDlgCtrlID(control)) + " at " + RectText(r);
        UnionRect(&together, &r, &client);
        EXPECT_TRUE(EqualRect(&together, &client)) << name << " lies outside " << RectText(client);
        EXPECT_GE(r.bottom - r.top, kStylusHeight) << name;
        EXPECT_EQ(font, (HFONT)SendMessageW(control, WM_GETFONT, 0, 0)) << name;
        for (const auto &other : shown)
            EXPECT_FALSE(IntersectRect(&together, &r, &other.second)) << name << " overlaps " << RectText(other.second);
        shown.push_back({control, r});
        right = std::max(right, r.right);
        RECT row = {LVIR_BOUNDS};
        if (SendMessageW(control, LVM_GETITEMRECT, 0, (LPARAM)&row)) {
            EXPECT_GE(row.bottom - row.top, kStylusHeight) << "list rows";
        }
    }
    EXPECT_GE(right, client.right - 10) << "the controls keep to a narrower screen";
}

}  // namespace

class Layout : public DeviceTest {};

// The device's Save dialog and its Open dialog, the link picker's, which has rows to
// show: full screen between the bars in every shape, laid out anew on every turn.
TEST_F(Layout, TheDevicesFileDialogsFillTheScreenInEveryShape)
{
    SimTestBegin(SIM_TEST_ALL | SIM_TEST_SHOW_FILE_DIALOGS);
    for (BOOL save : {TRUE, FALSE}) {
        wchar_t file[MAX_PATH] = L"";
        OPENFILENAMEW ofn = {sizeof ofn};
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrFilter = save ? L"Registry Files (*.reg)\0*.reg\0" : L"(*.exe)\0*.exe\0";
        ofn.lpstrInitialDir = save ? NULL : L"\\Windows";
        ofn.lpstrTitle = save ? L"Export to Registry File" : L"Select link";
        bool shown = DriveModal([&] { save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn); }, [](HWND dialog) {
            for (int shape : {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE}) {
                SCOPED_TRACE(testing::Message() << "shape " << shape);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectBetweenBars(dialog);
                ExpectControlsApart(dialog);
            }
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_TRUE(shown) << (save ? "Save" : "Open");
    }
}

TEST_F(Layout, EveryControlOfEveryDialogLiesOnTheScreenInEveryShape)
{
    // The widest label the device page's counter is ever given.
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", 0xFFFFFFFF);
    std::set<UINT> walked;
    for (const DialogLayout &layout : kDialogs)
        RunDialog(layout.created, layout.procedure, [&](HWND dialog) {
            for (int shape : {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE}) {
                SCOPED_TRACE(testing::Message() << "dialog " << layout.created << ", shape " << shape);
                HWND page = CurrentCategoryPage(dialog);
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectBetweenBars(dialog);
                ExpectItemsInside(dialog, layout.variants, shape, walked, layout.tabControl != 0);
                if (!layout.tabControl) continue;
                EXPECT_EQ(page, CurrentCategoryPage(dialog)) << "a turn keeps the page, not made anew";
                // The tab control covers the host; each tab shows its page alone above the strip.
                HWND tabs = GetDlgItem(dialog, layout.tabControl);
                EXPECT_EQ(At(dialog, true), At(tabs));
                ASSERT_EQ(layout.pages.size(), (size_t)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
                for (int tab = 0; tab < (int)layout.pages.size(); tab++) {
                    SCOPED_TRACE(testing::Message() << "tab " << tab);
                    TapTab(tabs, tab);
                    ASSERT_TRUE((page = CurrentCategoryPage(dialog)) != NULL);
                    EXPECT_EQ(1, CountPagesInTabs(tabs));
                    RECT above;
                    GetClientRect(tabs, &above);
                    above.bottom -= CATEGORY_TAB_STRIP_HEIGHT;
                    MapWindowPoints(tabs, NULL, (POINT *)&above, 2);
                    EXPECT_EQ(RectText(above), At(page)) << "page";
                    ExpectItemsInside(page, layout.pages[tab], shape, walked);
                }
            }
            EndDialog(dialog, 1);
        });

    // Nothing of the resource set is left out (the relayout tests' own templates,
    // numbered from 5000, aside).
    std::set<UINT> all;
    EnumResourceNamesW(g_hInstance, (LPCWSTR)RT_DIALOG, [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) -> BOOL {
        if (IS_INTRESOURCE(name)) ((std::set<UINT> *)ids)->insert((UINT)(UINT_PTR)name);
        return TRUE;
    }, (LONG_PTR)&all);
    for (UINT id : all) EXPECT_TRUE(id >= 5000 || walked.count(id)) << "template " << id << " was not laid out";
    EXPECT_LE(70u, walked.size());
}
