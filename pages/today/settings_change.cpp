// The Settings window rereads its control-panel entries on this notice.
#include "pages/today/settings_change.h"

static const WPARAM kControlPanelChanged = 0xF2;

void AnnounceSettingsChange(int notice)
{
    if (notice == NOTICE_BROADCAST)
        SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, kControlPanelChanged, 0);
    else
        PostMessageW(GetDesktopWindow(), WM_SETTINGCHANGE, kControlPanelChanged, 0);
}
