// Names of the pictures in docs/screens/: the reference of every trick shows each page's
// picture, and make_screens takes them under the same names.
#ifndef SCREEN_NAMES_H
#define SCREEN_NAMES_H

#include <string>
#include "ui/tweak_catalog.h"

// Lower case, every run of other characters one dash: "MSN Tricks" is "msn-tricks".
inline std::string ScreenSlug(LPCWSTR text)
{
    std::string slug;
    for (; *text; ++text) {
        wchar_t c = *text;
        if (c >= L'A' && c <= L'Z') c += L'a' - L'A';
        if ((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) slug += (char)c;
        else if (!slug.empty() && slug.back() != '-') slug += '-';
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return slug;
}

// A host's page is named by its category's first word and its tab ("internet-pie"); a
// dialog of its own by its title ("keyboard-tricks").
inline std::string ScreenName(const TweakSheet &sheet)
{
    if (sheet.tab < 0) return ScreenSlug(sheet.name);
    std::string category = ScreenSlug(sheet.category);
    return category.substr(0, category.find('-')) + "-" + ScreenSlug(sheet.name);
}

#endif
