#include "main_window_fixture.h"
#include "resource.h"

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

// Turns the screen to the layout's shape and repaints, so that the splash follows it.
static void TurnTo(const Layout &layout)
{
    ASSERT_TRUE(SimRotate(layout.shape));
    PumpMessages(100);
    RedrawWindow(g_hMainWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ((DWORD)layout.shape, g_splashLayout);
    ShownCaptions();
}

// Captions of the boxes a tap at (x, y) opened.
static std::vector<std::wstring> TapShows(UINT message, int x, int y)
{
    Tap(message, x, y);
    return ShownCaptions();
}

TEST_F(MainWindowTest, HotRowBoundariesInEveryLayout)
{
    ASSERT_TRUE(OpenMainWindow());
    SimSetLines(NULL, 0);   // row 2 then shows the apology box: a visible sign of the tap
    for (const Layout &layout : kLayouts) {
        SCOPED_TRACE(testing::Message() << "shape " << layout.shape);
        TurnTo(layout);
        int low = layout.rowLow + 2 * layout.step, high = layout.rowHigh + 2 * layout.step;
        int middle = (low + high) / 2, centre = (layout.left + layout.right) / 2;
        for (POINT p : {POINT{layout.left + 1, low + 1}, POINT{layout.right - 1, high - 1}})
            EXPECT_EQ(1u, TapShows(WM_LBUTTONDOWN, p.x, p.y).size()) << p.x << "," << p.y;
        for (POINT p : {POINT{centre, low}, POINT{centre, high}, POINT{layout.left, middle}, POINT{layout.right, middle}})
            EXPECT_EQ(0u, TapShows(WM_LBUTTONDOWN, p.x, p.y).size()) << p.x << "," << p.y;
        EXPECT_EQ(0u, TapShows(WM_LBUTTONUP, centre, middle).size()) << "hot rows act on button down only";
    }
}

TEST_F(MainWindowTest, GaugeTapsOpenOneReport)
{
    ASSERT_TRUE(OpenMainWindow());
    const std::vector<std::wstring> battery = {L"Battery Information"}, memory = {L"Memory Information"},
                                    storage = {L"Storage Information"}, none;
    for (const Layout &layout : kLayouts) {
        SCOPED_TRACE(testing::Message() << "shape " << layout.shape);
        TurnTo(layout);
        int y = layout.bandLow + 1;
        struct { int x, y; const std::vector<std::wstring> &shown; } taps[] = {
            {20, y, none},    {21, y, battery}, {109, y, battery}, {110, y, none},    {111, y, memory},
            {209, y, memory}, {210, y, storage}, {320, y, none},   {60, layout.bandLow, none}, {60, layout.bandHigh, none}};
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

TEST_F(MainWindowTest, BatteryBarShowsTheUsedShareWidened)
{
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
