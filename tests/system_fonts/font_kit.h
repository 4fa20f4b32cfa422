// What the system font, menu font and graphics pages' tests share beyond the host
// kit: their keys and what is stored in them.
#ifndef FONT_KIT_H
#define FONT_KIT_H

#include "tests/hosts/host_kit.h"

const HKEY LM = HKEY_LOCAL_MACHINE;
const wchar_t kSysFnt[] = L"System\\GDI\\SYSFNT";
const wchar_t kClearTypeKey[] = L"System\\GDI\\ClearTypeSettings";
const wchar_t kBarFnt[] = L"System\\GWE\\Menu\\BarFnt";
const wchar_t kPopFnt[] = L"System\\GWE\\Menu\\PopFnt";
const wchar_t kGwe[] = L"System\\GWE";
const wchar_t kGweMenu[] = L"System\\GWE\\Menu";
const wchar_t kGlyphCache[] = L"System\\GDI\\GLYPHCACHE";

// The names of a key's values, as stored.
inline std::vector<std::wstring> ValueNames(HKEY root, const wchar_t *key)
{
    std::vector<std::wstring> names;
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
    for (DWORD index = 0;; index++) {
        wchar_t name[256];
        DWORD cch = 256;
        if (RegEnumValueW(opened, index, name, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(opened);
    return names;
}

// How many values of a key carry this name, whatever its case.
inline int CountValuesNamed(HKEY root, const wchar_t *key, const wchar_t *name)
{
    int count = 0;
    for (const std::wstring &stored : ValueNames(root, key))
        if (lstrcmpiW(stored.c_str(), name) == 0) count++;
    return count;
}

// A size or face box and its edit: the edit's text and the box's state.
inline void ExpectEditAndBox(HWND page, UINT edit, const std::wstring &text, UINT box, bool ticked)
{
    EXPECT_EQ(text, FieldText(page, edit));
    EXPECT_EQ(ticked, IsTicked(page, box));
}

// The one refusal a tap showed since `before`.
inline void ExpectRefusal(int before, HWND page, const wchar_t *caption, const wchar_t *text)
{
    ExpectOneBox(before, page, caption, MB_OK, text);
}

#endif
