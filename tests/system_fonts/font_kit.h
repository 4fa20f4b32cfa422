// What the system font, menu font and graphics pages' tests share beyond the host
// kit: their keys and what is stored in them.
#ifndef FONT_KIT_H
#define FONT_KIT_H

#include "tests/hosts/host_kit.h"

const wchar_t kSysFnt[] = L"System\\GDI\\SYSFNT";
const wchar_t kClearTypeKey[] = L"System\\GDI\\ClearTypeSettings";
const wchar_t kBarFnt[] = L"System\\GWE\\Menu\\BarFnt";
const wchar_t kPopFnt[] = L"System\\GWE\\Menu\\PopFnt";
const wchar_t kGwe[] = L"System\\GWE";
const wchar_t kGweMenu[] = L"System\\GWE\\Menu";
const wchar_t kGlyphCache[] = L"System\\GDI\\GLYPHCACHE";

// How many values a key holds; -1 when it cannot be opened.
inline int ValueCount(HKEY root, const wchar_t *key)
{
    HKEY opened;
    DWORD values = 0;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
    RegQueryInfoKeyW(opened, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    RegCloseKey(opened);
    return (int)values;
}

// A size or face box and its edit: the edit's text and the box's state.
inline void ExpectEditAndBox(HWND page, UINT edit, const std::wstring &text, UINT box, bool ticked)
{
    EXPECT_EQ(text, FieldText(page, edit));
    EXPECT_EQ(ticked, IsTicked(page, box));
}

// Types `text` into an edit and taps the box that commits it.
inline void Commit(HWND page, UINT edit, const std::wstring &text, UINT box)
{
    SetField(page, edit, text.c_str());
    Tap(page, box);
}

#endif
