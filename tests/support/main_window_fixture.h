// The program's main window, created in the test process on a fresh device.
#ifndef MAIN_WINDOW_FIXTURE_H
#define MAIN_WINDOW_FIXTURE_H

#include "testkit.h"
#include "app/rudore.h"

class MainWindowTest : public DeviceTest {
protected:
    void TearDown() override
    {
        if (g_hMainWnd && IsWindow(g_hMainWnd)) DestroyWindow(g_hMainWnd);
        g_hMainWnd = NULL;
        UnregisterClassW(L"ZEZARIVERARURIDOZ", GetModuleHandleW(NULL));
        // The quit message the window posted must not end a later loop; the rest is
        // dispatched, so that windows it uncovered get their paint.
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        PumpMessages(50);
        SimRotate(SIM_PORTRAIT);
        DeviceTest::TearDown();
    }
    bool OpenMainWindow()
    {
        if (!InitMainWindow(GetModuleHandleW(NULL), SW_SHOW)) return false;
        UpdateWindow(g_hMainWnd);
        return true;
    }
    // Sends the main window `message` and gives the title of the modal dialog it opens
    // (closed again at once); empty when none opens.
    std::wstring TitleOfDialogOpenedBy(UINT message, WPARAM wParam, LPARAM lParam)
    {
        std::wstring title;
        DriveModal([&] { SendMessageW(g_hMainWnd, message, wParam, lParam); },
                   [&](HWND dialog) {
                       title = WindowText(dialog);
                       SendMessageW(dialog, WM_CLOSE, 0, 0);
                   });
        return title;
    }
};

#endif
