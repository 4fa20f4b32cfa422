// The registry helpers behind every tweak: they never overrun a buffer and take only
// what is whole and of the expected type.
#include "tests/hosts/host_kit.h"
#include "ui/tweaks.h"

namespace {

const wchar_t kScratch[] = L"Software\\Zelvo Rudore Tests";

void Store(const wchar_t *name, DWORD type, const void *data, DWORD bytes)
{
    WriteRegRaw(HKEY_CURRENT_USER, kScratch, name, type, data, bytes);
}

class TweakHelperTest : public DeviceTest {};

}  // namespace

TEST_F(TweakHelperTest, ReadsTakeOnlyWholeValuesOfTheirTypeThatFit)
{
    const wchar_t seven[] = L"1234567", eight[] = L"12345678";
    DWORD number = 7;
    unsigned long long wide = 7;
    Store(L"seven", REG_SZ, seven, sizeof seven);
    Store(L"empty", REG_SZ, L"", sizeof(wchar_t));
    Store(L"eight", REG_SZ, eight, sizeof eight);
    // Stored from a longer text, so that no null follows the seven characters.
    Store(L"bare", REG_SZ, eight, 7 * sizeof(wchar_t));
    Store(L"expand", REG_EXPAND_SZ, seven, sizeof seven);
    Store(L"odd", REG_SZ, seven, 5);
    Store(L"nothing", REG_SZ, L"", 0);
    Store(L"dword", REG_DWORD, &number, sizeof number);
    Store(L"binary", REG_BINARY, &number, sizeof number);
    Store(L"short", REG_DWORD, &number, 2);
    Store(L"qword", REG_QWORD, &wide, sizeof wide);
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
    DWORD value = 42;
    EXPECT_TRUE(ReadDwordValue(key, L"dword", &value));
    EXPECT_EQ(7u, value);
    for (const wchar_t *missing : {L"binary", L"short", L"qword", L"seven", L"absent"}) {
        value = 42;
        EXPECT_FALSE(ReadDwordValue(key, missing, &value)) << missing;
        EXPECT_EQ(42u, value) << missing;
    }
    RegCloseKey(key);
}

TEST_F(TweakHelperTest, WritesStoreTextsWithTheirNullAndDwordsOfFourBytes)
{
    ASSERT_TRUE(WriteTextAt(HKEY_CURRENT_USER, kScratch, L"text", L"abc", TRUE));
    ASSERT_TRUE(WriteDwordAt(HKEY_CURRENT_USER, kScratch, L"number", 0xFFFFFFFFu, FALSE));
    DWORD type = 0, bytes = 0;
    ASSERT_TRUE(RegValueShape(HKEY_CURRENT_USER, kScratch, L"text", &type, &bytes));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(4 * sizeof(wchar_t), bytes);
    ASSERT_TRUE(RegValueShape(HKEY_CURRENT_USER, kScratch, L"number", &type, &bytes));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(4u, bytes);
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
