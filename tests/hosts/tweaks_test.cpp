// The tweak mechanism behind every page: what it takes for missing, and never half a
// setting. Then every box, help button and shut key of every page and dialog,
// straight from the tables the program uses.
#include "tests/hosts/host_kit.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/tweak_catalog.h"
#include <algorithm>
#include <list>

namespace {
const wchar_t kScratch[] = L"Software\\Zelvo Rudore Tests";
class TweakTest : public DeviceTest {};
}  // namespace

// A value the mechanism cannot use counts as missing: a number must be a REG_DWORD of
// four bytes, a text a whole REG_SZ with its null that fits. Each row's stand-in for a
// missing value ticks its box, so such a value ticks it too, while a usable value that
// differs leaves it clear. And never half a setting: a box bound to two keys whose later
// key cannot be opened writes neither.
TEST_F(TweakTest, UnusableValuesCountAsMissingAndABoxWhoseLaterKeyIsShutWritesNeither)
{
    const UINT number = IDC_SEC_CACHE_SSL, text = IDC_SEC_NO_ACTIVEX, both = IDC_SEC_NO_SCRIPTS;
    const Tweak table[] = {
        {number, HKCU, kScratch, L"number", Dword(5), Dword(5), Dword(5), Dword(6), 0},
        {text, HKCU, kScratch, L"text", Text(L"on"), Text(L"on"), Text(L"on"), DeleteValue(), 0},
        {both, HKCU, kScratch, L"first", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_FLUSH},
        {both, HKCU, L"Software\\Zelvo Rudore Tests\\Other", L"second", Dword(1), Nothing(), Dword(1), Dword(0), 0},
    };
    const DWORD six = 6;
    const unsigned long long wide = 6;
    // The longest text a table reads, and one more character.
    const std::wstring longest(1023, L'x'), tooLong(1024, L'x');
    const struct { UINT box; DWORD type; const void *data; DWORD bytes; bool ticked; } stored[] = {
        {number, REG_SZ, L"6", 4, true}, {number, REG_BINARY, &six, 4, true}, {number, REG_DWORD, &six, 2, true},
        {number, REG_QWORD, &wide, 8, true}, {number, REG_DWORD, &six, 4, false}, {text, REG_EXPAND_SZ, L"off", 8, true},
        {text, REG_SZ, L"offx", 6, true}, {text, REG_SZ, L"off", 5, true}, {text, REG_SZ, L"", 0, true},
        {text, REG_SZ, L"", 2, false}, {text, REG_SZ, tooLong.c_str(), 2050, true}, {text, REG_SZ, longest.c_str(), 2048, false},
    };
    RunInternetPage(TAB_SECURITY, [&](HWND page) {
        for (auto &c : stored) {
            WriteRegRaw(CU, kScratch, c.box == number ? L"number" : L"text", c.type, c.data, c.bytes);
            CheckDlgButton(page, c.box, BST_UNCHECKED);
            EXPECT_TRUE(LoadTweaks(page, {table, 2}));
            EXPECT_EQ(c.ticked, IsTicked(page, c.box)) << &c - stored;
        }
        EXPECT_FALSE(WriteTweak(page, {table, 4}, IDOK)) << "a control without rows";
        KeyLockout lockout(CU, table[3].key);
        ASSERT_TRUE(lockout.locked());
        CheckDlgButton(page, both, BST_CHECKED);
        FlushRecorder flushes;
        EXPECT_FALSE(WriteTweak(page, {table, 4}, both));
        EXPECT_FALSE(RegValueExists(CU, kScratch, L"first"));
        EXPECT_EQ(0u, flushes.flushes().size());
    });
}

// The cases the page tests do not reach: signs without digits, white space of every
// kind, and numbers beyond an int.
TEST(ScanNumber, ReadsLikePercentD)
{
    const std::pair<const wchar_t *, int> cases[] = {{L" \t\r\n-7 days", -7}, {L"-", 110}, {L"- 5", 110}, {L"+-5", 110},
        {L"99999999999999999999", 2147483647}, {L"-99999999999", -2147483647 - 1}, {L"-2147483648", -2147483647 - 1}};
    for (auto &c : cases) EXPECT_EQ(c.second, ScanNumber(c.first, 110)) << c.first;
}

