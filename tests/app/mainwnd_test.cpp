#include "main_window_fixture.h"
#include "resource.h"

static const wchar_t kNoPhone[] = L"Sorry, you need a Pocket PC Phone Edition to use this option.";

static void Tap(UINT message, int x, int y)
{
    SendMessageW(g_hMainWnd, message, 0, MAKELPARAM(x, y));
}

// Captions of the boxes shown since the last call, in order.
static std::vector<std::wstring> ShownCaptions()
{
    std::vector<std::wstring> captions;
    for (int i = 0; i < SimMessageBoxCount(); i++) {
        SimMessageBox box;
        SimGetMessageBox(i, &box);
        captions.push_back(box.caption);
    }
    SimClearRecords();
    return captions;
}

TEST_F(MainWindowTest, PowerCommandsAskFirstAndExitClosesOnNo)
{
    ASSERT_TRUE(OpenMainWindow());
    struct { WORD command; const wchar_t *text; const wchar_t *caption; int action; } cases[] = {
        {IDM_SHUTDOWN, L"A shut down will power off the Pocket PC. Are you sure that you want to shut down?",
         L"Confirma!", SIM_POWER_KEY_DOWN},
        {IDM_SOFTRESET, L"\"Soft Reset\" will close all opened programs and restart you Pocket PC. Are you sure that "
                        L"you want to Soft Reset?", L"Confirm!", SIM_POWER_SETSTATE},
        {IDM_HARDRESET, L"\"Hard Reset\" will restore you Pocket PC to the factory default settings. Are you sure "
                        L"that you want to Hard Reset?", L"Confirm!", SIM_POWER_CLEANBOOT},
        {IDM_EXIT, L"If the registry have been changed, in some cases a Soft Reset is needed to apply those changes. "
                   L"Proceed with a Soft Reset?", L"Confirm!", SIM_POWER_SETSTATE},
    };
    for (auto &c : cases) {
        SimClearRecords();
        SimQueueMessageBoxAnswer(IDYES);
        SendMessageW(g_hMainWnd, WM_COMMAND, c.command, 0);
        SimMessageBox box = LastMessageBox();
        EXPECT_STREQ(c.text, box.text);
        EXPECT_STREQ(c.caption, box.caption);
        EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), box.flags);
        EXPECT_EQ(g_hMainWnd, box.owner);
        SimPowerAction action;
        ASSERT_TRUE(SimGetPowerAction(0, &action));
        EXPECT_EQ(c.action, action.kind);
        EXPECT_TRUE(IsWindow(g_hMainWnd)) << "a reset does not close the program first";
        SimWake();

        SimClearRecords();
        SimQueueMessageBoxAnswer(IDNO);
        SendMessageW(g_hMainWnd, WM_COMMAND, c.command, 0);
        EXPECT_EQ(0, SimPowerActionCount()) << "No does nothing";
    }
    // No to Exit closes the program.
    EXPECT_FALSE(IsWindow(g_hMainWnd));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

TEST_F(MainWindowTest, PhoneTricksNeedACellularLine)
{
    ASSERT_TRUE(OpenMainWindow());
    SimSetLines(NULL, 0);
    SendMessageW(g_hMainWnd, WM_COMMAND, IDM_PHONE, 0);
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(kNoPhone, box.text);
    EXPECT_STREQ(L"Zelvo Rudore", box.caption);
    EXPECT_EQ((UINT)MB_OK, box.flags);

    // Commands outside the menu's range, and the accelerators' ones, do nothing.
    SimClearRecords();
    for (WORD id : {(WORD)IDM_RUDORE, (WORD)32770, (WORD)32797, (WORD)IDM_ACCEL_ALL, (WORD)IDM_ACCEL_QUIT})
        SendMessageW(g_hMainWnd, WM_COMMAND, id, 0);
    EXPECT_EQ(0, SimMessageBoxCount());
    EXPECT_TRUE(IsWindow(g_hMainWnd));
}

// The hosts and the About box, from the menu and from their rows of the portrait
// splash picture (the other dialogs' own tests open them from the main window).
TEST_F(MainWindowTest, MenuCommandsAndHotRowsOpenTheirDialogs)
{
    ASSERT_TRUE(OpenMainWindow());
    const struct { WORD command; int row; const wchar_t *title; } targets[] = {
        {IDM_TODAY, 0, L"Today Tricks"},   {IDM_PHONE, 2, L"Phone Tricks"}, {IDM_SYSTEM, 3, L"System Tricks"},
        {IDM_INTERNET, 4, L"Dialog"},      {IDM_ABOUT, -1, L"About Zelvo Rudore for PPC"}};
    for (auto &t : targets) {
        for (bool byRow : {false, true}) {
            if (byRow && t.row < 0) continue;
            std::wstring title;
            DriveModal([&] {
                if (byRow) Tap(WM_LBUTTONDOWN, 260, 150 + 60 * t.row);
                else SendMessageW(g_hMainWnd, WM_COMMAND, t.command, 0);
            }, [&](HWND dialog) {
                title = WindowText(dialog);
                SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            });
            EXPECT_EQ(t.title, title) << (byRow ? "row " : "command ") << (byRow ? t.row : t.command);
        }
    }
}

struct Layout {
    int shape;
    int left, right, rowLow, rowHigh, step;
    int bandLow, bandHigh;
};

static const Layout kLayouts[] = {
    {SIM_PORTRAIT, 150, 370, 120, 180, 60, 498, 530},
    {SIM_LANDSCAPE, 150, 350, 50, 80, 50, 340, 370},
    {SIM_SQUARE, 150, 330, 70, 104, 40, 340, 370},
};

