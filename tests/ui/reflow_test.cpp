// The relayout on real dialogs: moving to another variant with controls missing or
// made anew, redrawing, list and combo selections, and static images. Choosing the
// variant for each screen shape is the layout test's; the controls' state kept through
// a turn is each dialog's own test.
#include <memory>
#include <string>
#include "app/rudore.h"
#include "resource.h"
#include "testkit.h"
#include "tests/ui/reflow_test_ids.h"
#include "ui/reflow.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// A modeless dialog, destroyed with the test.
struct DialogCloser {
    void operator()(HWND__ *dialog) const { DestroyWindow(dialog); }
};
typedef std::unique_ptr<HWND__, DialogCloser> OpenDialog;

OpenDialog Open(UINT templateId)
{
    return OpenDialog(CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(templateId), NULL, PlainDialogProc, 0));
}

bool Reflow(const OpenDialog &dialog, UINT templateId)
{
    return ReflowDialogFromTemplate(g_hInstance, dialog.get(), templateId) != FALSE;
}

bool LineVisible(HWND list, int index)
{
    RECT client;
    GetClientRect(list, &client);
    int top = (int)SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    int height = (int)SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    return height > 0 && index >= top && index < top + client.bottom / height;
}

}  // namespace

// A control the template names but the dialog lacks fails the relayout while the
// others move. A dialog turning again takes its controls from the last relayout's
// lookup: a control made anew in between, or another dialog with the same ids, must
// still be found.
TEST(Reflow, MissingControlsFailWhileTheOthersMoveAndRememberedOnesAreCheckedFirst)
{
    OpenDialog form = Open(IDD_FORM_PORTRAIT), other = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(form && other);
    ASSERT_TRUE(Reflow(form, IDD_FORM_LANDSCAPE));
    DestroyWindow(GetDlgItem(form.get(), IDC_FORM_EDIT));
    DestroyWindow(GetDlgItem(form.get(), IDC_FORM_LABEL));
    ASSERT_TRUE(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, form.get(),
                                (HMENU)(INT_PTR)IDC_FORM_EDIT, g_hInstance, NULL));
    EXPECT_FALSE(Reflow(form, IDD_FORM_SQUARE));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_SQUARE, true));

    EXPECT_TRUE(Reflow(other, IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(other.get(), IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_SQUARE, true)) << "the first dialog was moved";
    EXPECT_FALSE(Reflow(form, IDD_FORM_PORTRAIT));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_PORTRAIT, true));
    // A template that does not exist moves nothing.
    EXPECT_FALSE(Reflow(form, 4999));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_PORTRAIT, true));
}

// The moves themselves draw nothing: a shown dialog has every control and itself
// redrawn once they are in place. Lists and combo boxes keep their selection, brought
// into view at the new size.
TEST(Reflow, AShownDialogIsRedrawnAndSelectionsAreKeptInView)
{
    OpenDialog form = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(form);
    HWND list = GetDlgItem(form.get(), IDC_FORM_LIST), combo = GetDlgItem(form.get(), IDC_FORM_COMBO);
    for (int k = 0; k < 40; ++k) SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)std::to_wstring(k).c_str());
    for (const wchar_t *c : {L"Red", L"Green", L"Blue", L"Yellow"}) SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)c);
    SendMessageW(list, LB_SETCURSEL, 30, 0);
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMessageW(combo, CB_SETCURSEL, 3, 0);
    ASSERT_FALSE(LineVisible(list, 30));
    ShowWindow(form.get(), SW_SHOWNA);
    UpdateWindow(form.get());
    PumpMessages(50);
    RedrawWindow(form.get(), NULL, NULL, RDW_VALIDATE | RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOFRAME);
    ASSERT_FALSE(GetUpdateRect(form.get(), NULL, FALSE));

    EXPECT_TRUE(Reflow(form, IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(GetUpdateRect(form.get(), NULL, FALSE)) << "the dialog is not redrawn";
    for (int id : {IDC_FORM_CHECK, IDC_FORM_EDIT, IDC_FORM_LIST, IDC_FORM_COMBO, IDC_FORM_LABEL})
        EXPECT_TRUE(GetUpdateRect(GetDlgItem(form.get(), id), NULL, FALSE)) << "control " << id << " is not redrawn";
    EXPECT_EQ(30, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(LineVisible(list, 30)) << "top " << SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_EQ(L"Yellow", WindowText(combo));

    // Without a selection the list keeps its scroll position and stays unselected.
    SendMessageW(list, LB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageW(list, LB_SETTOPINDEX, 7, 0);
    SendMessageW(combo, CB_SETCURSEL, (WPARAM)-1, 0);
    EXPECT_TRUE(Reflow(form, IDD_FORM_SQUARE));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(7, SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

TEST(Reflow, StaticImagesComeFromTheVariantAndStayWhenTheyCannotLoad)
{
    OpenDialog images = Open(IDD_IMAGES);
    ASSERT_TRUE(images);
    HWND icon = GetDlgItem(images.get(), IDC_IMAGE_ICON), bitmap = GetDlgItem(images.get(), IDC_IMAGE_BITMAP);
    HWND text = GetDlgItem(images.get(), IDC_IMAGE_TEXT);
    LRESULT programIcon = (LRESULT)LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_RUDORE));
    HBITMAP battery = (HBITMAP)SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0);
    ASSERT_TRUE(programIcon && battery);

    // One unnamed static is no failure. Statics take the variant's images and styles.
    EXPECT_TRUE(Reflow(images, IDD_IMAGES_OTHER));
    EXPECT_TRUE(LaidOutLike(images.get(), IDD_IMAGES_OTHER));
    RECT unnamed = {120, 40, 180, 50}, now = ControlRect(images.get(), 0xFFFF);
    MapDialogRect(images.get(), &unnamed);
    EXPECT_TRUE(EqualRect(&unnamed, &now)) << "the unnamed static stayed";
    EXPECT_EQ(programIcon, SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
    HBITMAP splash = (HBITMAP)SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0);
    BITMAP info;
    ASSERT_EQ((int)sizeof info, GetObjectW(splash, sizeof info, &info));
    EXPECT_EQ(640, info.bmWidth);
    EXPECT_EQ(0u, GetObjectType(battery)) << "the replaced bitmap was not deleted";
    EXPECT_EQ((LONG)SS_RIGHT, GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK);
    EXPECT_TRUE(GetWindowLongW(text, GWL_EXSTYLE) & WS_EX_STATICEDGE);

    // Images that do not load leave the shown ones in place; the move still counts.
    EXPECT_TRUE(Reflow(images, IDD_IMAGES_MISSING));
    EXPECT_TRUE(LaidOutLike(images.get(), IDD_IMAGES_MISSING));
    EXPECT_EQ(programIcon, SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ((LRESULT)splash, SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ((int)sizeof info, GetObjectW(splash, sizeof info, &info));
    EXPECT_EQ((LONG)SS_LEFT, GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK);
}
