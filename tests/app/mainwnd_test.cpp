// The main window: start-up, its commands, the taps on the splash and the gauges, and
// the battery bar it paints.
#include <algorithm>
#include "testkit.h"
#include "app/rudore.h"
#include "resource.h"

namespace {

const wchar_t kClass[] = L"ZEZARIVERARURIDOZ", kTitle[] = L"Zelvo Rudore";

// What a message to the main window shows: the title of the dialog it opens (ended at
// once), then the captions of the boxes it shows.
std::wstring Shows(UINT message, WPARAM wParam, LPARAM lParam)
{
    SimClearRecords();
    std::wstring shown;
    DriveModal([&] { SendMessageW(g_hMainWnd, message, wParam, lParam); },
               [&](HWND dialog) { shown = WindowText(dialog), EndDialog(dialog, 0); });
    for (const SimMessageBox &box : MessageBoxesFrom(0)) shown += box.caption;
    return shown;
}

// `count` pixels of row y from x0 on.
std::vector<COLORREF> PixelRow(HDC dc, int x0, int y, int count = 64)
{
    std::vector<COLORREF> row;
    for (int x = 0; x < count; x++) row.push_back(GetPixel(dc, x0 + x, y));
    return row;
}

std::vector<COLORREF> BitmapRow(UINT id, int y, int x0 = 0, int count = 64)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(id));
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    std::vector<COLORREF> row = PixelRow(memory, x0, y, count);
    DeleteObject(SelectObject(memory, previous)), DeleteDC(memory);
    return row;
}

}  // namespace

// The program's main window, created in the test process on a fresh device.
class MainWindowTest : public DeviceTest {
protected:
    void TearDown() override { CloseMainWindow(), SimRotate(SIM_PORTRAIT), DeviceTest::TearDown(); }
    static bool OpenMainWindow() { return InitMainWindow(GetModuleHandleW(NULL), SW_SHOW) && UpdateWindow(g_hMainWnd); }
    // The window goes with its class. The quit message it posted must not end a later
    // loop; the rest is dispatched, so that windows it uncovered get their paint.
    static void CloseMainWindow()
    {
        if (g_hMainWnd && IsWindow(g_hMainWnd)) DestroyWindow(g_hMainWnd);
        g_hMainWnd = NULL;
        UnregisterClassW(kClass, GetModuleHandleW(NULL));
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        PumpMessages(50);
    }
};

