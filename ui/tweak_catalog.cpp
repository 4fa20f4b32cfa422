// The catalog, in menu order: each host's pages in tab order, and the two tweak dialogs
// where the menu has them.
#include "ui/tweak_catalog.h"
#include "ui/category_host.h"
#include "ui/pages.h"
#include "app/rudore.h"

// One entry of the "Rudore" menu that opens tweaks: a host, or a dialog of its own.
struct TweakCategory {
    const CategoryHost *host;     // NULL for a dialog
    LPCWSTR dialogCategory;       // a dialog's menu command; a host names its own
    const PageDescriptor *dialog;
};

static const TweakCategory kCategories[] = {
    {&g_internetHost, NULL, NULL},
    {&g_todayHost, NULL, NULL},
    {NULL, L"Keyboard Tricks", &g_keyboardDialog},
    {NULL, L"File System", &g_fileSystemDialog},
    {&g_systemHost, NULL, NULL},
    {&g_phoneHost, NULL, NULL},
};

// Room for every page of every host and the dialogs; a catalog that outgrows it is
// cut short, which the tests would see as a missing page.
#define MOST_SHEETS 32

static TweakSheet g_sheets[MOST_SHEETS];
static int g_sheetCount = -1;

static void BuildCatalog()
{
    g_sheetCount = 0;
    for (const TweakCategory &category : kCategories) {
        if (category.dialog) {
            const PageDescriptor &d = *category.dialog;
            if (g_sheetCount < MOST_SHEETS)
                g_sheets[g_sheetCount++] = {category.dialogCategory, d.label, d.createdFrom, d.createdFrom,
                                            d.procedure, -1, d.tweaks, d.help, d.choices};
            continue;
        }
        const CategoryHost &host = *category.host;
        for (int tab = 0; tab < host.pageCount && g_sheetCount < MOST_SHEETS; tab++) {
            const PageDescriptor &page = *host.pages[tab];
            g_sheets[g_sheetCount++] = {host.category, page.label, page.createdFrom, host.createdFrom,
                                        host.procedure, tab, page.tweaks, page.help, page.choices};
        }
    }
}

int TweakSheetCount()
{
    if (g_sheetCount < 0) BuildCatalog();
    return g_sheetCount;
}

const TweakSheet &TweakSheetAt(int index)
{
    if (g_sheetCount < 0) BuildCatalog();
    return g_sheets[index];
}
