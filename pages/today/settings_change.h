// The notice the shell needs before it shows or hides an icon of the Settings window.
#ifndef SETTINGS_CHANGE_H
#define SETTINGS_CHANGE_H

#include <windows.h>

enum SettingsChangeNotice {
    NOTICE_BROADCAST,        // sent to every top-level window; returns when all have seen it
    NOTICE_POST_TO_DESKTOP   // posted to the desktop window; returns at once
};

// WM_SETTINGCHANGE with the Settings window's code 0xF2.
void AnnounceSettingsChange(int notice);

#endif
