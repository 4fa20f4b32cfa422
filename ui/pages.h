// The tweak pages the category hosts show, each described once in its own file. A
// host lists them in its table (ui/category_host.cpp); a page added here is offered
// by putting its descriptor into that table.
#ifndef PAGES_H
#define PAGES_H

#include <windows.h>
#include "ui/page.h"

// pages/internet/: the Internet host's pages
extern const PageDescriptor g_browserPage, g_mailPage, g_messagingPage, g_securityPage, g_networkingPage;
// pages/internet/messaging_page.cpp: the notification options help the messaging page opens
INT_PTR CALLBACK NotificationOptionsHelpProc(HWND, UINT, WPARAM, LPARAM);

// pages/today/: the Today host's pages
extern const PageDescriptor g_todayTextPage, g_settingsIconsPage, g_softKeyPage;

// pages/system/: the System host's pages
extern const PageDescriptor g_systemFontPage, g_menuFontPage, g_graphicsPage, g_clockPowerPage, g_devicePage,
    g_messengerPage;

// pages/phone/: the Phone host's pages
extern const PageDescriptor g_soundFoldersPage, g_phoneSoundsPage, g_callSoundsPage, g_phoneAppearancePage;

// dialogs/: the tweak dialogs with no host
extern const PageDescriptor g_keyboardDialog, g_fileSystemDialog;

#endif
