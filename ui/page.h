// The page contract: what every tweak page does whatever its settings.
#ifndef PAGE_H
#define PAGE_H

#include <windows.h>
#include "ui/tweaks.h"

// A page's help buttons: each shows its fixed explanation in a box captioned "Help";
// `icon` joins the box's flags (0: none).
struct TweakHelp {
    UINT button;
    LPCWSTR text;
    UINT icon;
};
struct HelpTable {
    const TweakHelp *rows;
    int count;
};
#define HELP_TABLE(rows) {rows, (int)(sizeof rows / sizeof rows[0])}

// The shell's initialisation of a page (Done button, full-screen sizing, input panel down).
void InitPageWithShell(HWND page);
// Shows the explanation of `control` when it is one of the table's help buttons.
BOOL ShowHelpOfButton(HWND page, const HelpTable &table, UINT control);
// The page contract's Done: IDOK goes to the page's parent, which passes it to the host.
void ForwardDoneToHost(HWND page);

#endif