// ---- Every page and dialog, through the catalog of their tables ----

namespace {

// Opens the sheet's page or dialog as the main window does and runs `script` with it.
void RunSheet(const TweakSheet &sheet, const std::function<void(HWND page)> &script)
{
    sheet.tab < 0 ? RunHost(sheet.openedTemplate, sheet.openedProcedure, script)
                  : RunCategoryPage(sheet.openedTemplate, sheet.openedProcedure, sheet.tab, script);
}

// The tables are plain ASCII.
std::string Narrow(const wchar_t *text) { return std::string(text, text + wcslen(text)); }

// A value, to compare what the registry holds with what a table says.
std::string Describe(const TweakValue &value)
{
    if (value.kind == TWEAK_DWORD) return "number " + std::to_string(value.number);
    if (value.kind == TWEAK_TEXT) return "text \"" + Narrow(value.text) + "\"";
    return value.kind == TWEAK_DELETE ? "absent" : "untouched";
}

bool SameKey(const Tweak &a, const Tweak &b) { return a.root == b.root && SameKeyName(a.key, b.key); }

// Puts a row's value into the registry as the page would write it.
void Store(const Tweak &row, const TweakValue &value)
{
    HKEY root = RootKey(row.root);
    if (value.kind == TWEAK_DWORD) WriteRegDword(root, row.key, row.name, value.number);
    if (value.kind == TWEAK_TEXT) WriteRegString(root, row.key, row.name, value.text);
    if (value.kind == TWEAK_DELETE) DeleteRegValue(root, row.key, row.name);
}

// Every value of the table deleted, then, when `ticked`, each row's ticking value stored.
void StoreAll(const TweakTable &table, bool ticked)
{
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        DeleteRegValue(RootKey(row.root), row.key, row.name);
        // A key that is only opened must be there for the box to write it.
        if (row.flags & TWEAK_OPEN_TO_WRITE) WriteRegString(RootKey(row.root), row.key, L"Zelvo Rudore Test", L"");
    }
    for (int i = 0; ticked && i < table.count; i++) Store(table.rows[i], table.rows[i].ticked);
}

// What the registry holds of each row's value, written the same way; a text must carry
// its null.
std::vector<std::string> HeldAll(const TweakTable &table)
{
    std::vector<std::string> held;
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        HKEY root = RootKey(row.root);
        DWORD number, type, bytes;
        std::wstring text;
        if (ReadRegDword(root, row.key, row.name, &number)) held.push_back(Describe(Dword(number)));
        else if (ReadRegString(root, row.key, row.name, &text) && RegValueShape(root, row.key, row.name, &type, &bytes))
            held.push_back(bytes == (text.size() + 1) * sizeof(wchar_t) ? Describe(Text(text.c_str())) : "a text without its null");
        else held.push_back(RegValueExists(root, row.key, row.name) ? "another type" : Describe(DeleteValue()));
    }
    return held;
}

std::vector<UINT> BoxesOf(const TweakTable &table)
{
    std::vector<UINT> boxes;
    for (int i = 0; i < table.count; i++)
        if (std::find(boxes.begin(), boxes.end(), table.rows[i].control) == boxes.end()) boxes.push_back(table.rows[i].control);
    return boxes;
}

// The keys of a box's rows that have all of `flags`, each key once (by its first row).
std::vector<const Tweak *> KeysOf(const TweakTable &table, UINT box, DWORD flags = 0)
{
    std::vector<const Tweak *> keys;
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        if (row.control != box || (row.flags & flags) != flags) continue;
        if (std::none_of(keys.begin(), keys.end(), [&](const Tweak *key) { return SameKey(*key, row); })) keys.push_back(&row);
    }
    return keys;
}

bool IsShut(const Tweak &row, const std::vector<const Tweak *> &shut)
{
    return std::any_of(shut.begin(), shut.end(), [&](const Tweak *key) { return SameKey(*key, row); });
}

