// The main window: its commands, the taps on the splash and the gauges, and the artwork
// it draws.
#include "main_window_fixture.h"
#include "resource.h"

TEST_F(MainWindowTest, PowerCommandsAskFirstAndExitClosesOnNo)
{
    ASSERT_TRUE(OpenMainWindow());
    struct { WORD command; const wchar_t *caption; int action; } cases[] = {
        {IDM_SHUTDOWN, L"Confirma!", SIM_POWER_KEY_DOWN},   {IDM_SOFTRESET, L"Confirm!", SIM_POWER_SETSTATE},
        {IDM_HARDRESET, L"Confirm!", SIM_POWER_CLEANBOOT}, {IDM_EXIT, L"Confirm!", SIM_POWER_SETSTATE}};
    for (auto &c : cases) {
        SimClearRecords();
        SimQueueMessageBoxAnswer(IDYES);
        SendMessageW(g_hMainWnd, WM_COMMAND, c.command, 0);
        EXPECT_STREQ(c.caption, LastMessageBox().caption);
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
}

TEST_F(MainWindowTest, CommandsOpenTheirDialogsOrApologiseWithoutAPhone)
{
    ASSERT_TRUE(OpenMainWindow());
    const struct { WORD command; const wchar_t *title; } targets[] = {
        {IDM_TODAY, L"Today Tricks"}, {IDM_PHONE, L"Phone Tricks"}, {IDM_SYSTEM, L"System Tricks"},
        {IDM_INTERNET, L"Dialog"},    {IDM_ABOUT, L"About Zelvo Rudore for PPC"}};
    for (auto &t : targets) {
        std::wstring title;
        DriveModal([&] { SendMessageW(g_hMainWnd, WM_COMMAND, t.command, 0); }, [&](HWND dialog) {
            title = WindowText(dialog);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(t.title, title) << t.command;
    }

    SimSetLines(NULL, 0);
    SimClearRecords();
    SendMessageW(g_hMainWnd, WM_COMMAND, IDM_PHONE, 0);
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"Sorry, you need a Pocket PC Phone Edition to use this option.", box.text);
    EXPECT_STREQ(L"Zelvo Rudore", box.caption);

    // Commands outside the menu's range, and the accelerators' ones, do nothing.
    SimClearRecords();
    for (WORD id : {(WORD)IDM_RUDORE, (WORD)32770, (WORD)32797, (WORD)IDM_ACCEL_ALL, (WORD)IDM_ACCEL_QUIT})
        SendMessageW(g_hMainWnd, WM_COMMAND, id, 0);
    EXPECT_EQ(0, SimMessageBoxCount());
    EXPECT_TRUE(IsWindow(g_hMainWnd));
}

// Captions of the boxes a tap at (x, y) opened.
static std::vector<std::wstring> TapShows(UINT message, int x, int y)
{
    SimClearRecords();
    SendMessageW(g_hMainWnd, message, 0, MAKELPARAM(x, y));
    std::vector<std::wstring> captions;
    for (const SimMessageBox &box : MessageBoxesFrom(0)) captions.push_back(box.caption);
    return captions;
}

static SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// Row k of the splash: left < x < right, rowLow + k*step < y < rowHigh + k*step; the
// gauges take taps between bandLow and bandHigh. Each splash picture carries the
// category names inside its hot rows.
TEST_F(MainWindowTest, SplashPicturesHotRowsAndGaugesAgreeInEveryShape)
{
    const struct {
        int shape;
        UINT splash;
        int width, height;
        int left, right, rowLow, rowHigh, step;
        int bandLow, bandHigh;
    } layouts[] = {{SIM_PORTRAIT, IDB_SPLASH_PORTRAIT, 480, 600, 150, 370, 120, 180, 60, 498, 530},
                   {SIM_LANDSCAPE, IDB_SPLASH_LANDSCAPE, 640, 440, 150, 350, 50, 80, 50, 340, 370},
                   {SIM_SQUARE, IDB_SPLASH_SQUARE, 480, 400, 150, 330, 70, 104, 40, 340, 370}};
    // Ink of the category names, as a 32-bit DIB pixel (blue in the low byte).
    const DWORD kNameInk = 0x0012305e;
    ASSERT_TRUE(OpenMainWindow());
    SimSetLines(NULL, 0);   // row 2 then shows the apology box: a visible sign of the tap
    const std::vector<std::wstring> battery = {L"Battery Information"}, memory = {L"Memory Information"},
                                    storage = {L"Storage Information"}, none;
    for (const auto &l : layouts) {
        SCOPED_TRACE(testing::Message() << "shape " << l.shape);
        HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(l.splash));
        ASSERT_EQ(l.width, BitmapSize(bitmap).cx);
        ASSERT_EQ(l.height, BitmapSize(bitmap).cy);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, l.width, -l.height, 1, 32};
        std::vector<DWORD> pixels((size_t)l.width * l.height);
        HDC dc = GetDC(NULL);
        ASSERT_EQ(l.height, GetDIBits(dc, bitmap, 0, l.height, pixels.data(), &info, DIB_RGB_COLORS));
        ReleaseDC(NULL, dc);
        DeleteObject(bitmap);
        int inRow[6] = {0, 0, 0, 0, 0, 0}, outside = 0;
        for (int y = 0; y < l.height; ++y)
            for (int x = 0; x < l.width; ++x) {
                if ((pixels[(size_t)y * l.width + x] & 0x00FFFFFF) != kNameInk) continue;
                int row = -1;
                for (int k = 0; k < 6; ++k)
                    if (x > l.left && x < l.right && y > l.rowLow + k * l.step && y < l.rowHigh + k * l.step) row = k;
                if (row < 0) ++outside;
                else ++inRow[row];
            }
        EXPECT_EQ(0, outside);
        // "File System", the shortest name, has well over 100 ink pixels.
        for (int k = 0; k < 6; ++k) EXPECT_GT(inRow[k], 100) << "row " << k;

        ASSERT_TRUE(SimRotate(l.shape));
        PumpMessages(100);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ((DWORD)l.shape, g_splashLayout);
        int low = l.rowLow + 2 * l.step, high = l.rowHigh + 2 * l.step;
        int middle = (low + high) / 2, centre = (l.left + l.right) / 2;
        for (POINT p : {POINT{l.left + 1, low + 1}, POINT{l.right - 1, high - 1}})
            EXPECT_EQ(1u, TapShows(WM_LBUTTONDOWN, p.x, p.y).size()) << p.x << "," << p.y;
        for (POINT p : {POINT{centre, low}, POINT{centre, high}, POINT{l.left, middle}, POINT{l.right, middle}})
            EXPECT_EQ(0u, TapShows(WM_LBUTTONDOWN, p.x, p.y).size()) << p.x << "," << p.y;
        EXPECT_EQ(0u, TapShows(WM_LBUTTONUP, centre, middle).size()) << "hot rows act on button down only";

        int y = l.bandLow + 1;
        struct { int x, y; const std::vector<std::wstring> &shown; } taps[] = {
            {20, y, none},    {21, y, battery}, {109, y, battery}, {110, y, none},    {111, y, memory},
            {209, y, memory}, {210, y, storage}, {320, y, none},   {60, l.bandLow, none}, {60, l.bandHigh, none}};
        for (auto &tap : taps) EXPECT_EQ(tap.shown, TapShows(WM_LBUTTONUP, tap.x, tap.y)) << tap.x << "," << tap.y;
        EXPECT_EQ(none, TapShows(WM_LBUTTONDOWN, 60, y)) << "gauges act on button up only";
    }
}

