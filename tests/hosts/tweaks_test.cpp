// The tweak mechanism behind every page: the registry helpers never overrun a buffer
// and take only what is whole and of the expected type; the tables count any value
// they cannot use as missing, and write every row of a box.
#include "tests/hosts/host_kit.h"
#include "ui/tweaks.h"
#include "ui/tweak_catalog.h"
#include <algorithm>
#include <string>

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
        {number, HKCU, kScratch, L"number", Dword(5), Dword(5), Dword(5), Dword(6), 0},
        {text, HKCU, kScratch, L"text", Text(L"on"), Text(L"on"), Text(L"on"), DeleteValue(), 0},
        // Two keys, both of which must match; only the first key is flushed.
        {pair, HKCU, kScratch, L"first", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_FLUSH},
        {unless, HKCU, kScratch, L"unless", Dword(0), Dword(0), Dword(1), Dword(0), TWEAK_TICK_UNLESS},
        // A box's rows need not stand together.
        {pair, HKCU, kOther, L"second", Text(L"on"), Nothing(), Text(L"on"), Text(L"off"), 0},
    };
    const TweakTable rows = {table, (int)(sizeof table / sizeof table[0])};
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
            EXPECT_TRUE(LoadTweaks(page, rows));
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
        EXPECT_TRUE(WriteTweak(page, rows, pair));
        EXPECT_EQ(0u, RegDwordOr(HKEY_CURRENT_USER, kScratch, L"first", 99));
        EXPECT_EQ(L"off", RegTextOr(HKEY_CURRENT_USER, kOther, L"second", L"?"));
        ASSERT_EQ(1u, flushes.flushes().size());
        EXPECT_TRUE(flushes.flushes()[0].Held(L"first", 0));
        DWORD type = 0, bytes = 0;
        ASSERT_TRUE(RegValueShape(HKEY_CURRENT_USER, kOther, L"second", &type, &bytes));
        EXPECT_EQ((DWORD)REG_SZ, type);
        EXPECT_EQ(4 * sizeof(wchar_t), bytes);
        CheckDlgButton(page, text, BST_UNCHECKED);
        EXPECT_TRUE(WriteTweak(page, rows, text));
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kScratch, L"text"));
        EXPECT_FALSE(WriteTweak(page, rows, IDOK)) << "a control without rows";
    });
}

// ---- Every page and dialog, through the catalog of their tables ----

namespace {

// Opens the sheet's page or dialog as the main window does and runs `script` with it.
void RunSheet(const TweakSheet &sheet, const std::function<void(HWND page)> &script)
{
    if (sheet.tab < 0) {
        RunDialog(sheet.openedTemplate, sheet.openedProcedure, [&](HWND dialog) {
            script(dialog);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        return;
    }
    RunHost(sheet.openedTemplate, sheet.openedProcedure, [&](HWND host) {
        HWND tabs = FindWindowExW(host, NULL, WC_TABCONTROLW, NULL);
        ASSERT_TRUE(tabs != NULL);
        if (sheet.tab != 0) TapTab(tabs, sheet.tab);
        HWND page = PageInTabs(tabs);
        ASSERT_TRUE(page != NULL);
        script(page);
    });
}

bool SameValue(const TweakValue &a, const TweakValue &b)
{
    if (a.kind != b.kind) return false;
    return a.kind == TWEAK_TEXT ? wcscmp(a.text, b.text) == 0 : a.number == b.number;
}

// Puts a row's value into the registry as the page would write it.
void Store(const Tweak &row, const TweakValue &value)
{
    HKEY root = RootKey(row.root);
    if (value.kind == TWEAK_DWORD) WriteRegDword(root, row.key, row.name, value.number);
    if (value.kind == TWEAK_TEXT) WriteRegString(root, row.key, row.name, value.text);
    if (value.kind == TWEAK_DELETE) DeleteRegValue(root, row.key, row.name);
}

// What the registry holds of a row's value, in the value's own terms.
std::wstring Held(const Tweak &row)
{
    HKEY root = RootKey(row.root);
    DWORD number;
    std::wstring text;
    if (ReadRegDword(root, row.key, row.name, &number)) return L"dword " + std::to_wstring(number);
    if (ReadRegString(root, row.key, row.name, &text)) return L"text \"" + text + L"\"";
    return RegValueExists(root, row.key, row.name) ? L"other" : L"missing";
}

std::wstring Expected(const TweakValue &value, const std::wstring &before)
{
    switch (value.kind) {
    case TWEAK_DWORD: return L"dword " + std::to_wstring(value.number);
    case TWEAK_TEXT: return L"text \"" + std::wstring(value.text) + L"\"";
    case TWEAK_DELETE: return L"missing";
    }
    return before;   // nothing written
}

// Whether a box starts ticked with all its values missing.
bool MissingTicks(const TweakTable &table, UINT box)
{
    bool read = false;
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        if (row.control != box || row.tickedWhen.kind == TWEAK_NONE) continue;
        read = true;
        bool equal = row.missing.kind != TWEAK_NONE && SameValue(row.missing, row.tickedWhen);
        if (row.missing.kind == TWEAK_NONE || equal == ((row.flags & TWEAK_TICK_UNLESS) != 0)) return false;
    }
    return read;
}

// The keys a tap on the box flushes: each key once, when one of its rows asks.
size_t FlushedKeys(const TweakTable &table, UINT box)
{
    std::vector<const Tweak *> keys;
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        if (row.control != box || !(row.flags & TWEAK_FLUSH)) continue;
        bool seen = false;
        for (const Tweak *key : keys) seen = seen || (key->root == row.root && SameKeyName(key->key, row.key));
        if (!seen) keys.push_back(&row);
    }
    return keys.size();
}

std::vector<UINT> BoxesOf(const TweakTable &table)
{
    std::vector<UINT> boxes;
    for (int i = 0; i < table.count; i++)
        if (std::find(boxes.begin(), boxes.end(), table.rows[i].control) == boxes.end()) boxes.push_back(table.rows[i].control);
    return boxes;
}

// A tap on the box, then every row's value as the table says a tap to that state
// writes it, and the flushes it makes.
void TapAndExpectWritten(HWND page, const TweakTable &table, UINT box, bool toTicked)
{
    std::vector<std::wstring> before;
    for (int i = 0; i < table.count; i++) before.push_back(Held(table.rows[i]));
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    Tap(page, box);
    ASSERT_EQ(toTicked, IsTicked(page, box)) << "the tap was not taken";
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        if (row.control != box) continue;
        // A row that writes nothing holds what a row of the same value (read and
        // written under names of another case) writes.
        TweakValue written = toTicked ? row.ticked : row.cleared;
        for (int j = 0; j < table.count && written.kind == TWEAK_NONE; j++) {
            const Tweak &other = table.rows[j];
            if (other.control == box && other.root == row.root && SameKeyName(other.key, row.key) &&
                SameKeyName(other.name, row.name))
                written = toTicked ? other.ticked : other.cleared;
        }
        EXPECT_EQ(Expected(written, before[i]), Held(row))
            << row.key << " " << row.name << (toTicked ? " ticked" : " cleared");
        if ((row.flags & TWEAK_FLUSH) && (toTicked ? row.ticked : row.cleared).kind == TWEAK_DWORD) {
            bool held = false;
            for (const FlushedKey &flushed : flushes.flushes())
                held = held || flushed.Held(row.name, (toTicked ? row.ticked : row.cleared).number);
            EXPECT_TRUE(held) << row.name << ": not flushed after its write";
        }
    }
    EXPECT_EQ(FlushedKeys(table, box), flushes.flushes().size()) << "flushes of box " << box;
}

