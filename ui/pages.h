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

#endif
