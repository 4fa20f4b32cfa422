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
        // The quit message the window posted must not end a later loop.
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        SimRotate(SIM_PORTRAIT);
        DeviceTest::TearDown();
    }
    bool OpenMainWindow()
    {
        if (!InitMainWindow(GetModuleHandleW(NULL), SW_SHOW)) return false;
        UpdateWindow(g_hMainWnd);
        return true;
    }
};

#endif
