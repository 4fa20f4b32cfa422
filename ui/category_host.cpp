// The category hosts: one procedure for all four, driven by each host's table.
#include "ui/category_host.h"
#include "ui/pages.h"
#include "ui/reflow.h"
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"

static const PageDescriptor *const kInternetPages[] = {
    &g_browserPage, &g_mailPage, &g_messagingPage, &g_securityPage, &g_networkingPage};
static const PageDescriptor *const kTodayPages[] = {&g_todayTextPage, &g_settingsIconsPage, &g_softKeyPage};
static const PageDescriptor *const kSystemPages[] = {
    &g_systemFontPage, &g_menuFontPage, &g_graphicsPage, &g_clockPowerPage, &g_devicePage, &g_messengerPage};
static const PageDescriptor *const kPhonePages[] = {
    &g_soundFoldersPage, &g_phoneSoundsPage, &g_callSoundsPage, &g_phoneAppearancePage};

#define PAGES(table) table, (int)(sizeof(table) / sizeof((table)[0]))

const CategoryHost g_internetHost = {
    L"Internet Tricks", IDC_INTERNET_TABS, IDD_INTERNET_HOST_PORTRAIT, IDD_INTERNET_HOST_LANDSCAPE,
    IDD_INTERNET_HOST_SQUARE, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, PAGES(kInternetPages)};
const CategoryHost g_todayHost = {
    L"Today Tricks", IDC_TODAY_TABS, IDD_TODAY_HOST_PORTRAIT, IDD_TODAY_HOST_LANDSCAPE,
    IDD_TODAY_HOST_SQUARE, IDD_TODAY_HOST_SQUARE, TodayHostProc, PAGES(kTodayPages)};
const CategoryHost g_systemHost = {
    L"System Tricks", IDC_SYSTEM_TABS, IDD_SYSTEM_HOST_PORTRAIT, IDD_SYSTEM_HOST_LANDSCAPE,
    IDD_SYSTEM_HOST_SQUARE, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, PAGES(kSystemPages)};
const CategoryHost g_phoneHost = {
    L"Phone Tricks", IDC_PHONE_TABS, IDD_PHONE_HOST_PORTRAIT, IDD_PHONE_HOST_LANDSCAPE,
    IDD_PHONE_HOST_SQUARE, IDD_PHONE_HOST_PORTRAIT, PhoneHostProc, PAGES(kPhonePages)};

// The tab control's own procedure; every tab control shares it.
static WNDPROC g_tabControlProc;

// A page is a child of the tab control, so the Done command it forwards to its parent
// lands here: pass it on to the host.
static LRESULT CALLBACK TabControlPassingCommandsProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) return SendMessageW(GetParent(tab), message, wParam, lParam);
    return CallWindowProcW(g_tabControlProc, tab, message, wParam, lParam);
}

HWND CurrentCategoryPage(HWND dialog)
{
    return (HWND)GetWindowLongPtrW(dialog, DWLP_USER);
}

static HWND CreateCategoryPage(HWND tab, const PageDescriptor &page)
{
    if (!page.procedure) return NULL;
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(page.createdFrom), (LPCWSTR)RT_DIALOG);
    if (!found) return NULL;
    HGLOBAL loaded = LoadResource(g_hInstance, found);
    if (!loaded) return NULL;
    return CreateDialogIndirectParamW(g_hInstance, (LPCDLGTEMPLATEW)LockResource(loaded), tab, page.procedure, 0);
}

// The page covers the tab control above its tab strip, on top of everything in it; a
// page already shown there keeps its place in the order. Nothing is erased before the
// next paint, and the move draws nothing: a page with layout variants relayouts itself in
// its WM_SIZE and draws what it laid out, and one that keeps a single layout is drawn whole
// here. A new page is sized before it is shown, and the showing draws it whole.
static void PlaceCategoryPage(HWND tab, HWND page)
{
    RECT client, before;
    GetClientRect(tab, &client);
    GetClientRect(page, &before);
    BOOL shown = (GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) != 0;
    SetWindowPos(page, HWND_TOP, client.left, client.top, client.right, client.bottom - CATEGORY_TAB_STRIP_HEIGHT,
                 (shown ? SWP_NOZORDER : 0) | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_DEFERERASE);
    if (!shown) {
        SetWindowPos(page, NULL, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
        return;
    }
    RECT after;
    GetClientRect(page, &after);
    if (!EqualRect(&before, &after) && !LaidOutAtPresentSize(page))
        RedrawWindow(page, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// A window that paints nothing under its children: each child covers what it stands on.
static void ClipChildren(HWND window)
{
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_CLIPCHILDREN);
}

// Shows the page of tab `index` in place of the current one. A tab whose page is
// missing shows nothing rather than the page of another tab.
static void ShowCategoryPage(const CategoryHost &host, HWND dialog, HWND tab, int index)
{
    HWND previous = CurrentCategoryPage(dialog);
    HWND page = NULL;
    if (index >= 0 && index < host.pageCount) page = CreateCategoryPage(tab, *host.pages[index]);
    if (page) {
        // Like the host and its tab control, the page paints nothing under its controls:
        // after a turn its fill would be drawn over at once.
        ClipChildren(page);
        PlaceCategoryPage(tab, page);
    }
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)page);
    if (previous && IsWindow(previous)) DestroyWindow(previous);
}

