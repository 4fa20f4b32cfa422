// Window messages of the device. Settings-change notices to every window (sent to
// HWND_BROADCAST, or posted to the desktop window or HWND_BROADCAST) are recorded; in
// a test that answers dialogs they reach only this process's own windows, so that a
// test never disturbs the rest of the desktop. Every other message goes straight on.
#include <windows.h>
#include "device.h"

namespace {

const int kMaxTargets = 256;

struct Notice {
    int count;
    HWND targets[kMaxTargets];
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    BOOL hasText;
    WCHAR text[256];
};

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM context)
{
    Notice *notice = (Notice *)context;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && notice->count < kMaxTargets) notice->targets[notice->count++] = window;
    return TRUE;
}

void SendNotice(const Notice *notice)
{
    LPARAM lParam = notice->hasText ? (LPARAM)notice->text : notice->lParam;
    for (int i = 0; i < notice->count; ++i) {
        DWORD_PTR result;
        SendMessageTimeoutW(notice->targets[i], notice->message, notice->wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    }
}

DWORD WINAPI DeliverLater(void *context)
{
    Notice *notice = (Notice *)context;
    SendNotice(notice);
    HeapFree(GetProcessHeap(), 0, notice);
    return 0;
}

// The desktop refuses to post a settings change, whose lParam may point at a section
// name; the device posts it. A thread of our own hands it on without making the caller
// wait, with its own copy of the text.
BOOL PostNotice(Notice *notice)
{
    if (notice->lParam && !IsBadStringPtrW((LPCWSTR)notice->lParam, 256)) {
        CopyText(notice->text, 256, (LPCWSTR)notice->lParam);
        notice->hasText = TRUE;
    }
    HANDLE thread = CreateThread(NULL, 0, DeliverLater, notice, 0, NULL);
    if (!thread) {
        HeapFree(GetProcessHeap(), 0, notice);
        return FALSE;
    }
    CloseHandle(thread);
    return TRUE;
}

// Hands a notice to `only`, or to every window of this process; posted, or sent now.
BOOL Deliver(UINT message, WPARAM wParam, LPARAM lParam, HWND only, BOOL posted)
{
    Notice *notice = (Notice *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Notice));
    if (!notice) return FALSE;
    notice->message = message;
    notice->wParam = wParam;
    notice->lParam = lParam;
    if (only) notice->targets[notice->count++] = only;
    else EnumWindows(CollectOwnWindow, (LPARAM)notice);
    if (posted) return PostNotice(notice);
    SendNotice(notice);
    HeapFree(GetProcessHeap(), 0, notice);
    return TRUE;
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
