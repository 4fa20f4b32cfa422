#include "shell_testkit.h"

namespace {

using ShellDialog = DeviceTest;

const DWORD kModalFlags = 0x2D;   // Done, full screen, input panel down, empty bar
const DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

const RECT kWorkAboveBar = {0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - SIM_BAR_HEIGHT};

}  // namespace

TEST_F(ShellDialog, ModalDialogFillsTheWorkAreaAndDoneServesTheInnermost)
{
    std::vector<WORD> outerTemplate = DialogTemplate(kPopupStyle, L"Outer");
    std::vector<WORD> innerTemplate = DialogTemplate(kPopupStyle, L"Inner");
    DialogProbe outer, inner;
    outer.shellFlags = inner.shellFlags = kModalFlags;
    HWND bar = NULL;
    INT_PTR result = 0;
    bool ran = DriveModal([&] { result = RunProbeDialog(outerTemplate, NULL, &outer); }, [&](HWND outerDialog) {
        // Between the navigation bar, which shows the title, and its own empty soft-key
        // bar (their places on a turned screen are the rotation tests').
        EXPECT_EQ(kWorkAboveBar, WindowRect(outerDialog));
        bar = OwnedBar(outerDialog);
        EXPECT_TRUE(bar);
        EXPECT_EQ(0, ChildCount(bar));
        DriveModal([&] { RunProbeDialog(innerTemplate, outerDialog, &inner); }, [&](HWND) {
            EXPECT_EQ(L"Inner", WindowText(FindNavBar()));
            SendMessageW(FindDoneKey(), BM_CLICK, 0, 0);
            if (!inner.okCommands) EndDialog(inner.window, 0);
        });
        // Back in the outer dialog, Done is its own again.
        EXPECT_EQ(L"Outer", WindowText(FindNavBar()));
        EXPECT_TRUE(IsWindowVisible(FindDoneKey()));
        SendMessageW(FindDoneKey(), BM_CLICK, 0, 0);
        if (!outer.okCommands) EndDialog(outerDialog, 0);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, inner.okCommands);
    EXPECT_EQ(1, outer.okCommands);
    // The dialog's bar ended with it, and nothing asks for Done any more.
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(IsWindowVisible(FindDoneKey()));
    EXPECT_FALSE(SHInitDialog(NULL));
}
