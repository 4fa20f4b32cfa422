// A rotation with a category host and its first page open, until both have relaid out,
// beside its floor: the same turn of the screen with no window of the program open.
// Run on a device (scripts/bench.sh).
#include <windows.h>
#include <commctrl.h>
#include "measure.h"
#include "app/rudore.h"
#include "resource.h"
#include "simdevice.h"

static std::vector<double> g_times;      // the whole rotation, until everything it queued is handled
static std::vector<double> g_turns;      // the screen's own turn: SimRotate returning
static std::vector<double> g_bare;       // the same turn with no window of the program open

static void DrainMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

static HWND FindPage(HWND host)
{
    HWND tab = FindWindowExW(host, NULL, WC_TABCONTROLW, NULL);
    return tab ? FindWindowExW(tab, NULL, L"#32770", NULL) : NULL;
}

static void CALLBACK Rotate(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    HWND host = GetActiveWindow();
    HWND page = FindPage(host);
    if (!page) {
        printf("no page in the host\n");
        EndDialog(host, 1);
        return;
    }
    DrainMessages();
    const int shapes[2] = {SIM_LANDSCAPE, SIM_PORTRAIT};
    for (int run = 0; run < 20; run++) {
        double start = NowMs();
        SimRotate(shapes[run % 2]);
        g_turns.push_back(NowMs() - start);
        DrainMessages();   // whatever the rotation queued is part of it
        g_times.push_back(NowMs() - start);
    }
    EndDialog(host, 1);
}

// The floor: turns with nothing of the program to lay out, until what they queued is
// handled.
static void BareTurns(int count)
{
    const int shapes[2] = {SIM_LANDSCAPE, SIM_PORTRAIT};
    for (int run = 0; run < count; run++) {
        double start = NowMs();
        SimRotate(shapes[run % 2]);
        DrainMessages();
        g_bare.push_back(NowMs() - start);
    }
}

int main()
{
    g_hInstance = GetModuleHandleW(NULL);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    SimTestBegin(SIM_TEST_ALL);
    // Half the bare turns before the host opens and half after it ends, so that a load
    // that comes or goes during the run weighs on the floor as on the figure.
    BareTurns(10);
    SetTimer(NULL, 0, 300, Rotate);
    if (OpenDialogFromTemplate(NULL, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc) < 0) printf("no Internet host\n");
    SimRotate(SIM_PORTRAIT);
    DrainMessages();
    BareTurns(10);
    SimTestEnd();
    if (g_times.empty()) return 1;
    printf("Rotation with the Internet host and its page open\n");
    PrintAgainstFloor("turn, relayout and repaint", g_times, "the bare turn, no window of the program", g_bare);
    PrintAgainstFloor("of which the turn itself (SimRotate)", g_turns, "the bare turn, no window of the program",
                      g_bare);
    return 0;
}
