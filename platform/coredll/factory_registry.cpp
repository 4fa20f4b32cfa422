// The factory registry of the simulated Pocket PC 2003 Second Edition Phone Edition.
//
// Only what a new device really holds is here. Many settings are simply absent on a
// new device (the shell then uses its built-in behaviour), so a value that is missing
// below is missing on purpose. Keys are written without a leading backslash: that is
// the one form every registry accepts.
//
// Sound values name files that set-up creates (kDeviceFiles of registry_device.cpp).
#include "device.h"

#define HKLM HKEY_LOCAL_MACHINE
#define HKCU HKEY_CURRENT_USER
#define HKCR HKEY_CLASSES_ROOT

#define KEY(root, key)               {root, key, NULL, REG_NONE, NULL, 0}
#define SZ(root, key, name, text)    {root, key, name, REG_SZ, text, 0}
#define DW(root, key, name, number)  {root, key, name, REG_DWORD, NULL, number}

// Class identifiers of the input methods the input panel ships with.
#define CLSID_KEYBOARD    L"{42429667-ae04-11d0-a4f8-00aa00a749b9}"
#define CLSID_LETTER      L"{42429690-ae04-11d0-a4f8-00aa00a749b9}"
#define CLSID_BLOCK       L"{42429691-ae04-11d0-a4f8-00aa00a749b9}"
#define CLSID_TRANSCRIBER L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}"

#define CABFILE_COMMAND LR"(wceload.exe "%1")"

