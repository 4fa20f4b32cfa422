// Window messages of the device. Settings-change notices to every window (sent to
// HWND_BROADCAST, or posted to the desktop window or HWND_BROADCAST) are recorded; in
// a test that answers dialogs they reach only this process's own windows, so that a
// test never disturbs the rest of the desktop. Every other message goes straight on.
#include <windows.h>
#include <string>
#include <vector>
#include "device.h"

namespace {

struct Notice {
    std::vector<HWND> targets;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text;   // a posted notice's own copy of its section name
};

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM context)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) ((Notice *)context)->targets.push_back(window);
    return TRUE;
}

DWORD WINAPI SendNotice(void *context)
{
    Notice *notice = (Notice *)context;
    for (HWND target : notice->targets) {
        DWORD_PTR result;
        SendMessageTimeoutW(target, notice->message, notice->wParam, notice->lParam, SMTO_ABORTIFHUNG, 5000, &result);
    }
    delete notice;
    return 0;
}

// Hands a notice to `only`, or to every window of this process; sent now, or posted.
// The desktop refuses to post a settings change, whose lParam may point at a section
// name; the device posts it. A thread of our own hands it on without making the caller
// wait, with its own copy of the text.
BOOL Deliver(UINT message, WPARAM wParam, LPARAM lParam, HWND only, BOOL posted)
{
    Notice *notice = new Notice{{}, message, wParam, lParam, L""};
    if (only) notice->targets.push_back(only);
    else EnumWindows(CollectOwnWindow, (LPARAM)notice);
    if (!posted) return SendNotice(notice) == 0;
    if (lParam && !IsBadStringPtrW((LPCWSTR)lParam, 256)) {
        notice->text.assign((LPCWSTR)lParam, wcsnlen((LPCWSTR)lParam, 255));
        notice->lParam = (LPARAM)notice->text.c_str();
    }
    HANDLE thread = CreateThread(NULL, 0, SendNotice, notice, 0, NULL);
    if (!thread) delete notice;
    else CloseHandle(thread);
    return thread != NULL;
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
    Deliver(message, wParam, lParam, NULL, FALSE);
    return TRUE;
}

BOOL WINAPI Ce_PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_SETTINGCHANGE || (window != HWND_BROADCAST && window != GetDesktopWindow()))
        return PostMessageW(window, message, wParam, lParam);
    Record(TRUE, window, message, wParam, lParam);
    if (!AnsweringDialogs())
        return PostMessageW(window, message, wParam, lParam) || Deliver(message, wParam, lParam, window, TRUE);
    // In a test the desktop is left alone; this process's windows still hear it.
    return window != HWND_BROADCAST || Deliver(message, wParam, lParam, NULL, TRUE);
}

}
