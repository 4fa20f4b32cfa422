// The page contract: what a tweak page, and a tweak dialog of its own, is and does
// whatever its settings. Each page file describes its page once, in a PageDescriptor;
// its host lists the descriptors, and the catalog of every trick walks them.
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

// One page of a category host, or a tweak dialog of its own.
struct PageDescriptor {
    LPCWSTR label;                      // the tab's text, or the dialog's title
    UINT portrait, landscape, square;   // its layout variants; a single template names itself thrice
    UINT createdFrom;                   // the variant it is created from
    DLGPROC procedure;
    const TweakTable *tweaks;           // NULL: no box of the page is a plain row
    const HelpTable *help;              // NULL: no help buttons
    const TweakTable *choices;          // radio buttons bound like boxes, that a tap only ever ticks
};

// The shell's initialisation of a page (Done button, full-screen sizing, input panel down).
void InitPageWithShell(HWND page);
// Moves the page's controls to the variant of the screen's shape.
void RelayoutPage(HWND page, const PageDescriptor &descriptor);
// Shows the explanation of `control` when it is one of the table's help buttons.
BOOL ShowHelpOfButton(HWND page, const HelpTable &table, UINT control);
// The page contract's Done: IDOK goes to the page's parent, which passes it to the host.
void ForwardDoneToHost(HWND page);

#endif
