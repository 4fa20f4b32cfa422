// Keys of Pocket Internet Explorer that more than one Internet page binds.
#ifndef INTERNET_KEYS_H
#define INTERNET_KEYS_H

#include <windows.h>

inline constexpr WCHAR kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr WCHAR kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

#endif
