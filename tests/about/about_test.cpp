// The About box: what it shows, how it ends, and how it follows the screen.
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"
#include "tests/ui/layout_check.h"

namespace {

const wchar_t kVersionText[] = L"Zelvo Rudore for PPC Version 1.0";
const wchar_t kWelcomeText[] = L"Welcome to use Zelvo Rudore for PPC!";

void ExpectAboutContents(HWND dialog)
{
    EXPECT_EQ(L"About Zelvo Rudore for PPC", WindowText(dialog));
    EXPECT_EQ(kVersionText, WindowText(GetDlgItem(dialog, IDC_ABOUT_VERSION)));
    EXPECT_EQ(kWelcomeText, WindowText(GetDlgItem(dialog, IDC_ABOUT_WELCOME)));
    HWND icon = GetDlgItem(dialog, IDC_ABOUT_ICON);
    ASSERT_TRUE(icon);
    EXPECT_EQ((LONG)SS_ICON, GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK);
    EXPECT_EQ((LRESULT)LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_RUDORE)),
              SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
}

}  // namespace

class AboutBox : public DeviceTest {};

TEST_F(AboutBox, ShowsTheProgramAndEndsWithOneOnDoneAndSixteenOnClose)
{
    INT_PTR result = 0;
    bool driven = DriveModal([&] { result = ShowAboutBox(NULL); },
                             [&](HWND dialog) {
                                 ExpectAboutContents(dialog);
                                 EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_ABOUT));
                                 SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                             });
    EXPECT_TRUE(driven);
    EXPECT_EQ(1, result);

    result = 0;
    driven = DriveModal([&] { result = ShowAboutBox(NULL); },
                        [&](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(driven);
    EXPECT_EQ(16, result);

    // Other commands leave it open.
    result = 0;
    bool stayedOpen = false;
    driven = DriveModal([&] { result = ShowAboutBox(NULL); },
                        [&](HWND dialog) {
                            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_VERSION, 0), 0);
                            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
                            stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
                            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
                        });
    EXPECT_TRUE(driven);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(1, result);
}

TEST_F(AboutBox, FollowsTheScreenShapeAndKeepsItsTexts)
{
    ScreenShapeGuard screen;
    struct Shape {
        int width, height;
        UINT variant;
    } shapes[] = {{640, 480, IDD_ABOUT_LANDSCAPE}, {480, 640, IDD_ABOUT}, {640, 640, IDD_ABOUT},
                  {640, 480, IDD_ABOUT_LANDSCAPE}, {480, 640, IDD_ABOUT}};
    INT_PTR result = 0;
    bool driven = DriveModal([&] { result = ShowAboutBox(NULL); },
                             [&](HWND dialog) {
                                 for (const Shape &s : shapes) {
                                     SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
                                     EXPECT_TRUE(ScreenShapeGuard::Set(s.width, s.height));
                                     SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(s.width, s.height - 52));
                                     EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, s.variant));
                                     ExpectAboutContents(dialog);
                                 }
                                 SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                             });
    EXPECT_TRUE(driven);
    EXPECT_EQ(1, result);
}
