// Every page's and dialog's tweak table and help table, in one list: what the pages
// bind, gathered where code (the table-driven test, a generated list of the tricks)
// can walk it.
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

extern const TweakSheet g_tweakCatalog[];
extern const int g_tweakCatalogCount;

// The tables, defined beside the code that uses them.
extern const TweakTable g_browserTweaks, g_mailTweaks, g_messagingTweaks, g_securityTweaks, g_networkingTweaks;
extern const HelpTable g_browserHelp, g_mailHelp, g_securityHelp, g_networkingHelp;
extern const TweakTable g_todayTextTweaks, g_settingsIconsTweaks;
extern const TweakTable g_systemFontTweaks, g_menuFontTweaks, g_graphicsTweaks, g_clockTweaks, g_deviceTweaks;
extern const HelpTable g_systemFontHelp, g_graphicsHelp, g_clockHelp, g_deviceHelp, g_messengerHelp;
extern const TweakTable g_phoneSoundTweaks, g_appearanceTweaks;
extern const HelpTable g_soundFoldersHelp, g_appearanceHelp;
extern const TweakTable g_keyboardTweaks, g_keyboardChoices, g_fileSystemTweaks;
extern const HelpTable g_keyboardHelp, g_fileSystemHelp;

#endif