// One row of the first 64 pixels of a bar bitmap, or of the battery bar as painted.
static std::vector<COLORREF> PixelRow(HDC dc, int x0, int y)
{
    std::vector<COLORREF> row;
    for (int x = 0; x < 64; x++) row.push_back(GetPixel(dc, x0 + x, y));
    return row;
}

static std::vector<COLORREF> BitmapRow(UINT id, int y)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(id));
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    std::vector<COLORREF> row = PixelRow(memory, 0, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return row;
}

TEST_F(MainWindowTest, GaugeBitmapsHaveTheirSizesAndTheBatteryBarShowsTheUsedShareWidened)
{
    // The main window draws the gauges and bars at these sizes.
    const struct { UINT id; int width, height; } bitmaps[] = {
        {IDB_GAUGE_BATTERY, 22, 30}, {IDB_GAUGE_MEMORY, 22, 30}, {IDB_GAUGE_STORAGE, 22, 30},
        {IDB_BAR_GREY, 64, 22},      {IDB_BAR_BLUE, 64, 22}};
    for (const auto &b : bitmaps) {
        HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(b.id));
        EXPECT_EQ(b.width, BitmapSize(bitmap).cx) << b.id;
        EXPECT_EQ(b.height, BitmapSize(bitmap).cy) << b.id;
        DeleteObject(bitmap);
    }
    // A row where the blue and grey bitmaps differ, above the centred percentage text.
    int row = 0;
    while (row < 5 && BitmapRow(IDB_BAR_BLUE, row)[32] == BitmapRow(IDB_BAR_GREY, row)[32]) row++;
    ASSERT_LT(row, 5);
    std::vector<COLORREF> blue = BitmapRow(IDB_BAR_BLUE, row), grey = BitmapRow(IDB_BAR_GREY, row);
    // The blue bitmap's first `width` pixels followed by the grey bitmap's rest.
    auto overlay = [&](int width) {
        std::vector<COLORREF> out(blue.begin(), blue.begin() + width);
        out.insert(out.end(), grey.begin() + width, grey.end());
        return out;
    };
    ASSERT_NE(overlay(7), overlay(10)) << "the bitmaps' rounded ends are alike";
    ASSERT_TRUE(OpenMainWindow());
    struct { BYTE percent; int blue; } cases[] = {
        {90, 10},   // fill 57: 7 used pixels, widened by 3 to be seen
        {255, 0},   // no reading: a full bar, nothing used
        {0, 64},
    };
    for (auto &c : cases) {
        SimBattery battery;
        SimGetBattery(&battery);
        battery.lifePercent = c.percent;
        SimSetBattery(&battery);
        RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC window = GetDC(g_hMainWnd);
        EXPECT_EQ(overlay(c.blue), PixelRow(window, 46, 504 + row)) << "battery " << (int)c.percent;
        ReleaseDC(g_hMainWnd, window);
    }
}