// Each box and whether it is ticked, in the table's order.
typedef std::vector<std::pair<UINT, bool>> Ticks;
Ticks TicksOf(HWND page, const TweakTable &table)
{
    Ticks ticks;
    for (UINT box : BoxesOf(table)) ticks.push_back({box, IsTicked(page, box)});
    return ticks;
}

// The ticks the sheet opens with as the registry holds its values now.
Ticks Opened(const TweakSheet &sheet, const TweakTable &table)
{
    Ticks ticks;
    RunSheet(sheet, [&](HWND page) { ticks = TicksOf(page, table); });
    return ticks;
}

// The ticks with the values in the `shut` keys read as missing: as they open with those
// values deleted, except that reading stops at the first box that must create a shut
// key to read it, and that box and the later ones stay clear.
Ticks ShutTicks(const TweakSheet &sheet, const TweakTable &table, const std::vector<const Tweak *> &shut)
{
    for (int i = 0; i < table.count; i++)
        if (IsShut(table.rows[i], shut)) DeleteRegValue(RootKey(table.rows[i].root), table.rows[i].key, table.rows[i].name);
    Ticks ticks = Opened(sheet, table);
    bool stopped = false;
    for (auto &tick : ticks) {
        for (int i = 0; i < table.count; i++) {
            const Tweak &row = table.rows[i];
            stopped = stopped || (row.control == tick.first && row.tickedWhen.kind != TWEAK_NONE &&
                                  (row.flags & TWEAK_CREATE_TO_READ) && IsShut(row, shut));
        }
        tick.second = tick.second && !stopped;
    }
    return ticks;
}

// A tap on the box, then every row's value as the table says a tap to that state
// writes it, and the flushes it makes. (A row that writes nothing may share its value
// with a row that does, under a name of another case.)
void TapAndExpectWritten(HWND page, const TweakTable &table, UINT box, bool toTicked)
{
    FlushRecorder flushes;
    Tap(page, box);
    ASSERT_EQ(toTicked, IsTicked(page, box)) << "the tap on box " << box << " was not taken";
    const std::vector<std::string> held = HeldAll(table);
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        const TweakValue &written = toTicked ? row.ticked : row.cleared;
        if (row.control != box || written.kind == TWEAK_NONE) continue;
        EXPECT_EQ(Describe(written), held[i]) << row.key << " " << row.name << (toTicked ? " ticked" : " cleared");
        bool flushed = std::any_of(flushes.flushes().begin(), flushes.flushes().end(),
                                   [&](const FlushedKey &key) { return key.Held(row.name, written.number); });
        EXPECT_TRUE(flushed || !(row.flags & TWEAK_FLUSH) || written.kind != TWEAK_DWORD) << row.name << ": not flushed after its write";
    }
    EXPECT_EQ(KeysOf(table, box, TWEAK_FLUSH).size(), flushes.flushes().size()) << "flushes of box " << box;
}

using TweakCatalogTest = DeviceTest;

}  // namespace

