// The Phone host's pages in the host: each tab's page, Done from inside a page, and
// every page turning with the screen to its own layout while keeping its state.
#include "phone_kit.h"

namespace {

struct PageCase {
    int tab;
    ShapeVariants variants;
    UINT box;     // a check box whose state must survive a turn
    UINT field;   // an edit field whose text must survive a turn
    UINT mark;    // a control that only this tab's page has
};

const PageCase kPages[] = {
    {TAB_SOUND_FOLDERS, {IDD_SOUND_FOLDERS_PAGE, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE},
     IDC_SF_RING_STORE, IDC_SF_RING_FOLDER, IDC_SF_INCALL_FOLDER},
    {TAB_PHONE_SOUNDS, {IDD_PHONE_SOUNDS_PAGE, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE},
     IDC_PS_RECORD_END, IDC_PS_HISTORY_COUNT, IDC_PS_HISTORY_OK},
    {TAB_CALL_SOUNDS, {IDD_CALL_SOUNDS_PAGE, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE},
     IDC_CS_RING, IDC_CS_RING_SOUND, IDC_CS_RING_BROWSE},
    {TAB_PHONE_APPEARANCE,
     {IDD_PHONE_APPEARANCE_PAGE, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE, IDD_PHONE_APPEARANCE_PAGE_SQUARE},
     IDC_PA_GSM_LED_OFF, 0, IDC_PA_BT_LED_OFF},
};

class PhoneHostPagesTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneHostPagesTest, EveryPageTakesEachShapesLayoutKeepsItsStateAndClosesTheHostOnDone)
{
    for (const PageCase &p : kPages) {
        SCOPED_TRACE(p.tab);
        bool ticked = false;
        CheckVariantPerShape(
            RunPhonePage, p.tab, p.variants,
            [&](HWND page) {
                Tap(page, p.box);
                ticked = IsTicked(page, p.box);
                if (p.field) SetField(page, p.field, L"kept across turns");
            },
            [&](HWND page) {
                EXPECT_EQ(ticked, IsTicked(page, p.box));
                if (p.field) {
                    EXPECT_EQ(L"kept across turns", FieldText(page, p.field));
                }
            });
        ExpectDoneInsideClosesHost(RunPhonePage, p.tab,
                                   [&](HWND page) { EXPECT_TRUE(GetDlgItem(page, p.mark) != NULL); });
    }
}
