// The four category hosts: a full-screen dialog holding one tab control, whose tabs
// each show a tweak page. The hosts differ only in their tables.
#ifndef CATEGORY_HOST_H
#define CATEGORY_HOST_H

#include <windows.h>
#include <commctrl.h>
#include "ui/page.h"

struct CategoryHost {
    LPCWSTR category;                    // the "Rudore" menu command that opens it
    UINT tabControl;                     // id of the tab control in every variant
    UINT portrait, landscape, square;    // the host's layout variants
    UINT createdFrom;                    // the variant the main window opens it from
    DLGPROC procedure;                   // the host's own procedure
    const PageDescriptor *const *pages;  // one tab per page, in tab order
    int pageCount;
};

// The four hosts, described once.
extern const CategoryHost g_internetHost, g_todayHost, g_systemHost, g_phoneHost;

// Height of the tab strip along the bottom of the tab control; the page covers the rest.
#define CATEGORY_TAB_STRIP_HEIGHT 23

// Handles the host's WM_NOTIFY: on a change of tab, shows that tab's page.
void SwitchCategoryPage(const CategoryHost &host, HWND dialog, UINT message, WPARAM wParam, NMHDR *notification);

// The page a host shows now, or NULL.
HWND CurrentCategoryPage(HWND dialog);

#endif
