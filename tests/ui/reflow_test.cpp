// The relayout on real dialogs: moving to another variant, controls that are
// missing or unnamed, list and combo selections, static images and damaged templates.
// Choosing the variant for each screen shape is the layout test's; the controls' state
// kept through a turn is each dialog's own test.
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "app/rudore.h"
#include "testkit.h"
#include "tests/ui/reflow_test_ids.h"
#include "tests/ui/guarded_bytes.h"
#include "ui/reflow.h"
#include "resource.h"

namespace {

const int kFormControls[] = {IDC_FORM_CHECK1, IDC_FORM_CHECK2, IDC_FORM_EDIT,
                             IDC_FORM_LIST,   IDC_FORM_COMBO,  IDC_FORM_LABEL};

INT_PTR CALLBACK ReferenceDialogProc(HWND, UINT, WPARAM, LPARAM)
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
    return OpenDialog(CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(templateId), NULL, ReferenceDialogProc, 0));
}

bool PlacedAt(HWND dialog, HWND control, int x, int y, int cx, int cy)
{
    RECT expected = {x, y, x + cx, y + cy}, actual;
    MapDialogRect(dialog, &expected);
    GetWindowRect(control, &actual);
    MapWindowPoints(HWND_DESKTOP, dialog, (POINT *)&actual, 2);
    return EqualRect(&expected, &actual) != FALSE;
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
    OpenDialog form = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(form);
    ASSERT_TRUE(ReflowDialogFromTemplate(g_hInstance, form.get(), IDD_FORM_LANDSCAPE));
    DestroyWindow(GetDlgItem(form.get(), IDC_FORM_EDIT));
    DestroyWindow(GetDlgItem(form.get(), IDC_FORM_LABEL));
    HWND remade = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, form.get(),
                                  (HMENU)(INT_PTR)IDC_FORM_EDIT, g_hInstance, NULL);
    ASSERT_TRUE(remade != NULL);
    EXPECT_FALSE(ReflowDialogFromTemplate(g_hInstance, form.get(), IDD_FORM_SQUARE));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_SQUARE, true));

    OpenDialog other = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(other);
    EXPECT_TRUE(ReflowDialogFromTemplate(g_hInstance, other.get(), IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(other.get(), IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_SQUARE, true)) << "the first dialog was moved";
    EXPECT_FALSE(ReflowDialogFromTemplate(g_hInstance, form.get(), IDD_FORM_PORTRAIT));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_PORTRAIT, true));
    // A template that does not exist moves nothing.
    EXPECT_FALSE(ReflowDialogFromTemplate(g_hInstance, form.get(), 4999));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_PORTRAIT, true));
}

// The moves themselves draw nothing: a shown dialog has every control and itself
// redrawn once they are in place.
TEST(Reflow, AShownDialogIsRedrawnAfterItsControlsMove)
{
    OpenDialog form = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(form);
    ShowWindow(form.get(), SW_SHOWNA);
    UpdateWindow(form.get());
    PumpMessages(50);
    RedrawWindow(form.get(), NULL, NULL, RDW_VALIDATE | RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOFRAME);
    ASSERT_FALSE(GetUpdateRect(form.get(), NULL, FALSE));
    EXPECT_TRUE(ReflowDialogFromTemplate(g_hInstance, form.get(), IDD_FORM_LANDSCAPE));
    EXPECT_TRUE(GetUpdateRect(form.get(), NULL, FALSE)) << "the dialog is not redrawn";
    for (int id : kFormControls)
        EXPECT_TRUE(GetUpdateRect(GetDlgItem(form.get(), id), NULL, FALSE)) << "control " << id << " is not redrawn";
}

TEST(Reflow, TwoUnnamedControlsFailAndBothRecordsMoveTheFirst)
{
    OpenDialog two = Open(IDD_UNNAMED_TWO);
    ASSERT_TRUE(two);
    HWND first = GetDlgItem(two.get(), 0xFFFF);
    HWND second = GetWindow(first, GW_HWNDNEXT);
    ASSERT_EQ(0xFFFF, GetDlgCtrlID(second));
    EXPECT_FALSE(ReflowDialogFromTemplate(g_hInstance, two.get(), IDD_UNNAMED_TWO_MOVED));
    // The later record was applied to the first static last; the second stays.
    EXPECT_TRUE(PlacedAt(two.get(), first, 100, 50, 70, 12));
    EXPECT_TRUE(PlacedAt(two.get(), second, 4, 20, 60, 10));
}

