// Time of one relayout of a 30-control tweak page: switching between its portrait
// and landscape variants, applying the variant already in place again (as a page
// does after each spinner step), and switching a page that has two combo boxes. The
// page is measured as the category hosts show one (a child dialog inside the host's
// window) and, for comparison, as a top-level dialog of its own. Each beside its floor:
// the same controls moved to the same rectangles with nothing read from a template.
#include <windows.h>
#include <commctrl.h>
#include "measure.h"
#include "ui/reflow.h"

static const UINT kPagePortrait = 6001;
static const UINT kPageLandscape = 6002;
static const UINT kComboPortrait = 6003;
static const UINT kComboLandscape = 6004;
static const int kRounds = 400;
static const int kWarmUp = 20;

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

// The floor: the same controls moved to the same rectangles in one deferred batch with
// the relayout's own flags, the controls and rectangles found before the clock starts.
struct Placement {
    HWND control;
    RECT rect;
};

static std::vector<Placement> PlacementsOf(HINSTANCE instance, HWND dialog, UINT templateId)
{
    std::vector<Placement> placements;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance, found) : NULL;
    TemplateWalk walk;
    TemplateItem item;
    if (!loaded || !TemplateWalkBegin(&walk, LockResource(loaded), SizeofResource(instance, found), NULL))
        return placements;
    while (TemplateWalkNext(&walk, &item)) {
        Placement p = {GetDlgItem(dialog, item.id), {item.x, item.y, item.x + item.cx, item.y + item.cy}};
        if (p.control && MapDialogRect(dialog, &p.rect)) placements.push_back(p);
    }
    return placements;
}

static bool MoveDeferred(const std::vector<Placement> &placements)
{
    HDWP batch = BeginDeferWindowPos((int)placements.size());
    for (const Placement &p : placements) {
        if (batch)
            batch = DeferWindowPos(batch, p.control, NULL, p.rect.left, p.rect.top, p.rect.right - p.rect.left,
                                   p.rect.bottom - p.rect.top, kReflowMoveFlags);
    }
    return batch && EndDeferWindowPos(batch);
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

// Relayouts alternating between two variants (the same one twice for a re-apply),
// in turn with the bare deferred moves to the same places: two steps of each, so that
// each goes both ways under the same load.
static void Measure(const char *title, UINT first, UINT second, bool inHost, int *failures)
{
    HINSTANCE instance = GetModuleHandleW(NULL);
    HWND host = NULL;
    HWND dialog = inHost ? CreatePageInHost(instance, first, &host)
                         : CreateDialogParamW(instance, MAKEINTRESOURCEW(first), NULL, BenchDialogProc, 0);
    if (!dialog) {
        fprintf(stderr, "no dialog %u (is there a display?)\n", first);
        ++*failures;
        if (host) DestroyWindow(host);
        return;
    }
    Pump();
    std::vector<Placement> places[2] = {PlacementsOf(instance, dialog, second), PlacementsOf(instance, dialog, first)};
    std::vector<double> call, withPaint, bare, bareWithPaint;
    for (int k = 0; k < 2 * (kRounds + kWarmUp); ++k) {
        bool relayout = (k / 2) % 2 == 0;
        UINT variant = (k % 2) ? first : second;
        double t0 = NowMs();
        if (relayout ? !ReflowDialogFromTemplate(instance, dialog, variant) : !MoveDeferred(places[k % 2])) ++*failures;
        double t1 = NowMs();
        // The relayout invalidates the dialog when it moved anything; so does the floor.
        if (!relayout && first != second)
            RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        UpdateWindow(dialog);
        double t2 = NowMs();
        Pump();
        if (k < 2 * kWarmUp) continue;
        (relayout ? call : bare).push_back(t1 - t0);
        (relayout ? withPaint : bareWithPaint).push_back(t2 - t0);
    }
    DestroyWindow(dialog);
    if (host) DestroyWindow(host);
    printf("%s (%zu controls)\n", title, places[0].size());
    PrintAgainstFloor("relayout", call, "the bare deferred move", bare);
    PrintAgainstFloor("relayout and repaint", withPaint, "the bare deferred move and repaint", bareWithPaint);
}

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    int failures = 0;
    printf("Relayout of a 30-control dialog\n");
    Measure("Tweak page in its host, portrait <-> landscape", kPagePortrait, kPageLandscape, true, &failures);
    Measure("Tweak page in its host, the variant in place again", kPagePortrait, kPagePortrait, true, &failures);
    Measure("Page with 2 combo boxes in its host, portrait <-> landscape", kComboPortrait, kComboLandscape, true,
            &failures);
    Measure("Tweak page as a top-level dialog, portrait <-> landscape", kPagePortrait, kPageLandscape, false,
            &failures);
    if (failures) printf("%d relayouts or moves reported failure\n", failures);
    return failures ? 1 : 0;
}
