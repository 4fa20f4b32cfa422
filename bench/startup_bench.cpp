// Start-up of the program to its first paint, with Wine already running, beside a bare
// window of the same class started the same way (bare_window.exe). The two are started
// in turn, so that both see the same load.
// Run inside a device prefix with a persistent wineserver (see scripts/bench.sh).
#include "measure.h"

static const int kRuns = 21;

// Starts the program beside this benchmark and waits for its window to be up and
// painted; closes it and returns the time, or a negative number when it did not start.
static double StartAndClose(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    lstrcpynW(path + n, name, MAX_PATH - n);

    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION info;
    double start = NowMs();
    if (!CreateProcessW(path, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
        printf("cannot start %ls (%lu)\n", name, GetLastError());
        return -1;
    }
    // The loop goes idle only after the first paint.
    WaitForInputIdle(info.hProcess, 10000);
    HWND window = NULL;
    for (int i = 0; i < 1000 && !window; i++) {
        window = FindWindowW(L"ZEZARIVERARURIDOZ", L"Zelvo Rudore");
        if (!window) Sleep(1);
    }
    double took = NowMs() - start;
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return window ? took : -1;
}

int main()
{
    std::vector<double> program, bare;
    // The first start of each loads its files into the caches: not counted.
    for (int run = -1; run < kRuns; run++) {
        double p = StartAndClose(L"ZelvoRudore.exe");
        double b = StartAndClose(L"bare_window.exe");
        if (p < 0 || b < 0) return 1;
        if (run < 0) continue;
        program.push_back(p);
        bare.push_back(b);
    }
    printf("Start-up to first paint\n");
    PrintAgainstFloor("program", program, "a bare window of the same class", bare);
    return 0;
}
