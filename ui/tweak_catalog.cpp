// The list of every page and dialog with its tables, in menu and tab order.
#include "ui/tweak_catalog.h"
#include "app/rudore.h"
#include "resource.h"

const TweakSheet g_tweakCatalog[] = {
    {L"Internet Tricks", L"PIE", IDD_BROWSER_PAGE_PORTRAIT, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, 0, &g_browserTweaks, &g_browserHelp, NULL},
    {L"Internet Tricks", L"Inbox1", IDD_MAIL_PAGE, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, 1, &g_mailTweaks, &g_mailHelp, NULL},
    {L"Internet Tricks", L"Inbox2", IDD_MESSAGING_PAGE_PORTRAIT, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, 2, &g_messagingTweaks, NULL, NULL},
    {L"Internet Tricks", L"Security", IDD_SECURITY_PAGE, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, 3, &g_securityTweaks, &g_securityHelp, NULL},
    {L"Internet Tricks", L"NetWorking", IDD_NETWORKING_PAGE, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, 4, &g_networkingTweaks, &g_networkingHelp, NULL},
    {L"Today Tricks", L"Settings1", IDD_TODAY_TEXT_PAGE_SQUARE, IDD_TODAY_HOST_SQUARE, TodayHostProc, 0, &g_todayTextTweaks, NULL, NULL},
    {L"Today Tricks", L"Settings2", IDD_SETTINGS_ICONS_PAGE_PORTRAIT, IDD_TODAY_HOST_SQUARE, TodayHostProc, 1, &g_settingsIconsTweaks, NULL, NULL},
    {L"Today Tricks", L"Settings3", IDD_SOFTKEY_PAGE_SQUARE, IDD_TODAY_HOST_SQUARE, TodayHostProc, 2, NULL, NULL, NULL},
    {L"Keyboard Tricks", L"KeyBoard Tricks", IDD_KEYBOARD_PORTRAIT, IDD_KEYBOARD_PORTRAIT, KeyboardTricksDialogProc, -1, &g_keyboardTweaks, &g_keyboardHelp, &g_keyboardChoices},
    {L"File System", L"File System Tricks", IDD_FILESYSTEM, IDD_FILESYSTEM, FileSystemTricksDialogProc, -1, &g_fileSystemTweaks, &g_fileSystemHelp, NULL},
    {L"System Tricks", L"Collection1", IDD_SYSTEM_FONT_PAGE_LANDSCAPE, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, 0, &g_systemFontTweaks, &g_systemFontHelp, NULL},
    {L"System Tricks", L"Collection2", IDD_MENU_FONT_PAGE_PORTRAIT, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, 1, &g_menuFontTweaks, NULL, NULL},
    {L"System Tricks", L"Collection3", IDD_GRAPHICS_PAGE_PORTRAIT, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, 2, &g_graphicsTweaks, &g_graphicsHelp, NULL},
    {L"System Tricks", L"Collection4", IDD_CLOCK_POWER_PAGE_PORTRAIT, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, 3, &g_clockTweaks, &g_clockHelp, NULL},
    {L"System Tricks", L"Collection5", IDD_DEVICE_PAGE_PORTRAIT, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, 4, &g_deviceTweaks, &g_deviceHelp, NULL},
    {L"System Tricks", L"MSN Tricks", IDD_MESSENGER_PAGE_PORTRAIT, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, 5, NULL, &g_messengerHelp, NULL},
    {L"Phone Tricks", L"Sounds1", IDD_SOUND_FOLDERS_PAGE_PORTRAIT, IDD_PHONE_HOST_PORTRAIT, PhoneHostProc, 0, NULL, &g_soundFoldersHelp, NULL},
    {L"Phone Tricks", L"sounds2", IDD_PHONE_SOUNDS_PAGE_PORTRAIT, IDD_PHONE_HOST_PORTRAIT, PhoneHostProc, 1, &g_phoneSoundTweaks, NULL, NULL},
    {L"Phone Tricks", L"sounds3", IDD_CALL_SOUNDS_PAGE_PORTRAIT, IDD_PHONE_HOST_PORTRAIT, PhoneHostProc, 2, NULL, NULL, NULL},
    {L"Phone Tricks", L"Appearence", IDD_PHONE_APPEARANCE_PAGE_PORTRAIT, IDD_PHONE_HOST_PORTRAIT, PhoneHostProc, 3, &g_appearanceTweaks, &g_appearanceHelp, NULL},
};
const int g_tweakCatalogCount = (int)(sizeof g_tweakCatalog / sizeof g_tweakCatalog[0]);
