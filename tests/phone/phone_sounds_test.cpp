// The phone sounds page ("sounds2"): four short sounds switched by "Script" and the
// number of calls the call history keeps.
#include "phone_kit.h"

namespace {

const wchar_t kPhone[] = L"ControlPanel\\Phone";
const wchar_t kKeypress[] = L"ControlPanel\\Sounds\\Keypress";

std::wstring Script(const wchar_t *key) { return RegTextOr(HKEY_CURRENT_USER, key, L"Script", L"<missing>"); }

class PhoneSoundsTest : public PhonePageTest {};

}  // namespace

// The page writes and reads through paths with a leading backslash; the device takes
// them for its own keys, whose other values stay.
TEST_F(PhoneSoundsTest, TheBoxesActOnTheDevicesOwnSoundKeys)
{
    RunPhonePage(TAB_PHONE_SOUNDS, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_PS_KEYPAD)) << "the factory plays every sound";
        Tap(page, IDC_PS_KEYPAD);
    });
    EXPECT_EQ(L"t", Script(kKeypress));
    EXPECT_EQ(L"Click.wav", RegTextOr(HKEY_CURRENT_USER, kKeypress, L"Sound", L""));
}

TEST_F(PhoneSoundsTest, CallHistoryShowsTheStoredNumberOr65535AndOkStoresItUnchecked)
{
    const struct {
        std::function<void()> write;
        const wchar_t *shown;
    } shown[] = {
        {[] { DeleteRegKey(HKEY_CURRENT_USER, kPhone); }, L"65535"},
        {[] { WriteRegDword(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", 0xFFFFFFFF); }, L"-1"},
        {[] { WriteRegString(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", L"30"); }, L"65535"},
    };
    for (const auto &c : shown) {
        c.write();
        RunPhonePage(TAB_PHONE_SOUNDS, [&](HWND page) { EXPECT_EQ(c.shown, FieldText(page, IDC_PS_HISTORY_COUNT)); });
    }
    DeleteRegKey(HKEY_CURRENT_USER, kPhone);
    const struct {
        const wchar_t *typed;
        DWORD stored;
    } typed[] = {
        {L"abc", 110},
        {L"-1", 0xFFFFFFFF},
        // Only the first 15 characters count: ten blanks and 12345.
        {L"          12345678", 12345},
    };
    RunPhonePage(TAB_PHONE_SOUNDS, [&](HWND page) {
        SetField(page, IDC_PS_HISTORY_COUNT, L"12");
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kPhone)) << "typing alone stores nothing";
        for (const auto &c : typed) {
            SetField(page, IDC_PS_HISTORY_COUNT, c.typed);
            Tap(page, IDC_PS_HISTORY_OK);
            EXPECT_EQ(c.stored, RegDwordOr(HKEY_CURRENT_USER, kPhone, L"CallHistoryMax", 0xDEAD)) << c.typed;
        }
    });
}
