// The About box: how it ends, and how it follows the screen keeping its texts and icon.
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"

class AboutBox : public DeviceTest {};

TEST_F(AboutBox, FollowsTheScreenKeepingItsTextsAndEndsOnlyOnDoneOrClose)
{
    const int shapes[] = {SIM_LANDSCAPE, SIM_SQUARE, SIM_PORTRAIT};
    INT_PTR result = 0;
    bool stayedOpen = false;
    bool driven = DriveModal([&] { result = ShowAboutBox(NULL); }, [&](HWND dialog) {
        const int texts[] = {IDC_ABOUT_VERSION, IDC_ABOUT_WELCOME};
        std::wstring shown[2] = {WindowText(GetDlgItem(dialog, texts[0])), WindowText(GetDlgItem(dialog, texts[1]))};
        EXPECT_FALSE(shown[0].empty() || shown[1].empty());
        HWND icon = GetDlgItem(dialog, IDC_ABOUT_ICON);
        for (int shape : shapes) {
            SCOPED_TRACE(testing::Message() << "shape " << shape);
            EXPECT_TRUE(SimRotate(shape));
            PumpMessages(50);
            for (int k = 0; k < 2; ++k) EXPECT_EQ(shown[k], WindowText(GetDlgItem(dialog, texts[k])));
            // The template names the icon by ordinal: each relayout shows the program's icon.
            EXPECT_EQ((LRESULT)LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_RUDORE)),
                      SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
        }
        // Other commands leave it open.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_VERSION, 0), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        stayedOpen = IsWindowVisible(dialog) != FALSE;
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_TRUE(driven);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(1, result);

    driven = DriveModal([&] { result = ShowAboutBox(NULL); }, [&](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(driven);
    EXPECT_EQ(16, result);
}
