// The Phone host's pages in the host: each tab's page, Done from inside a page, and
// every page turning with the screen to its own layout.
#include "phone_kit.h"

namespace {

struct PageCase {
    int tab;
    ShapeVariants variants;
    UINT mark;   // a control that only this tab's page has
};

const PageCase kPages[] = {
    {TAB_SOUND_FOLDERS, {IDD_SOUND_FOLDERS_PAGE, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE},
     IDC_SF_INCALL_FOLDER},
    {TAB_PHONE_SOUNDS, {IDD_PHONE_SOUNDS_PAGE, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE},
     IDC_PS_HISTORY_OK},
    {TAB_CALL_SOUNDS, {IDD_CALL_SOUNDS_PAGE, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE},
     IDC_CS_RING_BROWSE},
    {TAB_PHONE_APPEARANCE,
     {IDD_PHONE_APPEARANCE_PAGE, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE, IDD_PHONE_APPEARANCE_PAGE_SQUARE},
     IDC_PA_BT_LED_OFF},
};

class PhoneHostPagesTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneHostPagesTest, EveryPageTakesEachShapesLayoutAndClosesTheHostOnDone)
{
    for (const PageCase &p : kPages) {
        SCOPED_TRACE(p.tab);
        // What the user changed is kept through the turns (checked on one page).
        bool first = p.tab == TAB_SOUND_FOLDERS;
        CheckVariantPerShape(
            RunPhonePage, p.tab, p.variants,
            [&](HWND page) { if (first) SetField(page, IDC_SF_RING_FOLDER, L"kept"); },
            [&](HWND page) {
                if (first) {
                    EXPECT_EQ(L"kept", FieldText(page, IDC_SF_RING_FOLDER));
                }
            });
        ExpectDoneInsideClosesHost(RunPhonePage, p.tab,
                                   [&](HWND page) { EXPECT_TRUE(GetDlgItem(page, p.mark) != NULL); });
    }
}