// The menu's commands open their dialogs, Phone Tricks only with a cellular line (without
// one it apologises); commands outside the menu's range, and the accelerators' ones, do
// nothing; the power commands ask first, and No to Exit closes the program.
TEST_F(MainWindowTest, MenuCommandsOpenTheirDialogsAndPowerCommandsAskFirst)
{
    ASSERT_TRUE(OpenMainWindow());
    const struct { WORD command; const wchar_t *title; } targets[] = {
        {IDM_TODAY, L"Today Tricks"}, {IDM_PHONE, L"Phone Tricks"}, {IDM_SYSTEM, L"System Tricks"},
        {IDM_INTERNET, L"Dialog"},    {IDM_ABOUT, L"About Zelvo Rudore for PPC"}, {IDM_FILESYSTEM, L"File System Tricks"},
        {IDM_KEYBOARD, L"KeyBoard Tricks"}, {IDM_CALENDAR, L"Calendar"}};
    for (auto &t : targets) EXPECT_EQ(t.title, Shows(WM_COMMAND, t.command, 0)) << t.command;
    for (WORD id : {(WORD)IDM_RUDORE, (WORD)32770, (WORD)32797, (WORD)IDM_ACCEL_ALL, (WORD)IDM_ACCEL_QUIT})
        EXPECT_EQ(L"", Shows(WM_COMMAND, id, 0)) << id;
    SimSetLines(NULL, 0);
    EXPECT_EQ(L"Zelvo Rudore", Shows(WM_COMMAND, IDM_PHONE, 0));
    EXPECT_STREQ(L"Sorry, you need a Pocket PC Phone Edition to use this option.", LastMessageBox().text);
    const struct { WORD command; const wchar_t *caption; int action; } cases[] = {
        {IDM_SHUTDOWN, L"Confirma!", SIM_POWER_KEY_DOWN},   {IDM_SOFTRESET, L"Confirm!", SIM_POWER_SETSTATE},
        {IDM_HARDRESET, L"Confirm!", SIM_POWER_CLEANBOOT}, {IDM_EXIT, L"Confirm!", SIM_POWER_SETSTATE}};
    for (auto &c : cases) {
        for (int answer : {IDYES, IDNO}) {
            SimClearRecords();
            SimQueueMessageBoxAnswer(answer);
            SendMessageW(g_hMainWnd, WM_COMMAND, c.command, 0);
            EXPECT_STREQ(c.caption, LastMessageBox().caption);
            SimPowerAction action = {};
            EXPECT_EQ(answer == IDYES, SimGetPowerAction(0, &action) != FALSE) << c.command << ": No does nothing";
            if (answer == IDYES) {
                EXPECT_EQ(c.action, action.kind);
                SimWake();
            }
        }
        EXPECT_EQ(c.command != IDM_EXIT, IsWindow(g_hMainWnd) != FALSE) << "only No to Exit closes the program";
    }
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Hot row k of the splash: left < x < right, rowLow + k*step < y < rowHigh + k*step,
// acting on button down; the gauges take button-up taps between bandLow and bandHigh.
// Every row at each of its four edges and just inside them, and the band and the three
// gauges' ranges at their edges, on the device's screens: 480x640, 640x480 and 480x480.
TEST_F(MainWindowTest, EveryHotRowAndGaugeTakesTapsOnlyInsideItsEdges)
{
    const struct { int shape, cx, cy, left, right, rowLow, rowHigh, step, bandLow, bandHigh; } layouts[] = {
        {SIM_PORTRAIT, 480, 640, 150, 370, 120, 180, 60, 498, 530},
        {SIM_LANDSCAPE, 640, 480, 150, 350, 50, 80, 50, 340, 370},
        {SIM_SQUARE, 480, 480, 150, 330, 70, 104, 40, 340, 370}};
    const wchar_t *rows[] = {L"Today Tricks", L"File System Tricks", L"Phone Tricks", L"System Tricks", L"Dialog", L"KeyBoard Tricks"};
    const wchar_t *battery = L"Battery Information", *memory = L"Memory Information", *storage = L"Storage Information";
    ASSERT_TRUE(OpenMainWindow());
    for (const auto &l : layouts) {
        SCOPED_TRACE(testing::Message() << "shape " << l.shape);
        ASSERT_TRUE(SimRotate(l.shape));
        ASSERT_EQ(l.cx, GetSystemMetrics(SM_CXSCREEN));
        ASSERT_EQ(l.cy, GetSystemMetrics(SM_CYSCREEN));
        PumpMessages(100);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        int inBand = l.bandLow + 1;
        EXPECT_EQ(L"", Shows(WM_LBUTTONUP, 0, MAKELPARAM((l.left + l.right) / 2, l.rowLow + 1))) << "rows act on button down";
        EXPECT_EQ(L"", Shows(WM_LBUTTONDOWN, 0, MAKELPARAM(60, inBand))) << "gauges act on button up only";
        for (int k = 0; k < 6; k++) {
            int low = l.rowLow + k * l.step, high = l.rowHigh + k * l.step, middle = (low + high) / 2, centre = (l.left + l.right) / 2;
            for (POINT p : {POINT{l.left + 1, low + 1}, POINT{l.right - 1, high - 1}})
                EXPECT_EQ(rows[k], Shows(WM_LBUTTONDOWN, 0, MAKELPARAM(p.x, p.y))) << p.x << "," << p.y;
            for (POINT p : {POINT{centre, low}, POINT{centre, high}, POINT{l.left, middle}, POINT{l.right, middle}})
                EXPECT_EQ(L"", Shows(WM_LBUTTONDOWN, 0, MAKELPARAM(p.x, p.y))) << p.x << "," << p.y;
        }
        const struct { int x, y; const wchar_t *shown; } taps[] = {
            {60, l.bandLow, L""},    {60, l.bandLow + 1, battery}, {60, l.bandHigh - 1, battery}, {60, l.bandHigh, L""},
            {20, l.bandLow + 1, L""}, {21, l.bandHigh - 1, battery}, {109, l.bandLow + 1, battery}, {110, l.bandLow + 1, L""},
            {111, l.bandHigh - 1, memory}, {210, l.bandLow + 1, storage}, {319, l.bandHigh - 1, storage}, {320, l.bandLow + 1, L""}};
        for (auto &tap : taps) EXPECT_EQ(tap.shown, Shows(WM_LBUTTONUP, 0, MAKELPARAM(tap.x, tap.y))) << tap.x << "," << tap.y;
    }
}

// The battery bar: the grey bitmap with the blue one over the used share, a sliver
// of 1 to 9 pixels widened by 3 to be seen (99%: 1 used pixel, 4 blue; 86%: 9, 12 blue;
// 85%: 10, not widened); no reading (255) shows full.
TEST_F(MainWindowTest, TheBatteryBarShowsTheUsedShareWidened)
{
    // A row where the blue and grey bitmaps differ, above the centred percentage text.
    int row = 0;
    while (row < 5 && BitmapRow(IDB_BAR_BLUE, row)[32] == BitmapRow(IDB_BAR_GREY, row)[32]) row++;
    ASSERT_LT(row, 5);
    std::vector<COLORREF> blue = BitmapRow(IDB_BAR_BLUE, row), grey = BitmapRow(IDB_BAR_GREY, row);
    ASSERT_NE(blue[8], grey[8]) << "a sliver would not be seen";
    ASSERT_TRUE(OpenMainWindow());
    for (auto c : {std::make_pair(99, 4), std::make_pair(86, 12), std::make_pair(85, 10), std::make_pair(100, 0),
                   std::make_pair(255, 0), std::make_pair(0, 64)}) {
        SimBattery battery;
        SimGetBattery(&battery), battery.lifePercent = (BYTE)c.first, SimSetBattery(&battery);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC window = GetDC(g_hMainWnd);
        std::vector<COLORREF> shown = PixelRow(window, 46, 504 + row);
        ReleaseDC(g_hMainWnd, window);
        for (int x = 0; x < 64; x++) EXPECT_EQ(x < c.second ? blue[x] : grey[x], shown[x]) << c.first << "% at " << x;
    }
}

// Each shape's splash fills the window's width, from its left edge to its right one,
// and the gauges' icons and bars stand in their shape's rows: icons at x 20, 120 and
// 220, bars (a battery without a reading shows a full one) from x 46. Where the window
// is taller than its splash (the square's is 400 rows) the rows below it are black.
TEST_F(MainWindowTest, TheSplashFillsTheWidthAndTheGaugesStandInTheirRowsInEveryShape)
{
    // The rows checked: one near the top, and the middle of the first category's row.
    const struct { int shape; UINT splash; int splashHeight, iconY, barY, rows[2]; } layouts[] = {
        {SIM_PORTRAIT, IDB_SPLASH_PORTRAIT, 600, 500, 504, {2, 150}},
        {SIM_LANDSCAPE, IDB_SPLASH_LANDSCAPE, 440, 340, 348, {2, 65}},
        {SIM_SQUARE, IDB_SPLASH_SQUARE, 400, 340, 350, {2, 87}}};
    const struct { UINT icon; int x; } icons[] = {{IDB_GAUGE_BATTERY, 20}, {IDB_GAUGE_MEMORY, 120}, {IDB_GAUGE_STORAGE, 220}};
    SimBattery battery;
    SimGetBattery(&battery), battery.lifePercent = 255, SimSetBattery(&battery);
    ASSERT_TRUE(OpenMainWindow());
    for (const auto &l : layouts) {
        SCOPED_TRACE(testing::Message() << "shape " << l.shape);
        ASSERT_TRUE(SimRotate(l.shape));
        PumpMessages(100);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC window = GetDC(g_hMainWnd);
        int width = GetSystemMetrics(SM_CXSCREEN);
        // Rows of the splash, 64 pixels at a time up to the right edge.
        for (int y : l.rows)
            for (int x = 0; x < width; x += 64) {
                int from = std::min(x, width - 64);
                EXPECT_EQ(BitmapRow(l.splash, y, from), PixelRow(window, from, y)) << "splash row " << y << " from " << from;
            }
        for (const auto &icon : icons)
            for (int y : {0, 29})
                EXPECT_EQ(BitmapRow(icon.icon, y, 0, 22), PixelRow(window, icon.x, l.iconY + y, 22)) << icon.x << "," << y;
        EXPECT_EQ(BitmapRow(IDB_BAR_GREY, 1), PixelRow(window, 46, l.barY + 1)) << "battery bar";
        RECT client;
        GetClientRect(g_hMainWnd, &client);
        if (l.shape == SIM_SQUARE) {
            EXPECT_GT(client.bottom, l.splashHeight) << "the square's window is taller than its splash";
        }
        for (int y : {l.splashHeight, (int)client.bottom - 1}) {
            if (y < l.splashHeight || y >= client.bottom) continue;
            for (int x = 0; x < width; x += 64)
                EXPECT_EQ(std::vector<COLORREF>(64, RGB(0, 0, 0)), PixelRow(window, std::min(x, width - 64), y)) << "below the splash, row " << y;
        }
        ReleaseDC(g_hMainWnd, window);
    }
}

// Below the top bar, the window ends where the soft-key bar begins; without a bar it
// reaches the screen's bottom, and the program runs on all the same.
TEST_F(MainWindowTest, WindowEndsAboveTheSoftKeyBarOrTheScreensBottomWithoutOne)
{
    for (bool bar : {true, false}) {
        if (!bar) SimSetFailure(SIM_FAIL_MENUBAR, 1);
        ASSERT_TRUE(OpenMainWindow());
        EXPECT_EQ(bar, g_hMenuBar != NULL);
        EXPECT_TRUE(IsWindowVisible(g_hMainWnd));
        RECT window, menuBar = {0, GetSystemMetrics(SM_CYSCREEN), 0, 0};
        if (bar) GetWindowRect(g_hMenuBar, &menuBar);
        GetWindowRect(g_hMainWnd, &window);
        const RECT expected = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), menuBar.top};
        EXPECT_TRUE(EqualRect(&expected, &window)) << window.top << " to " << window.bottom << ", " << window.right;
        // A second start finds the running copy (by class and title), and ends.
        EXPECT_FALSE(InitMainWindow(GetModuleHandleW(NULL), SW_SHOW));
        EXPECT_TRUE(FindWindowW(kClass, kTitle) == g_hMainWnd && !FindWindowExW(NULL, g_hMainWnd, kClass, kTitle));
        PumpMessages(100);
        SimQueueMessageBoxAnswer(IDNO);
        SendMessageW(g_hMainWnd, WM_COMMAND, IDM_EXIT, 0);
        EXPECT_FALSE(IsWindow(g_hMainWnd)) << "the program answers commands";
        CloseMainWindow();
    }
}
