// The "..." buttons of the sound folders and call sounds pages.
#include "pages/phone/browse_field.h"
#include "dialogs/file_browser.h"

void BrowseIntoField(HWND page, UINT field)
{
    g_browseResult[0] = 0;
    ShowFileBrowser(page);
    g_browseResult[BROWSE_PATH_CHARS] = 0;   // the field never reads past the buffer
    if (g_browseResult[0]) SetDlgItemTextW(page, field, g_browseResult);
}
