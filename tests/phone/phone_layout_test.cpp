// The Phone host's pages in the host: each tab's page, Done from inside a page, and
// every page turning with the screen to its own layout while keeping its state.
#include "phone_kit.h"

namespace {

struct PageLayouts {
    int tab;
    UINT portrait, landscape, square;
    UINT box;     // a check box whose state must survive a turn
    UINT field;   // an edit field whose text must survive a turn
};

const PageLayouts kPages[] = {
    {TAB_SOUND_FOLDERS, IDD_SOUND_FOLDERS_PAGE, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE,
     IDC_SF_RING_STORE, IDC_SF_RING_FOLDER},
    {TAB_PHONE_SOUNDS, IDD_PHONE_SOUNDS_PAGE, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE,
     IDC_PS_RECORD_END, IDC_PS_HISTORY_COUNT},
    {TAB_CALL_SOUNDS, IDD_CALL_SOUNDS_PAGE, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE,
     IDC_CS_RING, IDC_CS_RING_SOUND},
    {TAB_PHONE_APPEARANCE, IDD_PHONE_APPEARANCE_PAGE, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE,
     IDD_PHONE_APPEARANCE_PAGE_SQUARE, IDC_PA_GSM_LED_OFF, 0},
};

class PhoneHostPagesTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneHostPagesTest, EachTabShowsItsPageAndDoneInsideAPageClosesTheHost)
{
    const UINT someControl[] = {IDC_SF_INCALL_FOLDER, IDC_PS_HISTORY_OK, IDC_CS_RING_BROWSE, IDC_PA_BT_LED_OFF};
    for (const PageLayouts &p : kPages) {
        SCOPED_TRACE(p.tab);
        ExpectDoneInsideClosesHost(RunPhonePage, p.tab, [&](HWND page) {
            EXPECT_TRUE(GetDlgItem(page, someControl[p.tab]) != NULL);
        });
    }
}

TEST_F(PhoneHostPagesTest, EveryPageTakesEachShapesLayoutAndKeepsItsState)
{
    for (const PageLayouts &p : kPages) {
        SCOPED_TRACE(p.tab);
        RunPhonePage(p.tab, [&](HWND page) {
            EXPECT_TRUE(LaidOutLike(page, p.portrait));
            Tap(page, p.box);
            bool ticked = IsTicked(page, p.box);
            if (p.field) SetField(page, p.field, L"kept across turns");
            const struct {
                int shape;
                UINT layout;
            } turns[] = {{SIM_LANDSCAPE, p.landscape}, {SIM_SQUARE, p.square}};
            for (const auto &t : turns) {
                ScreenTurn turn(t.shape);
                ASSERT_TRUE(turn.turned());
                EXPECT_TRUE(LaidOutLike(page, t.layout)) << "shape " << t.shape;
                EXPECT_EQ(ticked, IsTicked(page, p.box));
                if (p.field) EXPECT_EQ(L"kept across turns", FieldText(page, p.field));
            }
            EXPECT_TRUE(LaidOutLike(page, p.portrait));
            EXPECT_EQ(ticked, IsTicked(page, p.box));
        });
    }
}

TEST_F(PhoneHostPagesTest, APageMadeOnATurnedScreenStartsInThatShapesLayout)
{
    const struct {
        int shape;
        bool landscape;
    } shapes[] = {{SIM_LANDSCAPE, true}, {SIM_SQUARE, false}};
    for (const auto &s : shapes) {
        ScreenTurn turn(s.shape);
        ASSERT_TRUE(turn.turned());
        for (const PageLayouts &p : kPages) {
            SCOPED_TRACE(p.tab);
            RunPhonePage(p.tab, [&](HWND page) { EXPECT_TRUE(LaidOutLike(page, s.landscape ? p.landscape : p.square)); });
        }
    }
}

TEST_F(PhoneHostPagesTest, TheCallSoundsPageKeepsItsOwnLabelsOnASquareScreen)
{
    ScreenTurn turn(SIM_SQUARE);
    ASSERT_TRUE(turn.turned());
    RunPhonePage(TAB_CALL_SOUNDS, [](HWND page) {
        EXPECT_EQ(L"Call busy sound", FieldText(page, IDC_CS_BUSY));
        EXPECT_EQ(L"Call dropped sound", FieldText(page, IDC_CS_DROPPED));
        EXPECT_EQ(L"Call waiting sound", FieldText(page, IDC_CS_WAITING));
        EXPECT_EQ(L"Dialing sound", FieldText(page, IDC_CS_DIALING));
        EXPECT_EQ(L"Ringtone", FieldText(page, IDC_CS_RING));
    });
}