void SwitchCategoryPage(const CategoryHost &host, HWND dialog, UINT, WPARAM, NMHDR *notification)
{
    HWND tab = GetDlgItem(dialog, host.tabControl);
    if (!tab || !notification || notification->hwndFrom != tab) return;
    if (notification->code != (UINT)TCN_SELCHANGE) return;
    int index = (int)SendMessageW(tab, TCM_GETCURSEL, 0, 0);
    ShowCategoryPage(host, dialog, tab, index);
}

static void OpenCategoryHost(const CategoryHost &host, HWND dialog)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog,
                          SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU};
    SHInitDialog(&info);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    HWND tab = GetDlgItem(dialog, host.tabControl);
    if (!tab) return;
    if (!g_tabControlProc) g_tabControlProc = (WNDPROC)GetWindowLongPtrW(tab, GWLP_WNDPROC);
    SetWindowLongPtrW(tab, GWLP_WNDPROC, (LONG_PTR)TabControlPassingCommandsProc);
    // The tab control fills the host and its page covers the tab control's pane: neither
    // paints what lies under its child.
    ClipChildren(dialog);
    ClipChildren(tab);
    for (int index = 0; index < host.pageCount; index++) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = (LPWSTR)host.pages[index]->label;
        item.iImage = -1;
        SendMessageW(tab, TCM_INSERTITEMW, index, (LPARAM)&item);
    }
    SendMessageW(tab, TCM_SETCURSEL, 0, 0);
    InvalidateRect(tab, NULL, TRUE);
    ShowCategoryPage(host, dialog, tab, 0);
}

static INT_PTR CategoryHostProc(const CategoryHost &host, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenCategoryHost(host, dialog);
        return TRUE;
    case WM_SIZE: {
        ReflowDialogFromTemplate(g_hInstance, dialog,
                                 ChooseLayoutVariant(host.portrait, host.landscape, host.square));
        // The tab control fills the dialog, whatever the font made of the template's
        // units, so its tab strip sits on the bottom edge above the soft-key bar.
        HWND tab = GetDlgItem(dialog, host.tabControl);
        RECT client;
        // Moved without drawing, so that its page is not asked for a frame, and drawn.
        if (tab && GetClientRect(dialog, &client)) {
            SetWindowPos(tab, NULL, 0, 0, client.right, client.bottom,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE | SWP_NOREDRAW);
            InvalidateRect(tab, NULL, TRUE);
        }
        // Pages are children of the tab control, which no shell resizes: keep the
        // current one over the tab control's new area, so it relayouts too.
        HWND page = CurrentCategoryPage(dialog);
        if (page && tab) PlaceCategoryPage(tab, page);
        return FALSE;
    }
    case WM_PAINT:
        // The tab control covers the host whole: nothing of the host itself shows.
        RedrawWindow(dialog, NULL, NULL, RDW_VALIDATE | RDW_NOCHILDREN);
        return TRUE;
    case WM_NOTIFY:
        SwitchCategoryPage(host, dialog, message, wParam, (NMHDR *)lParam);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK InternetHostProc(HWND d, UINT m, WPARAM w, LPARAM l) { return CategoryHostProc(g_internetHost, d, m, w, l); }
INT_PTR CALLBACK TodayHostProc(HWND d, UINT m, WPARAM w, LPARAM l) { return CategoryHostProc(g_todayHost, d, m, w, l); }
INT_PTR CALLBACK SystemHostProc(HWND d, UINT m, WPARAM w, LPARAM l) { return CategoryHostProc(g_systemHost, d, m, w, l); }
INT_PTR CALLBACK PhoneHostProc(HWND d, UINT m, WPARAM w, LPARAM l) { return CategoryHostProc(g_phoneHost, d, m, w, l); }
