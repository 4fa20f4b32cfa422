// The Phone host's pages, each with what is its own: the sound folders their boxes
// store, the call history's number, and the call sounds taken only from the folder of
// their sound category.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kInCall[] = L"ControlPanel\\SoundCategories\\InCall";
const wchar_t kFeedback[] = L"ControlPanel\\SoundCategories\\InCallFeedBack";
const wchar_t kRing[] = L"ControlPanel\\SoundCategories\\Ring";
const wchar_t kDrop[] = L"ControlPanel\\Sounds\\CallDrop";
const wchar_t kNotInCall[] = L"The file you selected must in the Phone-Related Sound Folder";

std::wstring Folder(const wchar_t *key) { return RegTextOr(CU, key, L"Directory", L"<missing>"); }
std::wstring Sound(const wchar_t *key) { return RegTextOr(CU, key, L"Sound", L"<missing>"); }

// busy: a refused busy tone keeps the path it was given.
struct Event { UINT box, field; const wchar_t *soundKey, *refusal; bool busy; };

// One event of each category; waiting is as dropped.
const Event kBusyTone = {IDC_CS_BUSY, IDC_CS_BUSY_SOUND, L"ControlPanel\\Sounds\\BusyTone", kNotInCall, true};
const Event kDropped = {IDC_CS_DROPPED, IDC_CS_DROPPED_SOUND, kDrop, kNotInCall, false};
const Event kDialing = {IDC_CS_DIALING, IDC_CS_DIALING_SOUND, L"ControlPanel\\Sounds\\Dialing",
                        L"The file you selected must in the In feed call back Sound Folder", false};
const Event kRinging = {IDC_CS_RING, IDC_CS_RING_SOUND, L"ControlPanel\\Sounds\\RingTone0",
                        L"The file you selected must in the In Ring Tone Folder", false};

// Ticks the event's box and tells whether its refusal was shown (and was the only box).
bool TickIsRefused(HWND page, const Event &e)
{
    int before = SimMessageBoxCount();
    Tap(page, e.box);
    if (MessageBoxesSince(before) == 0) return false;
    ExpectOneBox(before, page, L"Zelvo Rudore", MB_OK, e.refusal);
    return true;
}

using PhonePageTest = DeviceTest;

}  // namespace

// The page shows what it stores. Ticked, a folder box stores its field as typed (cut
// to the field's 200 characters); cleared, it puts "\Windows\" back.
TEST_F(PhonePageTest, SoundFolderBoxesStoreTheirFieldTickedAndWindowsCleared)
{
    WriteRegString(CU, kInCall, L"Directory", L"\\Calls\\");
    DeleteRegKey(CU, kFeedback);
    const struct { UINT box, field; const wchar_t *key; std::wstring shown, typed, stored; } folders[] = {
        {IDC_SF_INCALL_STORE, IDC_SF_INCALL_FOLDER, kInCall, L"\\Calls\\", std::wstring(300, L'g'), std::wstring(200, L'g')},
        {IDC_SF_RING_STORE, IDC_SF_RING_FOLDER, kRing, L"\\Windows\\Rings\\", L"\\Rings Two\\", L"\\Rings Two\\"},
        {IDC_SF_FEEDBACK_STORE, IDC_SF_FEEDBACK_FOLDER, kFeedback, L"", L"\\Feedback\\", L"\\Feedback\\"},
    };
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        for (const auto &f : folders) {
            SCOPED_TRACE(f.key);
            EXPECT_EQ(f.shown, FieldText(page, f.field));
            const std::wstring before = Folder(f.key);
            SetField(page, f.field, f.typed.c_str());
            EXPECT_EQ(before, Folder(f.key)) << "typing alone stores nothing";
            Tap(page, f.box);
            EXPECT_EQ(f.stored, Folder(f.key));
            Tap(page, f.box);
            EXPECT_EQ(L"\\Windows\\", Folder(f.key));
        }
    });
}