TEST(Reflow, ListAndComboSelectionsAreKeptAndBroughtIntoView)
{
    OpenDialog form = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(form);
    HWND list = GetDlgItem(form.get(), IDC_FORM_LIST);
    HWND combo = GetDlgItem(form.get(), IDC_FORM_COMBO);
    for (int k = 0; k < 40; ++k) SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)std::to_wstring(k).c_str());
    for (const wchar_t *c : {L"Red", L"Green", L"Blue", L"Yellow"}) SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)c);
    SendMessageW(list, LB_SETCURSEL, 30, 0);
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMessageW(combo, CB_SETCURSEL, 3, 0);
    ASSERT_FALSE(LineVisible(list, 30));
    EXPECT_TRUE(ReflowDialogFromTemplate(g_hInstance, form.get(), IDD_FORM_LANDSCAPE));
    EXPECT_EQ(30, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(LineVisible(list, 30)) << "top " << SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_EQ(L"Yellow", WindowText(combo));
    // Without a selection the list keeps its scroll position and stays unselected.
    SendMessageW(list, LB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageW(list, LB_SETTOPINDEX, 7, 0);
    SendMessageW(combo, CB_SETCURSEL, (WPARAM)-1, 0);
    EXPECT_TRUE(ReflowDialogFromTemplate(g_hInstance, form.get(), IDD_FORM_SQUARE));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(7, SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

TEST(Reflow, StaticImagesComeFromTheVariantAndStayWhenTheyCannotLoad)
{
    OpenDialog images = Open(IDD_IMAGES);
    ASSERT_TRUE(images);
    HWND icon = GetDlgItem(images.get(), IDC_IMAGE_ICON);
    HWND bitmap = GetDlgItem(images.get(), IDC_IMAGE_BITMAP);
    HWND text = GetDlgItem(images.get(), IDC_IMAGE_TEXT);
    LRESULT programIcon = (LRESULT)LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_RUDORE));
    HBITMAP battery = (HBITMAP)SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0);
    ASSERT_TRUE(programIcon && battery);

    // One unnamed static is no failure.
    EXPECT_TRUE(ReflowDialogFromTemplate(g_hInstance, images.get(), IDD_IMAGES_OTHER));
    EXPECT_TRUE(PlacedAt(images.get(), GetDlgItem(images.get(), 0xFFFF), 120, 40, 60, 10));
    EXPECT_EQ(programIcon, SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
    HBITMAP splash = (HBITMAP)SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0);
    BITMAP info;
    ASSERT_EQ((int)sizeof info, GetObjectW(splash, sizeof info, &info));
    EXPECT_EQ(640, info.bmWidth);
    EXPECT_EQ(0u, GetObjectType(battery)) << "the replaced bitmap was not deleted";
    // Statics take the variant's styles.
    EXPECT_EQ((LONG)SS_RIGHT, GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK);
    EXPECT_TRUE(GetWindowLongW(text, GWL_EXSTYLE) & WS_EX_STATICEDGE);

    // Images that do not load leave the shown ones in place; the move still counts.
    EXPECT_TRUE(ReflowDialogFromTemplate(g_hInstance, images.get(), IDD_IMAGES_MISSING));
    EXPECT_TRUE(LaidOutLike(images.get(), IDD_IMAGES_MISSING));
    EXPECT_EQ(programIcon, SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ((LRESULT)splash, SendMessageW(bitmap, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ((int)sizeof info, GetObjectW(splash, sizeof info, &info));
    EXPECT_EQ((LONG)SS_LEFT, GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK);
}

TEST(Reflow, DamagedTemplatesMoveWhatTheyCanAndFail)
{
    OpenDialog form = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(form);
    std::vector<uint8_t> landscape = DialogResourceBytes(g_hInstance, IDD_FORM_LANDSCAPE);
    // Where each control is now, and where a whole relayout to landscape puts it.
    OpenDialog reference = Open(IDD_FORM_PORTRAIT);
    ASSERT_TRUE(reference && ReflowDialogFromTemplate(g_hInstance, reference.get(), IDD_FORM_LANDSCAPE));
    std::map<int, RECT> portraitAt, landscapeAt;
    for (int id : kFormControls) {
        portraitAt[id] = ControlRect(form.get(), id);
        landscapeAt[id] = ControlRect(reference.get(), id);
    }
    std::vector<std::pair<int, size_t>> ends;   // where each record ends
    TemplateWalk walk;
    ASSERT_TRUE(TemplateWalkBegin(&walk, landscape.data(), landscape.size(), NULL));
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) ends.push_back(std::make_pair((int)item.id, item.end));
    ASSERT_EQ(6u, ends.size());

    // Cut inside the fourth record: the three before it move, the others stay.
    GuardedBytes cut(landscape.data(), ends[2].second + 6);
    EXPECT_FALSE(ReflowDialogFromMemory(g_hInstance, form.get(), cut.data(), (DWORD)cut.size()));
    for (size_t k = 0; k < ends.size(); k++) {
        RECT now = ControlRect(form.get(), ends[k].first);
        EXPECT_TRUE(EqualRect(k < 3 ? &landscapeAt[ends[k].first] : &portraitAt[ends[k].first], &now)) << ends[k].first;
    }

    // An item count past the records: every record present still moves.
    std::vector<uint8_t> overstated = landscape;
    overstated[8] = 0x30;
    overstated[9] = 0x75;
    EXPECT_FALSE(ReflowDialogFromMemory(g_hInstance, form.get(), overstated.data(), (DWORD)overstated.size()));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_LANDSCAPE));

    // The extended layout is refused before anything moves.
    std::vector<uint8_t> extended = DialogResourceBytes(g_hInstance, IDD_FORM_SQUARE);
    extended[0] = 1;
    extended[1] = 0;
    extended[2] = extended[3] = 0xFF;
    EXPECT_FALSE(ReflowDialogFromMemory(g_hInstance, form.get(), extended.data(), (DWORD)extended.size()));
    EXPECT_TRUE(LaidOutLike(form.get(), IDD_FORM_LANDSCAPE));
    EXPECT_FALSE(ReflowDialogFromMemory(g_hInstance, form.get(), NULL, 100));
}
