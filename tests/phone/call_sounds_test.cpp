// The call sounds page ("sounds3"): a sound file per call event, taken only from the
// folder of its sound category and stored by its bare name.
#include "phone_kit.h"

namespace {

const wchar_t kBusy[] = L"ControlPanel\\Sounds\\BusyTone";
const wchar_t kDrop[] = L"ControlPanel\\Sounds\\CallDrop";

const wchar_t kNotInCall[] = L"The file you selected must in the Phone-Related Sound Folder";
const wchar_t kNotFeedback[] = L"The file you selected must in the In feed call back Sound Folder";
const wchar_t kNotRing[] = L"The file you selected must in the In Ring Tone Folder";

struct Event {
    UINT box, field, browse;
    const wchar_t *soundKey;
    const wchar_t *folderKey;
    const wchar_t *refusal;
    const wchar_t *factorySound;
    bool busy;
};

const Event kEvents[] = {
    {IDC_CS_BUSY, IDC_CS_BUSY_SOUND, IDC_CS_BUSY_BROWSE, kBusy, kInCall, kNotInCall, L"Busy.wav", true},
    {IDC_CS_DROPPED, IDC_CS_DROPPED_SOUND, IDC_CS_DROPPED_BROWSE, kDrop, kInCall, kNotInCall, L"CallDrop.wav", false},
    {IDC_CS_WAITING, IDC_CS_WAITING_SOUND, IDC_CS_WAITING_BROWSE, L"ControlPanel\\Sounds\\CallWaiting", kInCall,
     kNotInCall, L"CallWaiting.wav", false},
    {IDC_CS_DIALING, IDC_CS_DIALING_SOUND, IDC_CS_DIALING_BROWSE, L"ControlPanel\\Sounds\\Dialing", kFeedback,
     kNotFeedback, L"Dialing.wav", false},
    {IDC_CS_RING, IDC_CS_RING_SOUND, IDC_CS_RING_BROWSE, L"ControlPanel\\Sounds\\RingTone0", kRing, kNotRing,
     L"Ring1.wav", false},
};

const Event &Dropped()
{
    return kEvents[1];
}

std::wstring Sound(const wchar_t *key)
{
    return RegTextOr(HKEY_CURRENT_USER, key, L"Sound", L"<missing>");
}

// Ticks the box and tells whether the refusal was shown (and that it was the only box).
bool TickIsRefused(HWND page, const Event &e)
{
    int before = SimMessageBoxCount();
    Tap(page, e.box);
    int shown = MessageBoxesSince(before);
    EXPECT_LE(shown, 1);
    if (shown == 0) return false;
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(e.refusal, box.text);
    EXPECT_STREQ(L"Zelvo Rudore", box.caption);
    EXPECT_EQ((UINT)MB_OK, box.flags);
    EXPECT_EQ(page, box.owner);
    return true;
}

class CallSoundsTest : public PhonePageTest {};

}  // namespace

TEST_F(CallSoundsTest, FieldsShowTheStoredSoundsAndUncheckingNeverWrites)
{
    RunPhonePage(TAB_CALL_SOUNDS, [](HWND page) {
        for (const Event &e : kEvents) {
            SCOPED_TRACE(e.soundKey);
            EXPECT_EQ(e.factorySound, FieldText(page, e.field));
            EXPECT_FALSE(IsTicked(page, e.box));
            // The stored bare name is taken again as it is.
            EXPECT_FALSE(TickIsRefused(page, e));
            EXPECT_TRUE(IsTicked(page, e.box));
            EXPECT_EQ(e.factorySound, Sound(e.soundKey));
            SetField(page, e.field, L"Other.wav");
            EXPECT_FALSE(TickIsRefused(page, e));
            EXPECT_FALSE(IsTicked(page, e.box));
            EXPECT_EQ(e.factorySound, Sound(e.soundKey));
        }
    });
    // A missing sound shows an empty field; the page reads on.
    DeleteRegValue(HKEY_CURRENT_USER, kBusy, L"Sound");
    DeleteRegKey(HKEY_CURRENT_USER, kDrop);
    RunPhonePage(TAB_CALL_SOUNDS, [](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_CS_BUSY_SOUND));
        EXPECT_EQ(L"", FieldText(page, IDC_CS_DROPPED_SOUND));
        EXPECT_EQ(L"CallWaiting.wav", FieldText(page, IDC_CS_WAITING_SOUND));
        // Clearing a box opens (or makes) its key and writes nothing.
        Tap(page, IDC_CS_DROPPED);
        Tap(page, IDC_CS_DROPPED);
    });
    EXPECT_EQ(L"<missing>", Sound(kBusy));
}

