// Every tweak page and dialog with its tables, walked from the hosts' descriptors and
// the tweak dialogs' own: what the pages bind, where code (the table-driven test, the
// generated list of the tricks, the pictures) can walk it.
#ifndef TWEAK_CATALOG_H
#define TWEAK_CATALOG_H

#include <windows.h>
#include "ui/page.h"

// One page of a category host, or a dialog of its own.
struct TweakSheet {
    LPCWSTR category;           // the "Rudore" menu command that opens it
    LPCWSTR name;               // the tab's label, or the dialog's title
    UINT templateId;            // the template the page or dialog is created from
    UINT openedTemplate;        // what the main window opens: the host, or the dialog itself
    DLGPROC openedProcedure;
    int tab;                    // the page's tab in its host; -1 for a dialog
    const TweakTable *tweaks;   // NULL: no box of the page is a plain row
    const HelpTable *help;      // NULL: no help buttons
    const TweakTable *choices;  // radio buttons bound like boxes, that a tap only ever ticks
};

// The sheets in menu and tab order.
int TweakSheetCount();
const TweakSheet &TweakSheetAt(int index);

#endif
