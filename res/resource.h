// Ids shared by the resource script and the code.
#ifndef RUDORE_RESOURCE_H
#define RUDORE_RESOURCE_H

// Strings
#define IDS_TITLE 1
#define IDS_CLASS 2
#define IDS_EXIT 103
#define IDS_RUDORE 104

// Accelerators
#define IDR_ACCELERATORS 2
#define IDM_ACCEL_QUIT 40000
#define IDM_ACCEL_ALL 40002

// Main menu and its soft-key bar
#define IDR_MAINMENU 102
#define IDM_EXIT 32771
#define IDM_RUDORE 32772
#define IDM_ABOUT 32775
#define IDM_SHUTDOWN 32778
#define IDM_SOFTRESET 32779
#define IDM_HARDRESET 32780
#define IDM_BACKUP 32781
#define IDM_RESTORE 32782
#define IDM_CALENDAR 32788
#define IDM_INTERNET 32790
#define IDM_KEYBOARD 32791
#define IDM_SYSTEM 32792
#define IDM_PHONE 32793
#define IDM_TODAY 32795
#define IDM_FILESYSTEM 32796
#define IDM_FIRST 32771
#define IDM_LAST 32796

// Icon
#define IDI_RUDORE 197

// Dialogs opened from the main window (the template each is created from)
#define IDD_ABOUT 105
#define IDD_CALENDAR 144
#define IDD_INTERNET_HOST 145
#define IDD_KEYBOARD 153
#define IDD_TODAY_HOST 154
#define IDD_FILESYSTEM 155
#define IDD_SYSTEM_HOST 158
#define IDD_PHONE_HOST 165

// Artwork
#define IDB_GAUGE_BATTERY 183
#define IDB_GAUGE_MEMORY 184
#define IDB_GAUGE_STORAGE 185
#define IDB_SPLASH_PORTRAIT 188
#define IDB_SPLASH_LANDSCAPE 189
#define IDB_BAR_GREY 192
#define IDB_BAR_BLUE 193
#define IDB_SPLASH_SQUARE 1215

// About box
#define IDD_ABOUT_LANDSCAPE 106
#define IDC_ABOUT_ICON 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_WELCOME 1041

// File browser: its two layout variants, soft-key bar, controls and strings
#define IDD_FILE_BROWSER 177
#define IDD_FILE_BROWSER_LANDSCAPE 188
#define IDR_BROWSE_MENUBAR 180
#define IDM_BROWSE_OK 32815
#define IDM_BROWSE_CANCEL 32816
#define IDS_BROWSE_OK 32815
#define IDS_BROWSE_CANCEL 32816
#define IDC_BROWSE_LIST 1201
#define IDC_BROWSE_PATH 1202

#endif