TEST_F(CallSoundsTest, ABrowsedFileInItsCategoryFolderIsStoredByName)
{
    RunPhonePage(TAB_CALL_SOUNDS, [](HWND page) {
        const Event &e = Dropped();
        EXPECT_TRUE(BrowseFrom(page, e.browse, L"\\Windows", [](HWND browser) {
            TapBrowserItem(browser, L"Alarm1.wav");
        }));
        EXPECT_EQ(L"\\Windows\\Alarm1.wav", FieldText(page, e.field));
        EXPECT_FALSE(IsTicked(page, e.box));
        EXPECT_EQ(L"CallDrop.wav", Sound(kDrop)) << "browsing writes nothing";
        EXPECT_FALSE(TickIsRefused(page, e));
        EXPECT_TRUE(IsTicked(page, e.box));
        EXPECT_EQ(L"Alarm1.wav", Sound(kDrop));
        EXPECT_EQ(L"\\Windows\\Alarm1.wav", FieldText(page, e.field));
        // Cancelling the browser leaves the field alone.
        EXPECT_TRUE(BrowseFrom(page, kEvents[4].browse, L"\\Windows\\Rings", [](HWND browser) {
            Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL));
        }));
        EXPECT_EQ(L"Ring1.wav", FieldText(page, kEvents[4].field));
    });
}

// A refusal leaves the bare name behind, which the next tick stores as it is; only
// the busy tone keeps the path it was given, and so is refused again.
TEST_F(CallSoundsTest, EachEventLooksInItsOwnCategoryFolderAndARefusalLeavesTheBareName)
{
    WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Calls\\");
    WriteRegString(HKEY_CURRENT_USER, kFeedback, L"Directory", L"\\Feedback\\");
    WriteRegString(HKEY_CURRENT_USER, kRing, L"Directory", L"\\Rings\\");
    const wchar_t *ownFolder[] = {L"\\Calls\\", L"\\Calls\\", L"\\Calls\\", L"\\Feedback\\", L"\\Rings\\"};
    const wchar_t *otherFolder[] = {L"\\Rings\\", L"\\Feedback\\", L"\\Rings\\", L"\\Calls\\", L"\\Feedback\\"};
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        for (int i = 0; i < 5; i++) {
            const Event &e = kEvents[i];
            SCOPED_TRACE(e.soundKey);
            const std::wstring elsewhere = std::wstring(otherFolder[i]) + L"tone.wav";
            SetField(page, e.field, elsewhere.c_str());
            EXPECT_TRUE(TickIsRefused(page, e));
            EXPECT_FALSE(IsTicked(page, e.box));
            EXPECT_EQ(e.busy ? elsewhere : L"tone.wav", FieldText(page, e.field));
            EXPECT_EQ(e.factorySound, Sound(e.soundKey));
            EXPECT_EQ(e.busy, TickIsRefused(page, e));
            EXPECT_EQ(e.busy ? e.factorySound : L"tone.wav", Sound(e.soundKey));
            if (!e.busy) Tap(page, e.box);
            SetField(page, e.field, (std::wstring(ownFolder[i]) + L"own.wav").c_str());
            EXPECT_FALSE(TickIsRefused(page, e));
            EXPECT_EQ(L"own.wav", Sound(e.soundKey));
            Tap(page, e.box);
        }
        // A file in a sub-folder of the category folder is not in that folder.
        SetField(page, IDC_CS_WAITING_SOUND, L"\\Calls\\Sub\\tone.wav");
        EXPECT_TRUE(TickIsRefused(page, kEvents[2]));
        EXPECT_EQ(L"tone.wav", FieldText(page, IDC_CS_WAITING_SOUND));
    });
}

