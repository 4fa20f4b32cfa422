// The tweak mechanism behind every page: the registry helpers never overrun a buffer
// and take only what is whole and of the expected type; the tables count any value
// they cannot use as missing, and write every row of a box.
#include "tests/hosts/host_kit.h"
#include "ui/tweaks.h"

namespace {

const wchar_t kScratch[] = L"Software\\Zelvo Rudore Tests";
const wchar_t kOther[] = L"Software\\Zelvo Rudore Tests\\Other";

void Store(const wchar_t *name, DWORD type, const void *data, DWORD bytes)
{
    WriteRegRaw(HKEY_CURRENT_USER, kScratch, name, type, data, bytes);
}

class TweakTest : public DeviceTest {};

}  // namespace

TEST_F(TweakTest, TextReadsTakeOnlyWholeTextsThatFit)
{
    const wchar_t seven[] = L"1234567", eight[] = L"12345678";
    Store(L"seven", REG_SZ, seven, sizeof seven);
    Store(L"empty", REG_SZ, L"", sizeof(wchar_t));
    Store(L"eight", REG_SZ, eight, sizeof eight);
    // Stored from a longer text, so that no null follows the seven characters.
    Store(L"bare", REG_SZ, eight, 7 * sizeof(wchar_t));
    Store(L"expand", REG_EXPAND_SZ, seven, sizeof seven);
    Store(L"odd", REG_SZ, seven, 5);
    Store(L"nothing", REG_SZ, L"", 0);
    Store(L"dword", REG_DWORD, seven, 4);
    HKEY key;
    ASSERT_TRUE(OpenTweakKey(HKEY_CURRENT_USER, kScratch, &key));
    struct {
        wchar_t text[8];
        wchar_t canary[4];
    } buffer;
    auto read = [&](const wchar_t *name) {
        lstrcpyW(buffer.text, L"preset");
        lstrcpyW(buffer.canary, L"ok!");
        BOOL found = ReadTextValue(key, name, buffer.text, 8);
        EXPECT_STREQ(L"ok!", buffer.canary) << name << ": the buffer was overrun";
        return found;
    };
    EXPECT_TRUE(read(L"seven"));
    EXPECT_STREQ(L"1234567", buffer.text);
    EXPECT_TRUE(read(L"empty"));
    EXPECT_STREQ(L"", buffer.text);
    for (const wchar_t *missing : {L"eight", L"bare", L"expand", L"odd", L"nothing", L"dword", L"absent"}) {
        EXPECT_FALSE(read(missing)) << missing;
        EXPECT_STREQ(L"preset", buffer.text) << missing;
    }
    RegCloseKey(key);
}