TEST_F(MainWindowTest, HotRowBoundariesInEveryLayout)
{
    ASSERT_TRUE(OpenMainWindow());
    SimSetLines(NULL, 0);   // row 2 then shows the apology box: a visible sign of the tap
    for (const Layout &layout : kLayouts) {
        ASSERT_TRUE(SimRotate(layout.shape));
        PumpMessages(100);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ((DWORD)layout.shape, g_splashLayout);
        ShownCaptions();
        int low = layout.rowLow + 2 * layout.step, high = layout.rowHigh + 2 * layout.step;
        int middle = (low + high) / 2, centre = (layout.left + layout.right) / 2;

        Tap(WM_LBUTTONDOWN, centre, middle);
        EXPECT_EQ(1u, ShownCaptions().size()) << "shape " << layout.shape;
        for (POINT p : {POINT{centre, low}, POINT{centre, high}, POINT{layout.left, middle},
                        POINT{layout.right, middle}, POINT{layout.left - 20, middle}}) {
            Tap(WM_LBUTTONDOWN, p.x, p.y);
            EXPECT_EQ(0u, ShownCaptions().size()) << "shape " << layout.shape << " at " << p.x << "," << p.y;
        }
        Tap(WM_LBUTTONDOWN, layout.left + 1, low + 1);
        Tap(WM_LBUTTONDOWN, layout.right - 1, high - 1);
        EXPECT_EQ(2u, ShownCaptions().size()) << "shape " << layout.shape;
        // Hot rows act on button down only.
        Tap(WM_LBUTTONUP, centre, middle);
        EXPECT_EQ(0u, ShownCaptions().size());
    }
}

TEST_F(MainWindowTest, GaugeTapsOpenOneReport)
{
    ASSERT_TRUE(OpenMainWindow());
    for (const Layout &layout : kLayouts) {
        ASSERT_TRUE(SimRotate(layout.shape));
        PumpMessages(100);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        ShownCaptions();
        int y = layout.bandLow + 1;
        struct { int x; const wchar_t *caption; } taps[] = {
            {21, L"Battery Information"}, {109, L"Battery Information"}, {111, L"Memory Information"},
            {205, L"Memory Information"}, {209, L"Memory Information"}, {210, L"Storage Information"},
            {319, L"Storage Information"}};
        for (auto &tap : taps) {
            Tap(WM_LBUTTONUP, tap.x, y);
            std::vector<std::wstring> shown = ShownCaptions();
            ASSERT_EQ(1u, shown.size()) << "x " << tap.x << " shape " << layout.shape;
            EXPECT_EQ(tap.caption, shown[0]) << "x " << tap.x;
        }
        for (POINT p : {POINT{20, y}, POINT{110, y}, POINT{320, y}, POINT{60, layout.bandLow},
                        POINT{60, layout.bandHigh}}) {
            Tap(WM_LBUTTONUP, p.x, p.y);
            EXPECT_EQ(0u, ShownCaptions().size()) << p.x << "," << p.y << " shape " << layout.shape;
        }
        // Gauges act on button up only.
        Tap(WM_LBUTTONDOWN, 60, y);
        EXPECT_EQ(0u, ShownCaptions().size());
    }
}

// Colour of a bitmap resource at one pixel.
static COLORREF BitmapPixel(UINT id, int x, int y)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(id));
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return colour;
}

// The first row of the bar bitmaps where blue and grey differ: above the centred text.
static int FirstDistinctRow()
{
    for (int y = 0; y < 22; y++)
        if (BitmapPixel(IDB_BAR_BLUE, 32, y) != BitmapPixel(IDB_BAR_GREY, 32, y)) return y;
    return -1;
}

// Whether the battery bar as painted reads, along one row, as the blue bitmap's first
// `width` pixels followed by the grey bitmap's rest. (The bitmaps' rounded ends are
// alike, so widths differing only there cannot be told apart.)
static bool BatteryOverlayIs(int row, int width)
{
    RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    COLORREF painted[64], blue[64], grey[64];
    HDC window = GetDC(g_hMainWnd);
    for (int x = 0; x < 64; x++) {
        painted[x] = GetPixel(window, 46 + x, 504 + row);
        blue[x] = BitmapPixel(IDB_BAR_BLUE, x, row);
        grey[x] = BitmapPixel(IDB_BAR_GREY, x, row);
    }
    ReleaseDC(g_hMainWnd, window);
    for (int x = 0; x < 64; x++)
        if (painted[x] != (x < width ? blue[x] : grey[x])) return false;
    return true;
}

TEST_F(MainWindowTest, BatteryBarShowsTheUsedShareWidened)
{
    int row = FirstDistinctRow();
    ASSERT_GE(row, 0);
    ASSERT_LT(row, 5) << "the row must lie above the percentage text";
    ASSERT_TRUE(OpenMainWindow());
    struct { BYTE percent; int blue; } cases[] = {
        {85, 10},   // fill 54: 10 used pixels, shown as they are
        {90, 10},   // fill 57: 7 used pixels, widened by 3 to be seen
        {98, 5},    // fill 62: 2 used pixels, widened
        {255, 0},   // no reading: a full bar, nothing used
        {0, 64},
    };
    for (auto &c : cases) {
        SimBattery battery;
        SimGetBattery(&battery);
        battery.lifePercent = c.percent;
        SimSetBattery(&battery);
        EXPECT_TRUE(BatteryOverlayIs(row, c.blue)) << "battery " << (int)c.percent;
        EXPECT_FALSE(BatteryOverlayIs(row, c.blue == 10 ? 7 : 10)) << "battery " << (int)c.percent;
    }
}
