// The registry helpers behind every tweak: they never overrun a buffer and take only
// what is whole and of the expected type.
#include "tests/hosts/host_kit.h"
#include "ui/tweaks.h"

namespace {

const wchar_t kScratch[] = L"Software\\Zelvo Rudore Tests";

class TweakHelperTest : public DeviceTest {
protected:
    HKEY key = NULL;
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    }
    void TearDown() override
    {
        RegCloseKey(key);
        DeleteRegKey(HKEY_CURRENT_USER, kScratch);
        DeviceTest::TearDown();
    }
    void Store(const wchar_t *name, DWORD type, const void *data, DWORD bytes)
    {
        RegSetValueExW(key, name, 0, type, (const BYTE *)data, bytes);
    }
};

}  // namespace

TEST_F(TweakHelperTest, TextReadsTakeOnlyWholeTerminatedTextsThatFit)
{
    const wchar_t seven[] = L"1234567", eight[] = L"12345678";
    Store(L"seven", REG_SZ, seven, sizeof seven);
    Store(L"eight", REG_SZ, eight, sizeof eight);
    // Stored from a longer text, so that no null follows the seven characters.
    Store(L"bare", REG_SZ, eight, 7 * sizeof(wchar_t));
    Store(L"expand", REG_EXPAND_SZ, seven, sizeof seven);
    Store(L"odd", REG_SZ, seven, 5);
    Store(L"empty", REG_SZ, L"", sizeof(wchar_t));
    Store(L"nothing", REG_SZ, L"", 0);
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
    for (const wchar_t *missing : {L"eight", L"bare", L"expand", L"odd", L"nothing", L"absent"}) {
        EXPECT_FALSE(read(missing)) << missing;
        EXPECT_STREQ(L"preset", buffer.text) << missing;
    }
    // The helpers that open the key themselves behave the same, and a missing key is missing.
    wchar_t text[8] = L"preset";
    EXPECT_FALSE(ReadTextAt(HKEY_CURRENT_USER, kScratch, L"eight", text, 8));
    EXPECT_FALSE(ReadTextAt(HKEY_CURRENT_USER, L"Software\\Zelvo Rudore Tests\\None", L"seven", text, 8));
    EXPECT_STREQ(L"preset", text);
    EXPECT_TRUE(ReadTextAt(HKEY_CURRENT_USER, kScratch, L"seven", text, 8));
    EXPECT_STREQ(L"1234567", text);
}

TEST_F(TweakHelperTest, DwordReadsTakeOnlyFourByteDwords)
{
    DWORD seven = 7;
    unsigned long long wide = 7;
    Store(L"dword", REG_DWORD, &seven, sizeof seven);
    Store(L"binary", REG_BINARY, &seven, sizeof seven);
    Store(L"short", REG_DWORD, &seven, 2);
    Store(L"qword", REG_QWORD, &wide, sizeof wide);
    Store(L"text", REG_SZ, L"7", 2 * sizeof(wchar_t));
    DWORD value = 42;
    EXPECT_TRUE(ReadDwordValue(key, L"dword", &value));
    EXPECT_EQ(7u, value);
    for (const wchar_t *missing : {L"binary", L"short", L"qword", L"text", L"absent"}) {
        value = 42;
        EXPECT_FALSE(ReadDwordValue(key, missing, &value)) << missing;
        EXPECT_EQ(42u, value) << missing;
    }
}

TEST_F(TweakHelperTest, WritesStoreTextsWithTheirNullAndDwordsOfFourBytes)
{
    ASSERT_TRUE(WriteTextAt(HKEY_CURRENT_USER, L"Software\\Zelvo Rudore Tests\\New", L"text", L"abc", TRUE));
    ASSERT_TRUE(WriteDwordAt(HKEY_CURRENT_USER, kScratch, L"number", 0xFFFFFFFFu, FALSE));
    DWORD type = 0, bytes = 0;
    ASSERT_TRUE(RegValueShape(HKEY_CURRENT_USER, L"Software\\Zelvo Rudore Tests\\New", L"text", &type, &bytes));
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