// Each row's stand-in for a missing value ticks its box, so a value the table takes
// for missing ticks it too, while a usable value that differs leaves it clear.
TEST_F(TweakTest, TablesTakeUnusableValuesForMissingAndWriteEveryRowOfABox)
{
    const UINT number = IDC_SEC_CACHE_SSL, text = IDC_SEC_NO_ACTIVEX, pair = IDC_SEC_NO_SCRIPTS,
               unless = IDC_SEC_SCRIPT_ERRORS;
    const Tweak table[] = {
        {number, HKEY_CURRENT_USER, kScratch, L"number", Dword(5), Dword(5), Dword(5), Dword(6), 0},
        {text, HKEY_CURRENT_USER, kScratch, L"text", Text(L"on"), Text(L"on"), Text(L"on"), DeleteValue(), 0},
        // Two keys, both of which must match; only the first key is flushed.
        {pair, HKEY_CURRENT_USER, kScratch, L"first", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_FLUSH},
        {pair, HKEY_CURRENT_USER, kOther, L"second", Text(L"on"), Nothing(), Text(L"on"), Text(L"off"), 0},
        {unless, HKEY_CURRENT_USER, kScratch, L"unless", Dword(0), Dword(0), Dword(1), Dword(0), TWEAK_TICK_UNLESS},
    };
    const int rows = TWEAK_COUNT(table);
    // Each unusable value would leave its box clear, were it taken.
    const DWORD six = 6;
    const unsigned long long wide = 6;
    const wchar_t sixText[] = L"6";
    // The longest text a table reads, and one more character.
    std::wstring longest(1023, L'x'), tooLong(1024, L'x');
    const struct {
        UINT box;
        const wchar_t *name;
        DWORD type;
        const void *data;
        DWORD bytes;
        bool ticked;
    } stored[] = {
        {number, L"number", REG_SZ, sixText, sizeof sixText, true},
        {number, L"number", REG_BINARY, &six, 4, true},
        {number, L"number", REG_DWORD, &six, 2, true},
        {number, L"number", REG_QWORD, &wide, 8, true},
        {number, L"number", REG_DWORD, &six, 4, false},
        {text, L"text", REG_EXPAND_SZ, L"off", 8, true},
        {text, L"text", REG_SZ, tooLong.c_str(), 1025 * sizeof(wchar_t), true},
        {text, L"text", REG_SZ, longest.c_str(), 1024 * sizeof(wchar_t), false},
    };
    RunInternetPage(TAB_SECURITY, [&](HWND page) {
        auto load = [&] {
            for (UINT box : {number, text, pair, unless}) CheckDlgButton(page, box, BST_UNCHECKED);
            EXPECT_TRUE(LoadTweaks(page, table, rows));
        };
        for (auto &c : stored) {
            Store(c.name, c.type, c.data, c.bytes);
            load();
            EXPECT_EQ(c.ticked, IsTicked(page, c.box)) << &c - stored;
        }
        // A box of two rows is ticked only when both match; unless-rows tick on any other value.
        WriteRegDword(HKEY_CURRENT_USER, kScratch, L"first", 1);
        WriteRegDword(HKEY_CURRENT_USER, kScratch, L"unless", 0);
        load();
        EXPECT_FALSE(IsTicked(page, pair));
        EXPECT_FALSE(IsTicked(page, unless));
        WriteRegString(HKEY_CURRENT_USER, kOther, L"second", L"on");
        WriteRegDword(HKEY_CURRENT_USER, kScratch, L"unless", 7);
        load();
        EXPECT_TRUE(IsTicked(page, pair));
        EXPECT_TRUE(IsTicked(page, unless));

        // Writing: every row of the box, the flush after the write, texts with their null.
        FlushRecorder flushes;
        ASSERT_TRUE(flushes.recording());
        CheckDlgButton(page, pair, BST_UNCHECKED);
        EXPECT_TRUE(WriteTweak(page, table, rows, pair));
        EXPECT_EQ(0u, RegDwordOr(HKEY_CURRENT_USER, kScratch, L"first", 99));
        EXPECT_EQ(L"off", RegTextOr(HKEY_CURRENT_USER, kOther, L"second", L"?"));
        ASSERT_EQ(1u, flushes.flushes().size());
        EXPECT_TRUE(flushes.flushes()[0].Held(L"first", 0));
        DWORD type = 0, bytes = 0;
        ASSERT_TRUE(RegValueShape(HKEY_CURRENT_USER, kOther, L"second", &type, &bytes));
        EXPECT_EQ((DWORD)REG_SZ, type);
        EXPECT_EQ(4 * sizeof(wchar_t), bytes);
        CheckDlgButton(page, text, BST_UNCHECKED);
        EXPECT_TRUE(WriteTweak(page, table, rows, text));
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kScratch, L"text"));
        EXPECT_FALSE(WriteTweak(page, table, rows, IDOK)) << "a control without rows";
    });
}

// The cases the page tests do not reach: signs without digits, white space of every
// kind, and numbers beyond an int.
TEST(ScanNumber, ReadsLikePercentD)
{
    EXPECT_EQ(-7, ScanNumber(L" \t\r\n-7 days", 110));
    EXPECT_EQ(110, ScanNumber(L"-", 110));
    EXPECT_EQ(110, ScanNumber(L"- 5", 110));
    EXPECT_EQ(110, ScanNumber(L"+-5", 110));
    EXPECT_EQ(2147483647, ScanNumber(L"99999999999999999999", 110));
    EXPECT_EQ(-2147483647 - 1, ScanNumber(L"-99999999999", 110));
    EXPECT_EQ(-2147483647 - 1, ScanNumber(L"-2147483648", 110));
}