// One walk over every page and dialog of the catalog. With its values missing a box
// starts as with its rows' "missing" stand-ins stored, and clear when a row has none or
// none of its rows is read; with the ticking values stored it starts ticked, and clearing
// and ticking it write, delete and flush what its rows say. Every help button shows its
// text captioned "Help", with its icon; every "H" button has one, but the two that open
// the notification options. With one box's keys shut, as another program holds them,
// every box reads as the shut values missing (a key that must be created to be read
// stops the reading); a tap on the box writes and announces nothing, and the boxes bound
// to other keys still write.
TEST_F(TweakCatalogTest, EverySheetReadsWritesAndHelpsAsItsTablesSay)
{
    int boxes = 0;
    for (int s = 0; s < TweakSheetCount(); s++) {
        const TweakSheet &sheet = TweakSheetAt(s);
        const TweakTable table = sheet.tweaks ? *sheet.tweaks : TweakTable{NULL, 0};
        const HelpTable help = sheet.help ? *sheet.help : HelpTable{NULL, 0};
        SCOPED_TRACE(Narrow(sheet.name));
        StoreAll(table, false);
        Ticks missing;
        RunSheet(sheet, [&](HWND page) {
            missing = TicksOf(page, table);
            for (int i = 0; i < help.count; i++) {
                SCOPED_TRACE(::testing::Message() << "help button " << help.rows[i].button);
                int before = SimMessageBoxCount();
                Tap(page, help.rows[i].button);
                ExpectOneBox(before, page, L"Help", MB_OK | help.rows[i].icon, help.rows[i].text);
            }
            for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                UINT id = (UINT)GetDlgCtrlID(child);
                if (WindowText(child) != L"H" || id == IDC_SMS_HELP || id == IDC_MSN_HELP_OPTIONS) continue;
                EXPECT_TRUE(std::any_of(help.rows, help.rows + help.count, [&](const TweakHelp &row) { return row.button == id; }))
                    << "help button " << id << " has no text";
            }
        });
        if (!table.count) continue;
        for (const auto &tick : missing) {
            bool read = false, unticking = false;
            for (int i = 0; i < table.count; i++) {
                const Tweak &row = table.rows[i];
                if (row.control != tick.first || row.tickedWhen.kind == TWEAK_NONE) continue;
                read = true;
                unticking = unticking || row.missing.kind == TWEAK_NONE;
            }
            EXPECT_TRUE((read && !unticking) || !tick.second) << "box " << tick.first << " ticked by nothing read, or by a missing value";
        }
        for (int i = 0; i < table.count; i++) Store(table.rows[i], table.rows[i].missing);
        EXPECT_EQ(missing, Opened(sheet, table)) << "the stand-ins stored read otherwise than missing values";
        StoreAll(table, true);
        RunSheet(sheet, [&](HWND page) {
            for (UINT box : BoxesOf(table)) {
                SCOPED_TRACE(::testing::Message() << "box " << box);
                EXPECT_TRUE(IsTicked(page, box)) << "with the values ticking writes stored";
                TapAndExpectWritten(page, table, box, false);
                TapAndExpectWritten(page, table, box, true);
            }
        });
        for (UINT box : BoxesOf(table)) {
            SCOPED_TRACE(::testing::Message() << "box " << box << " shut");
            const std::vector<const Tweak *> shut = KeysOf(table, box);
            StoreAll(table, true);
            const Ticks ticks = ShutTicks(sheet, table, shut);
            StoreAll(table, true);
            // The box's values are those a tap from how it reads would change, so that a write shows.
            const bool shown = std::count(ticks.begin(), ticks.end(), std::make_pair(box, true)) > 0;
            for (int i = 0; i < table.count; i++)
                if (table.rows[i].control == box) Store(table.rows[i], shown ? table.rows[i].ticked : table.rows[i].cleared);
            const std::vector<std::string> before = HeldAll(table);
            {
                std::list<KeyLockout> lockouts;
                for (const Tweak *key : shut) {
                    lockouts.emplace_back(RootKey(key->root), key->key);
                    ASSERT_TRUE(lockouts.back().locked()) << key->key;
                }
                RunSheet(sheet, [&](HWND page) {
                    EXPECT_EQ(ticks, TicksOf(page, table)) << "boxes and ticks, in the table's order";
                    for (UINT other : BoxesOf(table)) {
                        size_t closed = 0, keys = KeysOf(table, other).size();
                        for (const Tweak *key : KeysOf(table, other)) closed += IsShut(*key, shut);
                        if (closed == 0 && IsEnabled(page, other)) TapAndExpectWritten(page, table, other, !IsTicked(page, other));
                        if (closed < keys) continue;
                        int from = SimBroadcastCount();
                        Tap(page, other);
                        EXPECT_TRUE(SettingsChangesSince(from).empty()) << "box " << other << " announced what it did not write";
                    }
                });
            }
            const std::vector<std::string> after = HeldAll(table);
            for (int i = 0; i < table.count; i++)
                EXPECT_TRUE(!IsShut(table.rows[i], shut) || before[i] == after[i]) << table.rows[i].name << " was written";
            boxes++;
        }
    }
    EXPECT_GE(boxes, 60) << "the catalog lost boxes";
}
