// The menu font page ("Collection2"): face, size, italic and bold of the menu bar's
// font and of the pop-up menus' font. Every write is flushed; opening the page
// creates both keys.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/system/fonts.h"
#include "resource.h"
#include <commctrl.h>

static constexpr WCHAR kBarFont[] = L"System\\GWE\\Menu\\BarFnt";
static constexpr WCHAR kPopFont[] = L"System\\GWE\\Menu\\PopFnt";

#define MENUFONT_ROW (TWEAK_CREATE_TO_READ | TWEAK_FLUSH)

static constexpr Tweak kMenuFontRows[] = {
    // control                  root                key        name    ticked when  missing    ticked       cleared
    {IDC_MENUFONT_BAR_ITALIC, HKLM, kBarFont, L"It", Dword(1), Dword(0), Dword(1), Dword(0), MENUFONT_ROW},
    {IDC_MENUFONT_BAR_BOLD, HKLM, kBarFont, L"Wt", Dword(900), Dword(0), Dword(900), Dword(700), MENUFONT_ROW},
    {IDC_MENUFONT_POP_ITALIC, HKLM, kPopFont, L"It", Dword(1), Dword(0), Dword(1), Dword(0), MENUFONT_ROW},
    {IDC_MENUFONT_POP_BOLD, HKLM, kPopFont, L"Wt", Dword(900), Dword(0), Dword(900), Dword(700), MENUFONT_ROW},
};
static const TweakTable kMenuFontTweaks = TWEAK_TABLE(kMenuFontRows);

static const FontFaceBox kBarFace = {IDC_MENUFONT_BAR_FACE, IDC_MENUFONT_BAR_FACE_EDIT, kBarFont,
                                     L"Please select the Menu bar font!"};
static const FontFaceBox kPopFace = {IDC_MENUFONT_POP_FACE, IDC_MENUFONT_POP_FACE_EDIT, kPopFont,
                                     L"Please select the POP Menu font!"};
static const FontSizeBox kBarSize = {IDC_MENUFONT_BAR_SIZE, IDC_MENUFONT_BAR_SIZE_EDIT, kBarFont, 8, L"8 is default value", TRUE};
static const FontSizeBox kPopSize = {IDC_MENUFONT_POP_SIZE, IDC_MENUFONT_POP_SIZE_EDIT, kPopFont, 8, L"8 is default value", TRUE};

// The size spinners wrap to the default size at both ends of their range.
static const int kLargestMenuFont = 20;

// FALSE when a key could not be created: what follows it stays unset.
static BOOL OpenMenuFontPage(HWND page)
{
    InitPageWithShell(page);
    return LoadTweaks(page, kMenuFontTweaks) && LoadFontFace(page, kBarFace) &&
           LoadFontFace(page, kPopFace) && LoadFontSize(page, kBarSize) && LoadFontSize(page, kPopSize);
}

static BOOL OnMenuFontCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_MENUFONT_BAR_FACE: CommitFontFace(page, kBarFace); return FALSE;
    case IDC_MENUFONT_POP_FACE: CommitFontFace(page, kPopFace); return FALSE;
    case IDC_MENUFONT_BAR_SIZE: CommitFontSize(page, kBarSize); return FALSE;
    case IDC_MENUFONT_POP_SIZE: CommitFontSize(page, kPopSize); return FALSE;
    }
    WriteTweak(page, kMenuFontTweaks, control);
    return FALSE;
}

static void OnMenuFontSpinner(HWND page, const NMHDR *notification)
{
    if (!notification || notification->code != (UINT)UDN_DELTAPOS) return;
    int delta = ((const NMUPDOWN *)notification)->iDelta;
    switch (notification->idFrom) {
    case IDC_MENUFONT_BAR_SIZE_SPIN:
        StepNumberEdit(page, kBarSize.edit, delta, kLargestMenuFont, (int)kBarSize.defaultPoints);
        break;
    case IDC_MENUFONT_POP_SIZE_SPIN:
        StepNumberEdit(page, kPopSize.edit, delta, kLargestMenuFont, (int)kPopSize.defaultPoints);
        break;
    case IDC_MENUFONT_BAR_FACE_SPIN: StepFontFace(page, kBarFace.edit); break;
    case IDC_MENUFONT_POP_FACE_SPIN: StepFontFace(page, kPopFace.edit); break;
    }
}

static INT_PTR CALLBACK MenuFontPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenMenuFontPage(page);
    case WM_SIZE:
        RelayoutPage(page, g_menuFontPage);
        return FALSE;
    case WM_NOTIFY:
        OnMenuFontSpinner(page, (const NMHDR *)lParam);
        return FALSE;
    case WM_COMMAND:
        return OnMenuFontCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_menuFontPage = {
    L"Collection2", IDD_MENU_FONT_PAGE_PORTRAIT, IDD_MENU_FONT_PAGE_LANDSCAPE, IDD_MENU_FONT_PAGE_SQUARE,
    IDD_MENU_FONT_PAGE_PORTRAIT, MenuFontPageProc, &kMenuFontTweaks, NULL, NULL};