const FactoryValue g_factoryRegistry[] = {
    // Soft-reset counter
    DW(HKLM, L"Comm", L"Bootcount", 0),

    // Pocket Internet Explorer: desktop-compatible identity off, guest profile folders
    SZ(HKLM, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\User Agent)", L"Default", L"Mozilla/4.0"),
    SZ(HKLM, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\User Agent)", L"Platform", L"Windows CE"),
    SZ(HKLM, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\User Agent)", L"Version", L"MSIE 4.01"),
    SZ(HKCU, LR"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)", L"Cache", LR"(\Windows\Profiles\guest\Temporary Internet Files)"),
    SZ(HKCU, LR"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)", L"Cookies", LR"(\Windows\Profiles\guest\Cookies)"),
    SZ(HKCU, LR"(Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders)", L"History", LR"(\Windows\Profiles\guest\History)"),
    KEY(HKCU, LR"(Software\Microsoft\Internet Explorer\Main)"),
    KEY(HKLM, LR"(Software\Microsoft\Internet Explorer\Navigation)"),
    KEY(HKCU, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\Cache\Content)"),

    // Browser security zone: ActiveX controls and scripts run
    DW(HKLM, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings)", L"Security_RunActiveXControls", 1),
    DW(HKLM, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings)", L"Security_RunScripts", 1),
    KEY(HKCU, LR"(Software\Microsoft\Windows\CurrentVersion\Internet Settings)"),

    // Mail transports on their standard ports; the text-message transport
    DW(HKLM, LR"(Software\Microsoft\Inbox\Svc\POP3)", L"Port", 110),
    DW(HKLM, LR"(Software\Microsoft\Inbox\Svc\IMAP4)", L"Port", 143),
    KEY(HKLM, LR"(Software\Microsoft\Inbox\Svc\SMS)"),
    KEY(HKCU, LR"(Software\Microsoft\Inbox\Settings)"),

    // Networking: TCP/IP parameters, the network cards applet
    KEY(HKLM, LR"(Comm\Tcpip\Parms)"),
    KEY(HKLM, LR"(ControlPanel\Network)"),

    // Settings applets, all shown
    KEY(HKLM, LR"(ControlPanel\Buttons)"),
    KEY(HKLM, LR"(ControlPanel\Owner)"),
    KEY(HKLM, LR"(ControlPanel\Password)"),
    KEY(HKLM, LR"(ControlPanel\Menus)"),
    KEY(HKLM, LR"(ControlPanel\Today)"),
    KEY(HKLM, LR"(ControlPanel\About)"),
    KEY(HKLM, LR"(ControlPanel\Connections)"),

    // Today soft keys: Calendar on the left, Contacts on the right
    SZ(HKCU, LR"(Software\Microsoft\Today\Keys\112)", L"Default", L"Calendar"),
    SZ(HKCU, LR"(Software\Microsoft\Today\Keys\112)", L"Open", LR"(\Windows\Calendar.exe)"),
    SZ(HKCU, LR"(Software\Microsoft\Today\Keys\113)", L"Default", L"Contacts"),

    // ClearType is switched off while the screen is rotated; orientation setting shown
    DW(HKLM, LR"(System\GDI\ClearTypeSettings)", L"OffOnRotation", 1),
    KEY(HKLM, LR"(System\GDI\Rotation)"),

    // System font: Tahoma 9, normal weight, upright
    SZ(HKLM, LR"(System\GDI\SYSFNT)", L"Nm", L"Tahoma"),
    DW(HKLM, LR"(System\GDI\SYSFNT)", L"Ht", 900),
    DW(HKLM, LR"(System\GDI\SYSFNT)", L"Wt", 400),
    DW(HKLM, LR"(System\GDI\SYSFNT)", L"It", 0),
    DW(HKLM, LR"(System\GDI\SYSFNT)", L"CS", 0),

    // Menu fonts: Tahoma 8, bold on the menu bar, normal in pop-up menus
    SZ(HKLM, LR"(System\GWE\Menu\BarFnt)", L"Nm", L"Tahoma"),
    DW(HKLM, LR"(System\GWE\Menu\BarFnt)", L"Ht", 800),
    DW(HKLM, LR"(System\GWE\Menu\BarFnt)", L"Wt", 700),
    DW(HKLM, LR"(System\GWE\Menu\BarFnt)", L"It", 0),
    SZ(HKLM, LR"(System\GWE\Menu\PopFnt)", L"Nm", L"Tahoma"),
    DW(HKLM, LR"(System\GWE\Menu\PopFnt)", L"Ht", 800),
    DW(HKLM, LR"(System\GWE\Menu\PopFnt)", L"Wt", 400),
    DW(HKLM, LR"(System\GWE\Menu\PopFnt)", L"It", 0),

    // Window manager: scroll bar metrics in pixels, the glyph cache
    DW(HKLM, LR"(System\GWE)", L"cxVScr", 13),
    DW(HKLM, LR"(System\GWE)", L"cyHScr", 13),
    DW(HKLM, LR"(System\GWE)", L"cyVScr", 20),
    DW(HKLM, LR"(System\GWE)", L"cxHScr", 20),
    DW(HKLM, LR"(System\GDI\GLYPHCACHE)", L"limit", 8192),

    // Shell clock and locale overrides: title-bar clock as shipped, no overrides
    KEY(HKLM, LR"(Software\Microsoft\Shell\TaskBar)"),
    KEY(HKLM, LR"(nls\overrides)"),

    // Power manager: on time after a wake-up event, the resuming state and its power levels
    DW(HKLM, LR"(System\CurrentControlSet\Control\Power)", L"WakeupPowerOff", 180),
    DW(HKLM, LR"(System\CurrentControlSet\Control\Power\Timeouts)", L"ACResumingSuspendTimeout", 15),
    DW(HKLM, LR"(System\CurrentControlSet\Control\Power\Timeouts)", L"BattResumingSuspendTimeout", 15),
    DW(HKLM, LR"(System\CurrentControlSet\Control\Power\State\Resuming)", L"Default", 2),
    DW(HKLM, LR"(System\CurrentControlSet\Control\Power\State\Resuming\{EB91C7C9-8BF6-4a2d-9AB8-69724EED97D1})", L"Default", 4),

    // Device drivers: USB charging, SD/MMC block size, storage manager
    DW(HKLM, LR"(Drivers\BuiltIn\usbfndrv)", L"EnableUsbCharging", 1),
    DW(HKLM, LR"(Drivers\SDCARD\ClientDrivers\Class\MMC_Class)", L"BlockTransferSize", 64),
    DW(HKLM, LR"(Drivers\SDCARD\ClientDrivers\Class\SDMemory_Class)", L"BlockTransferSize", 64),
    DW(HKLM, LR"(System\StorageManager)", L"PNPUnloadDelay", 1500),

    // Beam receiving on; the Start menu's recent programs list starts empty
    DW(HKLM, LR"(Software\Microsoft\Obex)", L"IsEnabled", 1),
    KEY(HKLM, LR"(Software\Microsoft\Shell\TaskSwitch)"),

    // Notification classes: the default one and MSN Messenger's two
    DW(HKCU, LR"(ControlPanel\Notifications\Default)", L"Options", 1),
    SZ(HKCU, LR"(ControlPanel\Notifications\Default)", L"Wave", L"Notify"),
    DW(HKCU, LR"(ControlPanel\Notifications\{A877D65F-239C-47a7-9304-0D347F580408})", L"Options", 9),
    SZ(HKCU, LR"(ControlPanel\Notifications\{A877D65F-239C-47a7-9304-0D347F580408})", L"Default", L"MSN Messenger: New instant message"),
    SZ(HKCU, LR"(ControlPanel\Notifications\{A877D65F-239C-47a7-9304-0D347F580408})", L"Wave", L"Notify"),
    DW(HKCU, LR"(ControlPanel\Notifications\{A877D65E-239C-47a7-9304-0D347F580408})", L"Options", 1),
    SZ(HKCU, LR"(ControlPanel\Notifications\{A877D65E-239C-47a7-9304-0D347F580408})", L"Default", L"MSN Messenger: Contact signs in"),
    SZ(HKCU, LR"(ControlPanel\Notifications\{A877D65E-239C-47a7-9304-0D347F580408})", L"Wave", L"Alarm1"),

    // Sound categories: the folders the phone looks in for each kind of sound
    SZ(HKCU, LR"(ControlPanel\SoundCategories\InCall)", L"Directory", LR"(\Windows\)"),
    SZ(HKCU, LR"(ControlPanel\SoundCategories\Ring)", L"Directory", LR"(\Windows\Rings\)"),
    SZ(HKCU, LR"(ControlPanel\SoundCategories\InCallFeedBack)", L"Directory", LR"(\Windows\)"),

    // Phone sound events; a sound is a file name in its category's folder
    SZ(HKCU, LR"(ControlPanel\Sounds\RingTone0)", L"Sound", L"Ring1.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\BusyTone)", L"Sound", L"Busy.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\CallDrop)", L"Sound", L"CallDrop.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\CallWaiting)", L"Sound", L"CallWaiting.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\Dialing)", L"Sound", L"Dialing.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\Ending)", L"Script", L"p"),
    SZ(HKCU, LR"(ControlPanel\Sounds\Ending)", L"Sound", L"Disconnect.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\Keypress)", L"Script", L"p"),
    SZ(HKCU, LR"(ControlPanel\Sounds\Keypress)", L"Sound", L"Click.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\VRecBeg)", L"Script", L"p"),
    SZ(HKCU, LR"(ControlPanel\Sounds\VRecBeg)", L"Sound", L"Infbeg.wav"),
    SZ(HKCU, LR"(ControlPanel\Sounds\VRecEnd)", L"Script", L"p"),
    SZ(HKCU, LR"(ControlPanel\Sounds\VRecEnd)", L"Sound", L"Infend.wav"),
    KEY(HKCU, LR"(ControlPanel\Phone)"),

    // Phone application and radio: operator skin, LEDs, camera limit, phone settings
    DW(HKLM, LR"(SOFTWARE\HTC\camera\P3)", L"EnableLimit", 1),
    DW(HKLM, LR"(SOFTWARE\OEM\PhoneSetting)", L"ShowTimeZonesPage", 0),
    DW(HKLM, LR"(ControlPanel\Phone)", L"Flags2", 0),
    DW(HKLM, LR"(Security\Phone\Skin)", L"Enabled", 1),
    DW(HKLM, LR"(Drivers\BuiltIn\RIL)", L"EnableDifferGprsEdgeIcon", 0),
    DW(HKLM, LR"(Drivers\BuiltIn\NLEDMgr)", L"Index", 1),
    DW(HKLM, LR"(Drivers\BuiltIn\BWLEDMgr)", L"Index", 1),

    // Input methods of the input panel: all listed, the keyboard is the default.
    // The shell reads each key's own value; setting tools read the value named "Default".
    SZ(HKCU, LR"(ControlPanel\Sip)", L"DefaultIm", CLSID_KEYBOARD),
    DW(HKCU, LR"(ControlPanel\Sip)", L"SuggWords", 1),
    SZ(HKCR, L"CLSID\\" CLSID_KEYBOARD, L"", L"Keyboard"),
    SZ(HKCR, L"CLSID\\" CLSID_KEYBOARD L"\\IsSIPInputMethod", L"", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_KEYBOARD L"\\IsSIPInputMethod", L"Default", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_LETTER, L"", L"Letter Recognizer"),
    SZ(HKCR, L"CLSID\\" CLSID_LETTER L"\\IsSIPInputMethod", L"", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_LETTER L"\\IsSIPInputMethod", L"Default", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_BLOCK, L"", L"Block Recognizer"),
    SZ(HKCR, L"CLSID\\" CLSID_BLOCK L"\\IsSIPInputMethod", L"", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_BLOCK L"\\IsSIPInputMethod", L"Default", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_TRANSCRIBER, L"", L"Transcriber"),
    SZ(HKCR, L"CLSID\\" CLSID_TRANSCRIBER L"\\IsSIPInputMethod", L"", L"1"),
    SZ(HKCR, L"CLSID\\" CLSID_TRANSCRIBER L"\\IsSIPInputMethod", L"Default", L"1"),

    // File system: FAT cache off, replication filter with its built-in cache
    DW(HKLM, LR"(System\StorageManager\FATFS)", L"EnableCache", 0),
    DW(HKLM, LR"(System\StorageManager\FATFS)", L"CacheSize", 0),
    KEY(HKLM, LR"(System\StorageManager\Filters\fsreplxfilt)"),

    // Installer: unsigned programs prompt, .CAB files are deleted after installing
    DW(HKLM, LR"(Security\Policies\Policies)", L"0000101a", 0),
    DW(HKLM, LR"(Software\Apps\Microsoft Application Installer)", L"fAskOptions", 1),
    DW(HKLM, LR"(Software\Apps\Microsoft Application Installer)", L"nDynamicDelete", 0),
    SZ(HKCR, L".cab", L"", L"cabfile"),
    SZ(HKCR, LR"(cabfile\Shell\Open\Command)", L"", CABFILE_COMMAND),
    SZ(HKCR, LR"(cabfile\Shell\Open\Command)", L"Default", CABFILE_COMMAND),
};
const size_t g_factoryRegistryCount = sizeof g_factoryRegistry / sizeof g_factoryRegistry[0];