TEST_F(CallSoundsTest, TheFolderComparisonIsExactAndAMissingFolderTakesOnlyBareNames)
{
    struct Case {
        const wchar_t *what;
        std::function<void()> folder;
        const wchar_t *path;
        bool accepted;
    };
    std::wstring tooLong = L"\\" + std::wstring(200, L'd') + L"\\";
    const Case cases[] = {
        {L"lower case folder", [] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\windows\\"); },
         L"\\Windows\\Alarm1.wav", false},
        {L"same case", [] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Windows\\"); },
         L"\\Windows\\Alarm1.wav", true},
        {L"folder without its backslash", [] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Windows"); },
         L"\\Windows\\Alarm1.wav", false},
        {L"missing folder", [] { DeleteRegValue(HKEY_CURRENT_USER, kInCall, L"Directory"); }, L"\\Windows\\Alarm1.wav", false},
        {L"missing folder, bare name", [] { DeleteRegValue(HKEY_CURRENT_USER, kInCall, L"Directory"); }, L"Alarm1.wav", true},
        {L"missing category key", [] { DeleteRegKey(HKEY_CURRENT_USER, kInCall); }, L"\\Alarm1.wav", false},
        {L"folder too long", [&] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", tooLong.c_str()); },
         L"\\Windows\\Alarm1.wav", false},
        {L"folder unterminated", [] { WriteUnterminated(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Windows\\"); },
         L"\\Windows\\Alarm1.wav", false},
        {L"unusable folder, bare name", [&] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", tooLong.c_str()); },
         L"Alarm1.wav", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteRegString(HKEY_CURRENT_USER, kDrop, L"Sound", L"Before.wav");
        c.folder();
        RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
            SetField(page, IDC_CS_DROPPED_SOUND, c.path);
            EXPECT_EQ(!c.accepted, TickIsRefused(page, Dropped()));
            EXPECT_EQ(c.accepted, IsTicked(page, IDC_CS_DROPPED));
            EXPECT_EQ(c.accepted ? L"Alarm1.wav" : L"Before.wav", Sound(kDrop));
        });
    }
}

TEST_F(CallSoundsTest, UnusableStoredSoundsShowAnEmptyField)
{
    DWORD number = 3;
    std::wstring longest(200, L's');
    std::wstring tooLong(201, L's');
    WriteRegString(HKEY_CURRENT_USER, kBusy, L"Sound", tooLong.c_str());
    WriteRegString(HKEY_CURRENT_USER, kDrop, L"Sound", longest.c_str());
    WriteUnterminated(HKEY_CURRENT_USER, L"ControlPanel\\Sounds\\CallWaiting", L"Sound", L"Wait.wav");
    WriteRegRaw(HKEY_CURRENT_USER, L"ControlPanel\\Sounds\\Dialing", L"Sound", REG_DWORD, &number, sizeof number);
    WriteTextOfType(HKEY_CURRENT_USER, L"ControlPanel\\Sounds\\RingTone0", L"Sound", REG_MULTI_SZ, L"Ring1.wav");
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_CS_BUSY_SOUND));
        EXPECT_EQ(longest, FieldText(page, IDC_CS_DROPPED_SOUND));
        EXPECT_EQ(L"", FieldText(page, IDC_CS_WAITING_SOUND));
        EXPECT_EQ(L"", FieldText(page, IDC_CS_DIALING_SOUND));
        EXPECT_EQ(L"", FieldText(page, IDC_CS_RING_SOUND));
        // The longest name a field holds goes in whole; typing stops there.
        EXPECT_FALSE(TickIsRefused(page, Dropped()));
        EXPECT_EQ(longest, Sound(kDrop));
        HWND field = GetDlgItem(page, IDC_CS_BUSY_SOUND);
        SendMessageW(field, EM_REPLACESEL, FALSE, (LPARAM)tooLong.c_str());
        EXPECT_EQ(longest, FieldText(page, IDC_CS_BUSY_SOUND));
    });
}
