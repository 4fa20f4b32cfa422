// The tweak pages the category hosts show, one dialog procedure each. A host lists
// them in its page table (ui/category_host.cpp); a page added here is offered by
// putting its procedure into that table.
#ifndef PAGES_H
#define PAGES_H

#include <windows.h>

// pages/internet/browser_page.cpp
INT_PTR CALLBACK BrowserPageProc(HWND, UINT, WPARAM, LPARAM);
// pages/internet/mail_page.cpp
INT_PTR CALLBACK MailPageProc(HWND, UINT, WPARAM, LPARAM);
// pages/internet/messaging_page.cpp: the page and its notification options help dialog
INT_PTR CALLBACK MessagingPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK NotificationOptionsHelpProc(HWND, UINT, WPARAM, LPARAM);
// pages/internet/security_page.cpp
INT_PTR CALLBACK BrowserSecurityPageProc(HWND, UINT, WPARAM, LPARAM);
// pages/internet/networking_page.cpp
INT_PTR CALLBACK NetworkingPageProc(HWND, UINT, WPARAM, LPARAM);

// pages/today/: the Today host's pages
INT_PTR CALLBACK TodayTextPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SettingsIconsPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SoftKeyPageProc(HWND, UINT, WPARAM, LPARAM);

// pages/system/: the System host's pages
INT_PTR CALLBACK SystemFontPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK MenuFontPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK GraphicsPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK ClockPowerPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK DevicePageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK MessengerPageProc(HWND, UINT, WPARAM, LPARAM);

// pages/phone/: the Phone host's pages
INT_PTR CALLBACK SoundFoldersPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK PhoneSoundsPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK CallSoundsPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK PhoneAppearancePageProc(HWND, UINT, WPARAM, LPARAM);

#endif
