// Time of one relayout of a 30-control tweak page: switching between its portrait
// and landscape variants, applying the variant already in place again (as a page
// does after each spinner step), and switching a page that has two combo boxes. The
// page is measured as the category hosts show one (a child dialog inside the host's
// window) and, for comparison, as a top-level dialog of its own.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <algorithm>
#include <vector>
#include "ui/reflow.h"

static const UINT kPagePortrait = 6001;
static const UINT kPageLandscape = 6002;
static const UINT kComboPortrait = 6003;
static const UINT kComboLandscape = 6004;
static const int kRounds = 400;
static const int kWarmUp = 20;
static const double kTargetMs = 2.0;

static INT_PTR CALLBACK BenchDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

static void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

static double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static void Report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms) sum += v;
    printf("  %-22s median %7.3f ms  mean %7.3f  p90 %7.3f  min %7.3f  max %7.3f  (%zu runs)\n", what,
           ms[ms.size() / 2], sum / ms.size(), ms[ms.size() * 9 / 10], ms.front(), ms.back(), ms.size());
}

// The page as a category host shows it: its template made a child dialog, inside a
// host window the size of the screen.
static HWND CreatePageInHost(HINSTANCE instance, UINT templateId, HWND *host)
{
    *host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), NULL, NULL, instance, NULL);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance, found) : NULL;
    DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!*host || !loaded || size < 4) return NULL;
    std::vector<BYTE> bytes((const BYTE *)LockResource(loaded), (const BYTE *)LockResource(loaded) + size);
    DWORD style = (*(DWORD *)&bytes[0] & ~(WS_POPUP | WS_CAPTION)) | WS_CHILD | DS_CONTROL | WS_VISIBLE;
    *(DWORD *)&bytes[0] = style;
    return CreateDialogIndirectParamW(instance, (LPCDLGTEMPLATEW)&bytes[0], *host, BenchDialogProc, 0);
}

// Relayouts alternating between two variants (the same one twice for a re-apply);
// returns the median of the call alone.
static double Measure(const char *title, UINT first, UINT second, bool inHost, int *failures)
{
    HINSTANCE instance = GetModuleHandleW(NULL);
    HWND host = NULL;
    HWND dialog = inHost ? CreatePageInHost(instance, first, &host)
                         : CreateDialogParamW(instance, MAKEINTRESOURCEW(first), NULL, BenchDialogProc, 0);
    if (!dialog) {
        fprintf(stderr, "no dialog %u (is there a display?)\n", first);
        ++*failures;
        if (host) DestroyWindow(host);
        return 0;
    }
    Pump();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> call, withPaint;
    for (int k = 0; k < kRounds + kWarmUp; ++k) {
        UINT variant = (k % 2) ? first : second;
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (!ReflowDialogFromTemplate(instance, dialog, variant)) ++*failures;
        QueryPerformanceCounter(&t1);
        UpdateWindow(dialog);
        QueryPerformanceCounter(&t2);
        Pump();
        if (k < kWarmUp) continue;
        call.push_back((t1.QuadPart - t0.QuadPart) * 1000.0 / frequency.QuadPart);
        withPaint.push_back((t2.QuadPart - t0.QuadPart) * 1000.0 / frequency.QuadPart);
    }
    DestroyWindow(dialog);
    if (host) DestroyWindow(host);
    printf("%s\n", title);
    Report("relayout", call);
    Report("relayout and repaint", withPaint);
    return Median(call);
}

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    int failures = 0;
    printf("Relayout of a 30-control dialog, target: median under %.1f ms\n", kTargetMs);
    double page = Measure("Tweak page in its host, portrait <-> landscape", kPagePortrait, kPageLandscape, true,
                          &failures);
    double again = Measure("Tweak page in its host, the variant in place again", kPagePortrait, kPagePortrait, true,
                           &failures);
    Measure("Page with 2 combo boxes in its host, portrait <-> landscape (for comparison)", kComboPortrait,
            kComboLandscape, true, &failures);
    double alone = Measure("Tweak page as a top-level dialog, portrait <-> landscape (for comparison)", kPagePortrait,
                           kPageLandscape, false, &failures);
    printf("Tweak page: %s (median %.3f ms switching, %.3f ms again; %.3f ms as a top-level dialog)\n",
           page < kTargetMs && again < kTargetMs ? "within target" : "OVER TARGET", page, again, alone);
    if (failures) printf("%d relayouts reported failure\n", failures);
    return failures ? 1 : 0;
}
