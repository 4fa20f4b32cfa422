// Every layout of the two pages fits its part of the screen: no control leaves the
// page or lies over another, and every box shows its whole label.
#include "tests/hosts/host_kit.h"
#include <vector>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The page area of the host in each shape, in pixels: the tab control less its strip.
struct Variant {
    UINT templateId;
    int width, height;
};

const Variant kVariants[] = {
    {IDD_CLOCK_POWER_PAGE, 480, 565}, {IDD_CLOCK_POWER_PAGE_LANDSCAPE, 640, 405}, {IDD_CLOCK_POWER_PAGE_SQUARE, 640, 565},
    {IDD_DEVICE_PAGE, 480, 565},      {IDD_DEVICE_PAGE_LANDSCAPE, 640, 405},      {IDD_DEVICE_PAGE_SQUARE, 640, 565},
};

// The widest label the counter box is given at run time.
const wchar_t kLongestCounterLabel[] = L"SoftReset counter from 4294967295 to 0";

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

class PageLayoutTest : public DeviceTest {};

}  // namespace

TEST_F(PageLayoutTest, EveryVariantKeepsItsControlsApartInsideThePageWithWholeLabels)
{
    for (const Variant &v : kVariants) {
        SCOPED_TRACE(v.templateId);
        // A child dialog needs a parent: a plain window of the page's size.
        HWND parent = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, v.width, v.height, NULL, NULL, NULL, NULL);
        HWND page = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(v.templateId), parent, PlainDialogProc, 0);
        ASSERT_TRUE(page != NULL);
        if (v.templateId == IDD_DEVICE_PAGE || v.templateId == IDD_DEVICE_PAGE_LANDSCAPE ||
            v.templateId == IDD_DEVICE_PAGE_SQUARE)
            SetDlgItemTextW(page, IDC_DEV_RESET_COUNTER, kLongestCounterLabel);
        std::vector<HWND> controls;
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            controls.push_back(child);
        EXPECT_GE(controls.size(), 8u);
        HDC dc = GetDC(page);
        HGDIOBJ oldFont = SelectObject(dc, (HFONT)SendMessageW(page, WM_GETFONT, 0, 0));
        int checkMark = GetSystemMetrics(SM_CXMENUCHECK) + 6;
        for (size_t i = 0; i < controls.size(); i++) {
            int id = GetDlgCtrlID(controls[i]);
            RECT r = PlaceOf(page, id);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= v.width && r.bottom <= v.height)
                << "control " << id << " leaves the page";
            if (ClassOf(controls[i]) == L"Button") {
                std::wstring label = WindowText(controls[i]);
                SIZE extent = {0, 0};
                GetTextExtentPoint32W(dc, label.c_str(), (int)label.size(), &extent);
                bool box = (GetWindowLongW(controls[i], GWL_STYLE) & 0x0F) == BS_AUTOCHECKBOX;
                EXPECT_LE(extent.cx + (box ? checkMark : 4), r.right - r.left) << "label of " << id << " is cut";
            }
        }
        ExpectControlsApart(page);
        SelectObject(dc, oldFont);
        ReleaseDC(page, dc);
        DestroyWindow(parent);
    }
}
