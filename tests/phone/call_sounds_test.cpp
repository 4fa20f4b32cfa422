// The call sounds page ("sounds3"): a sound file per call event, taken only from the
// folder of its sound category and stored by its bare name.
#include "phone_kit.h"

namespace {

const wchar_t kBusy[] = L"ControlPanel\\Sounds\\BusyTone";
const wchar_t kDrop[] = L"ControlPanel\\Sounds\\CallDrop";
const wchar_t kNotInCall[] = L"The file you selected must in the Phone-Related Sound Folder";

struct Event {
    UINT box, field, browse;
    const wchar_t *soundKey;
    const wchar_t *refusal;
    const wchar_t *factorySound;
    bool busy;   // a refused busy tone keeps the path it was given
};

// One event of each category; waiting is as dropped.
const Event kBusyTone = {IDC_CS_BUSY, IDC_CS_BUSY_SOUND, IDC_CS_BUSY_BROWSE, kBusy, kNotInCall, L"Busy.wav", true};
const Event kDropped = {IDC_CS_DROPPED, IDC_CS_DROPPED_SOUND, IDC_CS_DROPPED_BROWSE, kDrop, kNotInCall, L"CallDrop.wav", false};
const Event kDialing = {IDC_CS_DIALING, IDC_CS_DIALING_SOUND, IDC_CS_DIALING_BROWSE, L"ControlPanel\\Sounds\\Dialing",
                        L"The file you selected must in the In feed call back Sound Folder", L"Dialing.wav", false};
const Event kRinging = {IDC_CS_RING, IDC_CS_RING_SOUND, IDC_CS_RING_BROWSE, L"ControlPanel\\Sounds\\RingTone0",
                        L"The file you selected must in the In Ring Tone Folder", L"Ring1.wav", false};

std::wstring Sound(const wchar_t *key) { return RegTextOr(CU, key, L"Sound", L"<missing>"); }

// Ticks the box and tells whether the refusal was shown (and that it was the only box).
bool TickIsRefused(HWND page, const Event &e)
{
    int before = SimMessageBoxCount();
    Tap(page, e.box);
    if (MessageBoxesSince(before) == 0) return false;
    ExpectOneBox(before, page, L"Zelvo Rudore", MB_OK, e.refusal);
    return true;
}

class CallSoundsTest : public PhonePageTest {};

}  // namespace

TEST_F(CallSoundsTest, ABrowsedFileInItsCategoryFolderIsStoredByNameAndClearingNeverWrites)
{
    DeleteRegValue(CU, kBusy, L"Sound");
    RunPhonePage(TAB_CALL_SOUNDS, [](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_CS_BUSY_SOUND)) << "a missing sound shows an empty field";
        const Event &e = kDropped;
        EXPECT_EQ(e.factorySound, FieldText(page, e.field));
        EXPECT_TRUE(BrowseFrom(page, e.browse, L"\\Windows", [](HWND browser) {
            TapBrowserItem(browser, L"Alarm1.wav");
        }));
        EXPECT_EQ(L"\\Windows\\Alarm1.wav", FieldText(page, e.field));
        EXPECT_EQ(e.factorySound, Sound(kDrop)) << "browsing writes nothing";
        EXPECT_FALSE(TickIsRefused(page, e));
        EXPECT_TRUE(IsTicked(page, e.box));
        EXPECT_EQ(L"Alarm1.wav", Sound(kDrop));
        // Clearing the box keeps what is stored, whatever the field holds now.
        SetField(page, e.field, L"Other.wav");
        EXPECT_FALSE(TickIsRefused(page, e));
        EXPECT_EQ(L"Alarm1.wav", Sound(kDrop));
    });
}