// The call history shows the stored number, or 65535 for none; only OK stores the
// field, read as "%d" reads its first 15 characters.
TEST_F(PhonePageTest, CallHistoryShowsTheStoredNumberAndOkStoresTheTypedOne)
{
    const wchar_t phone[] = L"ControlPanel\\Phone";
    DeleteRegKey(CU, phone);
    const std::pair<const wchar_t *, DWORD> typed[] = {{L"abc", 110}, {L"-1", 0xFFFFFFFF}, {L"          12345678", 12345}};
    RunPhonePage(TAB_PHONE_SOUNDS, [&](HWND page) {
        EXPECT_EQ(L"65535", FieldText(page, IDC_PS_HISTORY_COUNT));
        for (const auto &c : typed) {
            SetField(page, IDC_PS_HISTORY_COUNT, c.first);
            Tap(page, IDC_PS_HISTORY_OK);
            EXPECT_EQ(c.second, RegDwordOr(CU, phone, L"CallHistoryMax", 0xDEAD)) << c.first;
        }
    });
}

// Each event takes a file only from its own category's folder, compared exactly, or a
// bare name, and stores it by its name. A refusal leaves the bare name behind, which
// the next tick stores as it is; only the busy tone keeps the path it was given.
TEST_F(PhonePageTest, EachCallSoundIsTakenOnlyFromItsOwnCategoryFolder)
{
    WriteRegString(CU, kInCall, L"Directory", L"\\Calls\\");
    WriteRegString(CU, kFeedback, L"Directory", L"\\Feedback\\");
    WriteRegString(CU, kRing, L"Directory", L"\\Rings\\");
    const struct { const Event &e; const wchar_t *own, *other; } cases[] = {
        {kBusyTone, L"\\Calls\\", L"\\Rings\\"}, {kDropped, L"\\Calls\\", L"\\Feedback\\"},
        {kDialing, L"\\Feedback\\", L"\\Calls\\"}, {kRinging, L"\\Rings\\", L"\\Feedback\\"}};
    const std::wstring tooLong = L"\\" + std::wstring(200, L'd') + L"\\";
    // The folder (NULL: missing), the path ticked, and whether it is taken.
    const struct { const wchar_t *folder, *path; bool taken; } exact[] = {
        {L"\\calls\\", L"\\Calls\\tone.wav", false}, {L"\\Calls", L"\\Calls\\tone.wav", false},
        {L"\\", L"\\Calls\\tone.wav", false}, {NULL, L"\\Calls\\tone.wav", false},
        {tooLong.c_str(), L"\\Calls\\tone.wav", false}, {NULL, L"bare.wav", true},
    };
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        for (const auto &c : cases) {
            const Event &e = c.e;
            SCOPED_TRACE(e.soundKey);
            const std::wstring elsewhere = std::wstring(c.other) + L"tone.wav";
            const std::wstring before = Sound(e.soundKey);
            SetField(page, e.field, elsewhere.c_str());
            EXPECT_TRUE(TickIsRefused(page, e));
            EXPECT_FALSE(IsTicked(page, e.box));
            EXPECT_EQ(e.busy ? elsewhere : L"tone.wav", FieldText(page, e.field));
            EXPECT_EQ(before, Sound(e.soundKey));
            EXPECT_EQ(e.busy, TickIsRefused(page, e));
            EXPECT_EQ(e.busy ? before : L"tone.wav", Sound(e.soundKey));
            if (!e.busy) Tap(page, e.box);
            SetField(page, e.field, (std::wstring(c.own) + L"own.wav").c_str());
            EXPECT_FALSE(TickIsRefused(page, e));
            EXPECT_EQ(L"own.wav", Sound(e.soundKey));
            SetField(page, e.field, L"Other.wav");
            Tap(page, e.box);
            EXPECT_EQ(L"own.wav", Sound(e.soundKey)) << "clearing keeps what is stored";
        }
        for (const auto &c : exact) {
            SCOPED_TRACE(c.folder ? c.folder : L"(missing)");
            DeleteRegValue(CU, kInCall, L"Directory");
            if (c.folder) WriteRegString(CU, kInCall, L"Directory", c.folder);
            SetField(page, IDC_CS_DROPPED_SOUND, c.path);
            EXPECT_EQ(!c.taken, TickIsRefused(page, kDropped));
            EXPECT_EQ(c.taken ? L"bare.wav" : L"own.wav", Sound(kDrop));
            if (IsTicked(page, kDropped.box)) Tap(page, kDropped.box);
        }
    });
}
