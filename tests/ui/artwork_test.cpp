// The artwork as the program loads it: every bitmap at its size, and the category
// names of each splash picture inside its hot rows.
#include <vector>
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"

namespace {

// Ink of the category names on the splash buttons, as a 32-bit DIB pixel
// (blue in the low byte).
const DWORD kNameInk = 0x0012305e;

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

// The main window draws the gauges and bars at these sizes.
TEST(Artwork, GaugeAndBarBitmapsHaveTheSizesTheyAreDrawnAt)
{
    const struct {
        UINT id;
        int width, height;
    } bitmaps[] = {{IDB_GAUGE_BATTERY, 22, 30}, {IDB_GAUGE_MEMORY, 22, 30}, {IDB_GAUGE_STORAGE, 22, 30},
                   {IDB_BAR_GREY, 64, 22},      {IDB_BAR_BLUE, 64, 22}};
    for (const auto &b : bitmaps) {
        HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(b.id));
        SIZE size = BitmapSize(bitmap);
        EXPECT_EQ(b.width, size.cx) << b.id;
        EXPECT_EQ(b.height, size.cy) << b.id;
        DeleteObject(bitmap);
    }
}

TEST(Artwork, CategoryNamesLieInsideTheHotRowsOfEachSplashPicture)
{
    // Row k: left < x < right, low + k*step < y < high + k*step.
    const struct {
        UINT bitmap;
        int width, height, left, right, low, high, step;
    } layouts[] = {{IDB_SPLASH_PORTRAIT, 480, 600, 150, 370, 120, 180, 60},
                   {IDB_SPLASH_LANDSCAPE, 640, 440, 150, 350, 50, 80, 50},
                   {IDB_SPLASH_SQUARE, 480, 400, 150, 330, 70, 104, 40}};
    for (const auto &l : layouts) {
        SCOPED_TRACE(l.bitmap);
        HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(l.bitmap));
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
        for (int y = 0; y < l.height; ++y) {
            for (int x = 0; x < l.width; ++x) {
                if ((pixels[(size_t)y * l.width + x] & 0x00FFFFFF) != kNameInk) continue;
                int row = -1;
                for (int k = 0; k < 6; ++k)
                    if (x > l.left && x < l.right && y > l.low + k * l.step && y < l.high + k * l.step) row = k;
                if (row < 0) ++outside;
                else ++inRow[row];
            }
        }
        EXPECT_EQ(0, outside);
        // Each row carries a name: "File System", the shortest, has well over 100 ink pixels.
        for (int k = 0; k < 6; ++k) EXPECT_GT(inRow[k], 100) << "row " << k;
    }
}
