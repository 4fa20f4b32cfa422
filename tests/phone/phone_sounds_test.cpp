// The phone sounds page ("sounds2"): four short sounds switched by "Script" and the
// number of calls the call history keeps.
#include "phone_kit.h"

namespace {

const wchar_t kPhone[] = L"ControlPanel\\Phone";

struct SoundBox {
    UINT box;
    const wchar_t *key;
};

const SoundBox kBoxes[] = {
    {IDC_PS_DISCONNECT, L"ControlPanel\\Sounds\\Ending"},
    {IDC_PS_KEYPAD, L"ControlPanel\\Sounds\\Keypress"},
    {IDC_PS_RECORD_BEGIN, L"ControlPanel\\Sounds\\VRecBeg"},
    {IDC_PS_RECORD_END, L"ControlPanel\\Sounds\\VRecEnd"},
};

std::wstring Script(const wchar_t *key)
{
    return RegTextOr(HKEY_CURRENT_USER, key, L"Script", L"<missing>");
}

DWORD StoredHistory()
{
    return RegDwordOr(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", 0xDEAD);
}

class PhoneSoundsTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneSoundsTest, BoxesFollowScriptAndWritePOrT)
{
    // The factory plays every sound.
    RunPhonePage(TAB_PHONE_SOUNDS, [](HWND page) {
        for (const SoundBox &b : kBoxes) {
            SCOPED_TRACE(b.key);
            EXPECT_TRUE(IsTicked(page, b.box));
            Tap(page, b.box);
            EXPECT_EQ(L"t", Script(b.key));
            Tap(page, b.box);
            EXPECT_EQ(L"p", Script(b.key));
            Tap(page, b.box);
            EXPECT_EQ(L"t", Script(b.key));
        }
    });
    RunPhonePage(TAB_PHONE_SOUNDS, [](HWND page) {
        for (const SoundBox &b : kBoxes) EXPECT_FALSE(IsTicked(page, b.box)) << b.key;
        // One box writes its own key only.
        Tap(page, IDC_PS_KEYPAD);
        EXPECT_EQ(L"p", Script(L"ControlPanel\\Sounds\\Keypress"));
        EXPECT_EQ(L"t", Script(L"ControlPanel\\Sounds\\Ending"));
        EXPECT_EQ(L"t", Script(L"ControlPanel\\Sounds\\VRecEnd"));
    });
    // Unchecking writes "t"; the value is never deleted, and the sound beside it stays.
    EXPECT_EQ(L"Disconnect.wav", RegTextOr(HKEY_CURRENT_USER, L"ControlPanel\\Sounds\\Ending", L"Sound", L""));
}

TEST_F(PhoneSoundsTest, OnlyAnExactLowerCasePIsOn)
{
    DWORD number = 'p';
    struct Case {
        const wchar_t *what;
        std::function<void(const wchar_t *key)> write;
    };
    const Case cases[] = {
        {L"upper case", [](const wchar_t *key) { WriteRegString(HKEY_CURRENT_USER, key, L"Script", L"P"); }},
        {L"a blank after it", [](const wchar_t *key) { WriteRegString(HKEY_CURRENT_USER, key, L"Script", L"p "); }},
        {L"empty", [](const wchar_t *key) { WriteRegString(HKEY_CURRENT_USER, key, L"Script", L""); }},
        {L"missing", [](const wchar_t *key) { DeleteRegValue(HKEY_CURRENT_USER, key, L"Script"); }},
        {L"missing key", [](const wchar_t *key) { DeleteRegKey(HKEY_CURRENT_USER, key); }},
        {L"a number", [&](const wchar_t *key) { WriteRegRaw(HKEY_CURRENT_USER, key, L"Script", REG_DWORD, &number, sizeof number); }},
        {L"a long text", [](const wchar_t *key) { WriteRegString(HKEY_CURRENT_USER, key, L"Script", std::wstring(300, L'p').c_str()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (const SoundBox &b : kBoxes) c.write(b.key);
        RunPhonePage(TAB_PHONE_SOUNDS, [](HWND page) {
            for (const SoundBox &b : kBoxes) {
                EXPECT_FALSE(IsTicked(page, b.box)) << b.key;
                Tap(page, b.box);
                // Written anew as a proper text.
                EXPECT_EQ(L"p", Script(b.key));
            }
        });
    }
    // Read through the backslashed paths, the keys written without one.
    for (const SoundBox &b : kBoxes) WriteRegString(HKEY_CURRENT_USER, b.key, L"Script", L"p");
    WriteRegString(HKEY_CURRENT_USER, L"ControlPanel\\Sounds\\VRecBeg", L"Script", L"t");
    RunPhonePage(TAB_PHONE_SOUNDS, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_PS_DISCONNECT));
        EXPECT_TRUE(IsTicked(page, IDC_PS_KEYPAD));
        EXPECT_FALSE(IsTicked(page, IDC_PS_RECORD_BEGIN));
        EXPECT_TRUE(IsTicked(page, IDC_PS_RECORD_END));
    });
}

TEST_F(PhoneSoundsTest, CallHistoryShowsTheStoredNumberOr65535)
{
    struct Case {
        const wchar_t *what;
        std::function<void()> write;
        const wchar_t *shown;
    };
    const Case cases[] = {
        {L"missing", [] { DeleteRegValue(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax"); }, L"65535"},
        {L"stored", [] { WriteRegDword(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", 30); }, L"30"},
        {L"all bits", [] { WriteRegDword(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", 0xFFFFFFFF); }, L"-1"},
        {L"a text", [] { WriteRegString(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", L"30"); }, L"65535"},
        {L"missing key", [] { DeleteRegKey(HKEY_CURRENT_USER, kPhone); }, L"65535"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.write();
        RunPhonePage(TAB_PHONE_SOUNDS, [&](HWND page) { EXPECT_EQ(c.shown, FieldText(page, IDC_PS_HISTORY_COUNT)); });
    }
}

TEST_F(PhoneSoundsTest, OkStoresTheTypedNumberWithoutARangeCheck)
{
    DeleteRegKey(HKEY_CURRENT_USER, kPhone);
    const struct {
        const wchar_t *typed;
        DWORD stored;
    } cases[] = {
        {L"25", 25},
        {L"abc", 110},
        {L"-1", 0xFFFFFFFF},
        {L"0", 0},
        // Only the first 15 characters count: ten blanks and 12345.
        {L"          12345678", 12345},
        {L"               9", 110},
    };
    RunPhonePage(TAB_PHONE_SOUNDS, [&](HWND page) {
        // Typing alone stores nothing.
        SetField(page, IDC_PS_HISTORY_COUNT, L"12");
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kPhone));
        for (const auto &c : cases) {
            SCOPED_TRACE(c.typed);
            SetField(page, IDC_PS_HISTORY_COUNT, c.typed);
            Tap(page, IDC_PS_HISTORY_OK);
            EXPECT_EQ(c.stored, StoredHistory());
            EXPECT_EQ(c.typed, FieldText(page, IDC_PS_HISTORY_COUNT));
        }
    });
    WriteRegDword(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", 0);
    RunPhonePage(TAB_PHONE_SOUNDS, [](HWND page) { EXPECT_EQ(L"0", FieldText(page, IDC_PS_HISTORY_COUNT)); });
}
