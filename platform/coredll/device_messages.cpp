// Window messages of the device. Settings-change notices to every window (sent to
// HWND_BROADCAST, or posted to the desktop window or HWND_BROADCAST) are recorded; in
// a test that answers dialogs they reach only this process's own windows, so that a
// test never disturbs the rest of the desktop. Every other message goes straight on.
#include <windows.h>
#include "simdevice.h"
#include "device.h"

namespace {

struct OwnWindows {
    DWORD process;
    int count;
    HWND windows[256];
};

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM context)
{
    OwnWindows *own = (OwnWindows *)context;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == own->process && own->count < 256) own->windows[own->count++] = window;
    return TRUE;
}

void DeliverToOwnWindows(BOOL post, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnWindows *own = (OwnWindows *)HeapAlloc(GetProcessHeap(), 0, sizeof(OwnWindows));
    if (!own) return;
    own->process = GetCurrentProcessId();
    own->count = 0;
    EnumWindows(CollectOwnWindow, (LPARAM)own);
    for (int i = 0; i < own->count; ++i) {
        if (post) {
            PostMessageW(own->windows[i], message, wParam, lParam);
        } else {
            DWORD_PTR result;
            SendMessageTimeoutW(own->windows[i], message, wParam, lParam, SMTO_NORMAL, 5000, &result);
        }
    }
    HeapFree(GetProcessHeap(), 0, own);
}

void Record(BOOL posted, HWND target, UINT message, WPARAM wParam, LPARAM lParam)
{
    SimBroadcast record = {posted, target, message, wParam, lParam};
    RecordBroadcast(&record);
}

}

extern "C" {

LRESULT WINAPI Ce_SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_SETTINGCHANGE || window != HWND_BROADCAST) return SendMessageW(window, message, wParam, lParam);
    Record(FALSE, window, message, wParam, lParam);
    if (!AnsweringDialogs()) return SendMessageW(window, message, wParam, lParam);
    DeliverToOwnWindows(FALSE, message, wParam, lParam);
    return TRUE;
}

BOOL WINAPI Ce_PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_SETTINGCHANGE || (window != HWND_BROADCAST && window != GetDesktopWindow()))
        return PostMessageW(window, message, wParam, lParam);
    Record(TRUE, window, message, wParam, lParam);
    if (!AnsweringDialogs()) return PostMessageW(window, message, wParam, lParam);
    if (window == HWND_BROADCAST) DeliverToOwnWindows(TRUE, message, wParam, lParam);
    return TRUE;
}

}
