// The system font page ("Collection1"): italic and bold system font, ClearType kept
// on in landscape, a larger font cache, and the system font's size and face. Every
// write is flushed; opening the page creates the keys it reads.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/system/fonts.h"
#include "resource.h"
#include <commctrl.h>

static constexpr WCHAR kSystemFont[] = L"System\\GDI\\SYSFNT";
static constexpr WCHAR kClearType[] = L"System\\GDI\\ClearTypeSettings";

#define SYSFONT_ROW (TWEAK_CREATE_TO_READ | TWEAK_FLUSH)

static constexpr Tweak kSystemFontRows[] = {
    // control               root                key           name               ticked when  missing    ticked       cleared
    {IDC_SYSFONT_ITALIC, HKLM, kSystemFont, L"It", Dword(1), Dword(0), Dword(1), Dword(0), SYSFONT_ROW},
    {IDC_SYSFONT_BOLD, HKLM, kSystemFont, L"Wt", Dword(900), Dword(0), Dword(900), Dword(400), SYSFONT_ROW},
    {IDC_SYSFONT_CLEARTYPE, HKLM, kClearType, L"OffOnRotation", Dword(0), Dword(1), Dword(0), Dword(1), SYSFONT_ROW},
    // The font cache is read as "CS" and written as "Cs": one value, whatever its case.
    {IDC_SYSFONT_CACHE, HKLM, kSystemFont, L"Cs", Nothing(), Nothing(), Dword(16384), Dword(0), SYSFONT_ROW},
    {IDC_SYSFONT_CACHE, HKLM, kSystemFont, L"CS", Dword(16384), Dword(0), Nothing(), Nothing(), SYSFONT_ROW},
};
static const TweakTable kSystemFontTweaks = TWEAK_TABLE(kSystemFontRows);

static const FontSizeBox kSystemFontSize = {IDC_SYSFONT_SIZE, IDC_SYSFONT_SIZE_EDIT, kSystemFont, 9, L"9 is default value", FALSE};
static const FontFaceBox kSystemFontFace = {IDC_SYSFONT_FACE, IDC_SYSFONT_FACE_EDIT, kSystemFont,
                                            L"Please select the system font!"};

static constexpr TweakHelp kSystemFontHelpRows[] = {
    {IDC_SYSFONT_HELP_SIZE,
     L"To change the font size, select the desired font size and then check the check box, if the check box has "
    L"been selected yet, please uncheck it before select the font size."},
    {IDC_SYSFONT_HELP_CLEARTYPE, L"This option only works in Windows Mobile 2003SE."},
    {IDC_SYSFONT_HELP_CACHE, L"This option can speed up font rendering at the cost of a bit of memory."},
};
static const HelpTable kSystemFontHelp = HELP_TABLE(kSystemFontHelpRows);

// The size spinner wraps to the default size at both ends of its range.
static const int kLargestSystemFont = 20;

static void ApplySystemFontLayout(HWND page)
{
    RelayoutPage(page, g_systemFontPage);
}

// FALSE when a key could not be created: what follows it stays unset.
static BOOL OpenSystemFontPage(HWND page)
{
    InitPageWithShell(page);
    if (!LoadTweaks(page, kSystemFontTweaks)) return FALSE;
    if (!LoadFontSize(page, kSystemFontSize)) return FALSE;
    return LoadFontFace(page, kSystemFontFace);
}

static BOOL OnSystemFontCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_SYSFONT_SIZE: CommitFontSize(page, kSystemFontSize); return FALSE;
    case IDC_SYSFONT_FACE: CommitFontFace(page, kSystemFontFace); return FALSE;
    }
    if (ShowHelpOfButton(page, kSystemFontHelp, control)) return FALSE;
    WriteTweak(page, kSystemFontTweaks, control);
    return FALSE;
}

static void OnSystemFontNotify(HWND page, const NMHDR *notification)
{
    if (notification && notification->code == (UINT)UDN_DELTAPOS) {
        int delta = ((const NMUPDOWN *)notification)->iDelta;
        if (notification->idFrom == IDC_SYSFONT_SIZE_SPIN)
            StepNumberEdit(page, IDC_SYSFONT_SIZE_EDIT, delta, kLargestSystemFont,
                           (int)kSystemFontSize.defaultPoints);
        else if (notification->idFrom == IDC_SYSFONT_FACE_SPIN)
            StepFontFace(page, IDC_SYSFONT_FACE_EDIT);
    }
    // This page lays itself out again after every notification it gets.
    ApplySystemFontLayout(page);
}

static INT_PTR CALLBACK SystemFontPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenSystemFontPage(page);
    case WM_SIZE:
        ApplySystemFontLayout(page);
        return FALSE;
    case WM_NOTIFY:
        OnSystemFontNotify(page, (const NMHDR *)lParam);
        return FALSE;
    case WM_COMMAND:
        return OnSystemFontCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_systemFontPage = {
    L"Collection1", IDD_SYSTEM_FONT_PAGE_PORTRAIT, IDD_SYSTEM_FONT_PAGE_LANDSCAPE, IDD_SYSTEM_FONT_PAGE_SQUARE,
    IDD_SYSTEM_FONT_PAGE_LANDSCAPE, SystemFontPageProc, &kSystemFontTweaks, &kSystemFontHelp, NULL};
