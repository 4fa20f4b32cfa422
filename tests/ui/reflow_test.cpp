// The relayout on real dialogs: moving to another variant with controls missing or
// made anew, redrawing, list and combo selections, and static images. Choosing the
// variant for each screen shape is the layout test's; the controls' state kept through
// a turn is each dialog's own test.
#include <string>
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"
#include "tests/ui/reflow_test_ids.h"
#include "ui/reflow.h"

namespace {

// The test form, modeless in its portrait variant, destroyed with the test.
struct Form {
    HWND dialog = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_FORM_PORTRAIT), NULL,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ~Form() { DestroyWindow(dialog); }
    bool Reflow(UINT templateId) { return ReflowDialogFromTemplate(g_hInstance, dialog, templateId) != FALSE; }
    HWND operator[](int id) const { return GetDlgItem(dialog, id); }
};

bool LineVisible(HWND list, int index)
{
    RECT client, line;
    GetClientRect(list, &client);
    return SendMessageW(list, LB_GETITEMRECT, index, (LPARAM)&line) != LB_ERR && line.top >= 0 &&
           line.bottom <= client.bottom;
}

}  // namespace

// A control the template names but the dialog lacks fails the relayout while the
// others move. A dialog turning again takes its controls from the last relayout's
// lookup: a control made anew in between, or another dialog with the same ids, must
// still be found.
TEST(Reflow, MissingControlsFailWhileTheOthersMoveAndRememberedOnesAreCheckedFirst)
{
    Form form, other;
    ASSERT_TRUE(form.dialog && other.dialog);
    ASSERT_TRUE(form.Reflow(IDD_FORM_LANDSCAPE));
    DestroyWindow(form[IDC_FORM_EDIT]);
    DestroyWindow(form[IDC_FORM_LABEL]);
    ASSERT_TRUE(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, form.dialog,
                                (HMENU)(INT_PTR)IDC_FORM_EDIT, g_hInstance, NULL));
    EXPECT_FALSE(form.Reflow(IDD_FORM_SQUARE));
    EXPECT_TRUE(LaidOutLike(form.dialog, IDD_FORM_SQUARE, true));

    EXPECT_TRUE(other.Reflow(IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(other.dialog, IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(form.dialog, IDD_FORM_SQUARE, true)) << "the first dialog was moved";
    EXPECT_FALSE(form.Reflow(IDD_FORM_PORTRAIT));
    EXPECT_TRUE(LaidOutLike(form.dialog, IDD_FORM_PORTRAIT, true));
}

// The moves themselves draw nothing: a shown dialog has every control and itself
// redrawn once they are in place. Lists and combo boxes keep their selection, brought
// into view at the new size. Statics take the variant's styles and images, the replaced
// bitmap freed; images that do not load leave the shown ones. One unnamed static is no
// failure.
TEST(Reflow, AShownDialogIsRedrawnKeepsItsSelectionsInViewAndTakesTheVariantsImages)
{
    Form form;
    ASSERT_TRUE(form.dialog);
    HWND list = form[IDC_FORM_LIST], combo = form[IDC_FORM_COMBO], label = form[IDC_FORM_LABEL];
    for (int k = 0; k < 40; ++k) SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)std::to_wstring(k).c_str());
    for (const wchar_t *c : {L"Red", L"Green", L"Blue", L"Yellow"}) SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)c);
    SendMessageW(list, LB_SETCURSEL, 30, 0);
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMessageW(combo, CB_SETCURSEL, 3, 0);
    ASSERT_FALSE(LineVisible(list, 30));
    LRESULT programIcon = (LRESULT)LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_RUDORE));
    HBITMAP battery = (HBITMAP)SendMessageW(form[IDC_FORM_BITMAP], STM_GETIMAGE, IMAGE_BITMAP, 0);
    ASSERT_TRUE(programIcon && battery);
    ShowWindow(form.dialog, SW_SHOWNA);
    UpdateWindow(form.dialog);
    PumpMessages(50);
    RedrawWindow(form.dialog, NULL, NULL, RDW_VALIDATE | RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOFRAME);
    ASSERT_FALSE(GetUpdateRect(form.dialog, NULL, FALSE));

    EXPECT_TRUE(form.Reflow(IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(form.dialog, IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(GetUpdateRect(form.dialog, NULL, FALSE)) << "the dialog is not redrawn";
    for (int id : {IDC_FORM_EDIT, IDC_FORM_LIST, IDC_FORM_COMBO, IDC_FORM_LABEL})
        EXPECT_TRUE(GetUpdateRect(form[id], NULL, FALSE)) << "control " << id << " is not redrawn";
    EXPECT_EQ(30, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(LineVisible(list, 30)) << "top " << SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_EQ(L"Yellow", WindowText(combo));
    EXPECT_EQ(programIcon, SendMessageW(form[IDC_FORM_ICON], STM_GETIMAGE, IMAGE_ICON, 0));
    HBITMAP splash = (HBITMAP)SendMessageW(form[IDC_FORM_BITMAP], STM_GETIMAGE, IMAGE_BITMAP, 0);
    BITMAP info;
    ASSERT_EQ((int)sizeof info, GetObjectW(splash, sizeof info, &info));
    EXPECT_EQ(640, info.bmWidth);
    EXPECT_EQ(0u, GetObjectType(battery)) << "the replaced bitmap was not deleted";
    EXPECT_EQ((LONG)SS_RIGHT, GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK);
    EXPECT_TRUE(GetWindowLongW(label, GWL_EXSTYLE) & WS_EX_STATICEDGE);

    EXPECT_TRUE(form.Reflow(IDD_FORM_SQUARE));
    EXPECT_TRUE(LaidOutLike(form.dialog, IDD_FORM_SQUARE));
    EXPECT_EQ(programIcon, SendMessageW(form[IDC_FORM_ICON], STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ((LRESULT)splash, SendMessageW(form[IDC_FORM_BITMAP], STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ((int)sizeof info, GetObjectW(splash, sizeof info, &info));
    EXPECT_EQ((LONG)SS_LEFT, GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK);
}

// Taller than wide is portrait, wider than tall landscape, as wide as tall square: on
// the device's three screens and a pixel either side of the square.
TEST(Reflow, TheVariantFollowsTheScreensShape)
{
    SimTestBegin(SIM_TEST_ALL);
    const struct { int cx, cy; UINT variant; } screens[] = {
        {480, 640, 1}, {640, 480, 2}, {480, 480, 3}, {480, 481, 1}, {481, 480, 2}};
    for (const auto &s : screens) {
        if (!SetScreenSize(s.cx, s.cy)) continue;   // a size the display does not offer
        EXPECT_EQ(s.variant, ChooseLayoutVariant(1, 2, 3)) << s.cx << "x" << s.cy;
    }
    ASSERT_TRUE(SimRotate(SIM_SQUARE));
    EXPECT_EQ(3u, ChooseLayoutVariant(1, 2, 3));
    SimTestEnd();
}
