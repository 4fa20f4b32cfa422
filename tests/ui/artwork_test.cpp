// The artwork as the program loads it: every bitmap at its size, the icon at both
// sizes, and the category names of each splash picture inside its hot rows.
#include <vector>
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"

namespace {

// Ink of the category names on the splash buttons, as a 32-bit DIB pixel
// (blue in the low byte).
const DWORD kNameInk = 0x0012305e;

struct HotRows {
    UINT bitmap;
    int width, height;
    int left, right, low, high, step;  // row k: left < x < right, low + k*step < y < high + k*step
};

// Top-down 32-bit pixels of a bitmap resource.
bool LoadPixels(UINT id, int width, int height, std::vector<DWORD> *pixels)
{
    HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(id));
    if (!bitmap) return false;
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    pixels->assign((size_t)width * height, 0);
    HDC dc = GetDC(NULL);
    int rows = GetDIBits(dc, bitmap, 0, height, pixels->data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    DeleteObject(bitmap);
    return rows == height;
}

}  // namespace

TEST(Artwork, BitmapsAndIconHaveTheirSizes)
{
    struct {
        UINT id;
        int width, height;
    } bitmaps[] = {{IDB_SPLASH_PORTRAIT, 480, 600}, {IDB_SPLASH_LANDSCAPE, 640, 440}, {IDB_SPLASH_SQUARE, 480, 400},
                   {IDB_GAUGE_BATTERY, 22, 30},     {IDB_GAUGE_MEMORY, 22, 30},       {IDB_GAUGE_STORAGE, 22, 30},
                   {IDB_BAR_GREY, 64, 22},          {IDB_BAR_BLUE, 64, 22}};
    for (const auto &b : bitmaps) {
        HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(b.id));
        ASSERT_TRUE(bitmap) << b.id;
        BITMAP info;
        ASSERT_EQ((int)sizeof info, GetObjectW(bitmap, sizeof info, &info));
        EXPECT_EQ(b.width, info.bmWidth) << b.id;
        EXPECT_EQ(b.height, info.bmHeight) << b.id;
        DeleteObject(bitmap);
    }
    for (int size : {32, 16}) {
        HICON icon = (HICON)LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDI_RUDORE), IMAGE_ICON, size, size, 0);
        ICONINFO info;
        ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << size;
        BITMAP color;
        GetObjectW(info.hbmColor, sizeof color, &color);
        EXPECT_EQ(size, color.bmWidth);
        EXPECT_EQ(size, color.bmHeight);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Artwork, CategoryNamesLieInsideTheHotRows)
{
    const HotRows layouts[] = {{IDB_SPLASH_PORTRAIT, 480, 600, 150, 370, 120, 180, 60},
                               {IDB_SPLASH_LANDSCAPE, 640, 440, 150, 350, 50, 80, 50},
                               {IDB_SPLASH_SQUARE, 480, 400, 150, 330, 70, 104, 40}};
    for (const HotRows &l : layouts) {
        SCOPED_TRACE(l.bitmap);
        std::vector<DWORD> pixels;
        ASSERT_TRUE(LoadPixels(l.bitmap, l.width, l.height, &pixels));
        int inRow[6] = {0, 0, 0, 0, 0, 0};
        int outside = 0;
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
