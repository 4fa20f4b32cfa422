// The graphics page ("Collection3"): window and Start menu animation, the glyph cache,
// and the length of the scroll bar arrows and width of the scroll bars. Nothing here
// is flushed, and no value is refused.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/system/fonts.h"
#include "resource.h"
#include <commctrl.h>

static constexpr WCHAR kWindowManager[] = L"System\\GWE";
static constexpr WCHAR kStartMenu[] = L"SYSTEM\\GWE\\Menu";
static constexpr WCHAR kGlyphCache[] = L"System\\GDI\\GLYPHCACHE";

static constexpr Tweak kGraphicsRows[] = {
    // control            root                key                name          ticked when   missing    ticked        cleared
    // "Animate" is written under "System\GWE" and read under "SYSTEM\GWE": one key, whatever its case.
    {IDC_GFX_ANIMATE, HKLM, kWindowManager, L"Animate", Nothing(), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_GFX_ANIMATE, HKLM, L"SYSTEM\\GWE", L"Animate", Dword(1), Dword(0), Nothing(), Nothing(), TWEAK_CREATE_TO_READ},
    // "AniType" 6 turns the Start menu animation off; anything else leaves it on.
    {IDC_GFX_START_MENU, HKLM, kStartMenu, L"AniType", Dword(6), Dword(0), Dword(0), Dword(6), TWEAK_CREATE_TO_READ | TWEAK_TICK_UNLESS},
    {IDC_GFX_GLYPH_CACHE, HKLM, kGlyphCache, L"limit", Dword(16384), Dword(0), Dword(16384), Dword(8192), TWEAK_CREATE_TO_READ},
};
static const TweakTable kGraphicsTweaks = TWEAK_TABLE(kGraphicsRows);

// A scroll bar measure: shown from one value, written to it and to its counterpart
// of the other bar, so that both bars keep the same proportions.
struct ScrollBarBox {
    UINT box;
    UINT edit;
    LPCWSTR shown;
    LPCWSTR counterpart;
    DWORD standard;   // the device's own measure, stored when the box is cleared
};

static const ScrollBarBox kArrowLength = {IDC_GFX_ARROW, IDC_GFX_ARROW_EDIT, L"cyVScr", L"cxHScr", 20};
static const ScrollBarBox kBarWidth = {IDC_GFX_WIDTH, IDC_GFX_WIDTH_EDIT, L"cyHScr", L"cxVScr", 13};

// What a missing measure counts as: shown as 1, which is no standard measure.
static const DWORD kMissingMeasure = 1;
static const int kMeasureChars = 16;
// Both spinners run from 1 to 30 and wrap to 13, the standard width.
static const int kLargestMeasure = 30;
static const int kSpinnerWrap = 13;

static constexpr TweakHelp kGraphicsHelpRows[] = {
    {IDC_GFX_HELP_GLYPH, L"Increases this cache, making graphics rendering faster."},
};
static const HelpTable kGraphicsHelp = HELP_TABLE(kGraphicsHelpRows);

static BOOL LoadScrollBarBox(HWND page, const ScrollBarBox &measure)
{
    DWORD pixels = kMissingMeasure;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kWindowManager, &key, NULL)) return FALSE;
    GetDword(key, measure.shown, &pixels);
    RegCloseKey(key);
    ShowUnsigned(page, measure.edit, pixels);
    if (pixels != measure.standard) CheckDlgButton(page, measure.box, BST_CHECKED);
    return TRUE;
}

static void CommitScrollBarBox(HWND page, const ScrollBarBox &measure)
{
    DWORD pixels = (DWORD)ReadNumberField(page, measure.edit, kMeasureChars, (int)measure.standard);
    if (!IsBoxTicked(page, measure.box)) pixels = measure.standard;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kWindowManager, &key, NULL)) return;
    PutDword(key, measure.shown, pixels);
    PutDword(key, measure.counterpart, pixels);
    RegCloseKey(key);
}

// FALSE when a key could not be created: what follows it stays unset.
static BOOL OpenGraphicsPage(HWND page)
{
    InitPageWithShell(page);
    return LoadTweaks(page, kGraphicsTweaks) && LoadScrollBarBox(page, kArrowLength) &&
           LoadScrollBarBox(page, kBarWidth);
}

static BOOL OnGraphicsCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_GFX_ARROW: CommitScrollBarBox(page, kArrowLength); return FALSE;
    case IDC_GFX_WIDTH: CommitScrollBarBox(page, kBarWidth); return FALSE;
    }
    if (ShowHelpOfButton(page, kGraphicsHelp, control)) return FALSE;
    WriteTweak(page, kGraphicsTweaks, control);
    return FALSE;
}

static void OnGraphicsSpinner(HWND page, const NMHDR *notification)
{
    if (!notification || notification->code != (UINT)UDN_DELTAPOS) return;
    int delta = ((const NMUPDOWN *)notification)->iDelta;
    if (notification->idFrom == IDC_GFX_ARROW_SPIN)
        StepNumberEdit(page, kArrowLength.edit, delta, kLargestMeasure, kSpinnerWrap);
    else if (notification->idFrom == IDC_GFX_WIDTH_SPIN)
        StepNumberEdit(page, kBarWidth.edit, delta, kLargestMeasure, kSpinnerWrap);
}

static INT_PTR CALLBACK GraphicsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenGraphicsPage(page);
    case WM_SIZE:
        RelayoutPage(page, g_graphicsPage);
        return FALSE;
    case WM_NOTIFY:
        OnGraphicsSpinner(page, (const NMHDR *)lParam);
        return FALSE;
    case WM_COMMAND:
        return OnGraphicsCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_graphicsPage = {
    L"Collection3", IDD_GRAPHICS_PAGE_PORTRAIT, IDD_GRAPHICS_PAGE_LANDSCAPE, IDD_GRAPHICS_PAGE_SQUARE,
    IDD_GRAPHICS_PAGE_PORTRAIT, GraphicsPageProc, &kGraphicsTweaks, &kGraphicsHelp, NULL};