class TweakCatalogTest : public DeviceTest {};

}  // namespace

// Every plain row of every page and dialog, straight from the tables the program uses:
// with its values missing a box starts as its "missing" stand-ins say; with the values
// ticking writes stored it starts ticked; clearing and ticking it again write, delete
// and flush what its rows say.
TEST_F(TweakCatalogTest, EveryBoxStartsAsItsValuesSayAndWritesItsRows)
{
    int boxes = 0;
    for (int s = 0; s < g_tweakCatalogCount; s++) {
        const TweakSheet &sheet = g_tweakCatalog[s];
        if (!sheet.tweaks) continue;
        const TweakTable &table = *sheet.tweaks;
        SCOPED_TRACE(::testing::Message() << "page " << std::string(sheet.name, sheet.name + wcslen(sheet.name)));
        for (int i = 0; i < table.count; i++) {
            const Tweak &row = table.rows[i];
            DeleteRegValue(RootKey(row.root), row.key, row.name);
            // A key that is only opened must be there for the box to write it.
            if (row.flags & TWEAK_OPEN_TO_WRITE) WriteRegString(RootKey(row.root), row.key, L"Zelvo Rudore Test", L"");
        }
        RunSheet(sheet, [&](HWND page) {
            for (UINT box : BoxesOf(table)) EXPECT_EQ(MissingTicks(table, box), IsTicked(page, box)) << "box " << box << " with its values missing";
        });
        for (int i = 0; i < table.count; i++) Store(table.rows[i], table.rows[i].ticked);
        RunSheet(sheet, [&](HWND page) {
            for (UINT box : BoxesOf(table)) {
                SCOPED_TRACE(::testing::Message() << "box " << box);
                EXPECT_TRUE(IsTicked(page, box)) << "with the values ticking stores";
                TapAndExpectWritten(page, table, box, false);
                TapAndExpectWritten(page, table, box, true);
                boxes++;
            }
        });
    }
    EXPECT_GE(boxes, 60) << "the catalog lost boxes";
}

// Every help button of every page and dialog shows its text in a box captioned "Help",
// owned by the page, with its icon. Every "H" button is in the help table, but the
// two that open the notification options dialog.
TEST_F(TweakCatalogTest, EveryHelpButtonShowsItsTextAndEveryHButtonHasOne)
{
    for (int s = 0; s < g_tweakCatalogCount; s++) {
        const TweakSheet &sheet = g_tweakCatalog[s];
        SCOPED_TRACE(::testing::Message() << "page " << std::string(sheet.name, sheet.name + wcslen(sheet.name)));
        RunSheet(sheet, [&](HWND page) {
            const HelpTable none = {NULL, 0};
            const HelpTable &help = sheet.help ? *sheet.help : none;
            for (int i = 0; i < help.count; i++) {
                SCOPED_TRACE(::testing::Message() << "button " << help.rows[i].button);
                int before = SimMessageBoxCount();
                Tap(page, help.rows[i].button);
                ExpectOneBox(before, page, L"Help", MB_OK | help.rows[i].icon, help.rows[i].text);
            }
            for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                UINT id = (UINT)GetDlgCtrlID(child);
                if (WindowText(child) != L"H" || id == IDC_SMS_HELP || id == IDC_MSN_HELP_OPTIONS) continue;
                bool listed = false;
                for (int i = 0; i < help.count; i++) listed = listed || help.rows[i].button == id;
                EXPECT_TRUE(listed) << "help button " << id << " has no text";
            }
        });
    }
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
