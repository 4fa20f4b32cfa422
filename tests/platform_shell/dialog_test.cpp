#include "shell_testkit.h"
#include "resource.h"

namespace {

class ShellDialog : public DeviceTest {};

const DWORD kModalFlags = 0x2D;   // Done, full screen, input panel down, empty bar
const DWORD kPageFlags = 0x0D;    // Done, full screen, input panel down
const DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

const RECT kWorkAboveBar = {0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY - SIM_BAR_HEIGHT};
const RECT kWorkArea = {0, SIM_BAR_HEIGHT, SIM_PORTRAIT_CX, SIM_PORTRAIT_CY};

}  // namespace

TEST_F(ShellDialog, ModalDialogFillsTheWorkAreaAndDoneSendsOk)
{
    const std::vector<WORD> dialogTemplate = DialogTemplate(kPopupStyle, L"Probe");
    DialogProbe probe;
    probe.shellFlags = kModalFlags;
    HWND bar = NULL;
    INT_PTR result = 0;
    bool ran = DriveModal([&] { result = RunProbeDialog(dialogTemplate, NULL, &probe); },
                          [&](HWND dialog) {
        EXPECT_EQ(probe.window, dialog);
        // Sized between the navigation bar and its own empty soft-key bar (their places
        // are the rotation tests'), with no caption of its own: the navigation bar
        // shows the title.
        EXPECT_EQ(kWorkAboveBar, WindowRect(dialog));
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(SIM_PORTRAIT_CX, client.right);
        EXPECT_EQ(SIM_PORTRAIT_CY - 2 * SIM_BAR_HEIGHT, client.bottom);
        bar = OwnedBar(dialog);
        EXPECT_TRUE(bar);
        EXPECT_EQ(0, ChildCount(bar));
        EXPECT_EQ(L"Probe", WindowText(FindNavBar()));
        HWND done = FindDoneKey();
        ASSERT_TRUE(done);
        EXPECT_TRUE(IsWindowVisible(done));
        SendMessageW(done, BM_CLICK, 0, 0);
    });
    if (IsWindow(probe.window)) EndDialog(probe.window, 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, probe.okCommands);
    EXPECT_EQ(0, probe.okLParam);
    // The dialog's bar ended with it, and nothing asks for Done any more.
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(IsWindowVisible(FindDoneKey()));
}

TEST_F(ShellDialog, DoneServesTheInnermostDialog)
{
    std::vector<WORD> outerTemplate = DialogTemplate(kPopupStyle, L"Outer");
    std::vector<WORD> innerTemplate = DialogTemplate(kPopupStyle, L"Inner");
    DialogProbe outer, inner;
    outer.shellFlags = inner.shellFlags = kModalFlags;
    bool innerRan = false;
    DriveModal([&] { RunProbeDialog(outerTemplate, NULL, &outer); }, [&](HWND outerDialog) {
        innerRan = DriveModal([&] { RunProbeDialog(innerTemplate, outerDialog, &inner); }, [&](HWND) {
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
    EXPECT_TRUE(innerRan);
    EXPECT_EQ(1, inner.okCommands);
    EXPECT_EQ(1, outer.okCommands);
}

TEST_F(ShellDialog, DialogWithoutEmptyBarReachesTheBottomUntilItGetsABar)
{
    DialogProbe probe;
    probe.shellFlags = kPageFlags;
    probe.endOnOk = false;
    HWND dialog = CreateProbeDialog(DialogTemplate(kPopupStyle | WS_VISIBLE, L"Browse"), NULL, &probe);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(kWorkArea, WindowRect(dialog));
    EXPECT_FALSE(OwnedBar(dialog));

    // Given a soft-key bar afterwards, it ends above the bar.
    HWND bar = NULL;
    ASSERT_TRUE(CreateBar(dialog, IDR_MAINMENU, 0, &bar));
    EXPECT_EQ(kWorkAboveBar, WindowRect(dialog));

    // The program's own call to show Done is no change; Done then still sends IDOK.
    EXPECT_TRUE(SHDoneButton(dialog, SHDB_SHOW));
    SendMessageW(FindDoneKey(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, probe.okCommands);
    EXPECT_FALSE(SHDoneButton(dialog, 7));
    EXPECT_FALSE(SHDoneButton(NULL, SHDB_SHOW));
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(bar));

}

TEST_F(ShellDialog, ChildDialogIsLeftToItsHost)
{
    // A host with Done, and a page inside it initialised as pages are.
    std::vector<WORD> hostTemplate = DialogTemplate(kPopupStyle | WS_VISIBLE, L"Host");
    std::vector<WORD> pageTemplate = DialogTemplate(WS_CHILD | WS_VISIBLE, L"", 4, 6, 100, 50);
    DialogProbe host, page;
    host.shellFlags = kModalFlags;
    host.endOnOk = false;
    page.shellFlags = kPageFlags;
    page.endOnOk = false;
    HWND hostDialog = CreateProbeDialog(hostTemplate, NULL, &host);
    ASSERT_TRUE(hostDialog);
    HWND pageDialog = CreateProbeDialog(pageTemplate, hostDialog, &page);
    ASSERT_TRUE(pageDialog);

    // The page keeps the place and size its template gives it.
    RECT expected = {4, 6, 104, 56};
    MapDialogRect(pageDialog, &expected);
    POINT origin = {0, 0};
    ClientToScreen(hostDialog, &origin);
    OffsetRect(&expected, origin.x, origin.y);
    EXPECT_EQ(expected, WindowRect(pageDialog));

    // Done still belongs to the host: the page gets no IDOK of its own.
    EXPECT_EQ(L"Host", WindowText(FindNavBar()));
    SendMessageW(FindDoneKey(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, host.okCommands);
    EXPECT_EQ(0, page.okCommands);
    DestroyWindow(hostDialog);
}

TEST_F(ShellDialog, BadRecordsAreRefused)
{
    EXPECT_FALSE(SHInitDialog(NULL));
    SHINITDLGINFO info = {SHIDIM_FLAGS, (HWND)(ULONG_PTR)0x7FFFFF0, kModalFlags};
    EXPECT_FALSE(SHInitDialog(&info));

    // Without the flags mask the flags are not looked at.
    std::vector<WORD> dialogTemplate = DialogTemplate(WS_POPUP | WS_VISIBLE, L"Unmasked", 10, 10, 60, 40);
    DialogProbe probe;
    HWND dialog = CreateProbeDialog(dialogTemplate, NULL, &probe);
    RECT before = WindowRect(dialog);
    SHINITDLGINFO unmasked = {0, dialog, kModalFlags};
    EXPECT_TRUE(SHInitDialog(&unmasked));
    EXPECT_EQ(before, WindowRect(dialog));
    EXPECT_FALSE(OwnedBar(dialog));
    DestroyWindow(dialog);
}
