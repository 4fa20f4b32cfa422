// Storage-card enumeration of the simulated device: the cards of its profile.
#include <windows.h>
#include "ceplatform.h"
#include "simdevice.h"

extern "C" {
HANDLE WINAPI FindFirstFlashCard(LPWIN32_FIND_DATAW findData) { return SimFindFirstCard(findData); }
BOOL WINAPI FindNextFlashCard(HANDLE search, LPWIN32_FIND_DATAW findData) { return SimFindNextCard(search, findData); }
}
