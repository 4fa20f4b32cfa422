// The "..." buttons of the phone pages: the sound browser fills a page's field.
#ifndef BROWSE_FIELD_H
#define BROWSE_FIELD_H

#include <windows.h>

// Runs the sound browser over the page and puts what it hands back (a folder with its
// trailing backslash, or a file's full path) into the field. A cancelled browser
// leaves the field as it was. Nothing is written to the registry.
void BrowseIntoField(HWND page, UINT field);

#endif