// A refusal leaves the bare name behind, which the next tick stores as it is; only
// the busy tone keeps the path it was given, and so is refused again.
TEST_F(CallSoundsTest, EachEventLooksInItsOwnCategoryFolderAndARefusalLeavesTheBareName)
{
    WriteRegString(CU, kInCall, L"Directory", L"\\Calls\\");
    WriteRegString(CU, kFeedback, L"Directory", L"\\Feedback\\");
    WriteRegString(CU, kRing, L"Directory", L"\\Rings\\");
    const struct {
        const Event &e;
        const wchar_t *own, *other;
    } cases[] = {
        {kBusyTone, L"\\Calls\\", L"\\Rings\\"},
        {kDropped, L"\\Calls\\", L"\\Feedback\\"},
        {kDialing, L"\\Feedback\\", L"\\Calls\\"},
        {kRinging, L"\\Rings\\", L"\\Feedback\\"},
    };
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        for (const auto &c : cases) {
            const Event &e = c.e;
            SCOPED_TRACE(e.soundKey);
            const std::wstring elsewhere = std::wstring(c.other) + L"tone.wav";
            SetField(page, e.field, elsewhere.c_str());
            EXPECT_TRUE(TickIsRefused(page, e));
            EXPECT_FALSE(IsTicked(page, e.box));
            EXPECT_EQ(e.busy ? elsewhere : L"tone.wav", FieldText(page, e.field));
            EXPECT_EQ(e.factorySound, Sound(e.soundKey));
            EXPECT_EQ(e.busy, TickIsRefused(page, e));
            EXPECT_EQ(e.busy ? e.factorySound : L"tone.wav", Sound(e.soundKey));
            if (!e.busy) Tap(page, e.box);
            SetField(page, e.field, (std::wstring(c.own) + L"own.wav").c_str());
            EXPECT_FALSE(TickIsRefused(page, e));
            EXPECT_EQ(L"own.wav", Sound(e.soundKey));
            Tap(page, e.box);
        }
        // A file in a sub-folder of the category folder is not in that folder.
        SetField(page, IDC_CS_DROPPED_SOUND, L"\\Calls\\Sub\\tone.wav");
        EXPECT_TRUE(TickIsRefused(page, kDropped));
    });
}

TEST_F(CallSoundsTest, TheFolderComparisonIsExactAndAnUnusableFolderTakesOnlyBareNames)
{
    const std::wstring tooLong = L"\\" + std::wstring(200, L'd') + L"\\";
    const struct {
        const wchar_t *what, *folder;   // NULL: missing
        const wchar_t *path;
        bool accepted;
    } cases[] = {
        {L"lower case folder", L"\\windows\\", L"\\Windows\\Alarm1.wav", false},
        {L"folder without its backslash", L"\\Windows", L"\\Windows\\Alarm1.wav", false},
        {L"missing folder", NULL, L"\\Windows\\Alarm1.wav", false},
        {L"missing folder, bare name", NULL, L"Alarm1.wav", true},
        {L"folder too long", tooLong.c_str(), L"\\Windows\\Alarm1.wav", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        WriteRegString(CU, kDrop, L"Sound", L"Before.wav");
        DeleteRegValue(CU, kInCall, L"Directory");
        if (c.folder) WriteRegString(CU, kInCall, L"Directory", c.folder);
        RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
            SetField(page, IDC_CS_DROPPED_SOUND, c.path);
            EXPECT_EQ(!c.accepted, TickIsRefused(page, kDropped));
            EXPECT_EQ(c.accepted ? L"Alarm1.wav" : L"Before.wav", Sound(kDrop));
        });
    }
}

TEST_F(CallSoundsTest, StoredSoundsOfMoreThan200CharactersShowAnEmptyField)
{
    const std::wstring longest(200, L's');
    WriteRegString(CU, kBusy, L"Sound", std::wstring(201, L's').c_str());
    WriteRegString(CU, kDrop, L"Sound", longest.c_str());
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_CS_BUSY_SOUND));
        EXPECT_EQ(longest, FieldText(page, IDC_CS_DROPPED_SOUND));
        // The longest name a field holds goes in whole.
        EXPECT_FALSE(TickIsRefused(page, kDropped));
        EXPECT_EQ(longest, Sound(kDrop));
    });
}
