// The tweak mechanism behind every page: what it takes for missing, and never half a
// setting. Then every box, help button and shut key of every page and dialog,
// straight from the tables the program uses.
#include "tests/hosts/host_kit.h"
#include "ui/tweaks.h"
#include "ui/tweak_catalog.h"
#include <algorithm>
#include <fstream>
#include <memory>

namespace {

const wchar_t kScratch[] = L"Software\\Zelvo Rudore Tests";
const wchar_t kOther[] = L"Software\\Zelvo Rudore Tests\\Other";

void Store(const wchar_t *name, DWORD type, const void *data, DWORD bytes)
{
    WriteRegRaw(CU, kScratch, name, type, data, bytes);
}

class TweakTest : public DeviceTest {};

}  // namespace

// A value the mechanism cannot use counts as missing: a number must be a REG_DWORD of
// four bytes, a text a whole REG_SZ with its null that fits. Each row's stand-in for a
// missing value ticks its box, so such a value ticks it too, while a usable value that
// differs leaves it clear. A text too long for its buffer leaves it as it was.
TEST_F(TweakTest, UnusableValuesCountAsMissing)
{
    const UINT number = IDC_SEC_CACHE_SSL, text = IDC_SEC_NO_ACTIVEX;
    const Tweak table[] = {
        {number, HKCU, kScratch, L"number", Dword(5), Dword(5), Dword(5), Dword(6), 0},
        {text, HKCU, kScratch, L"text", Text(L"on"), Text(L"on"), Text(L"on"), DeleteValue(), 0},
    };
    const DWORD six = 6;
    const unsigned long long wide = 6;
    // The longest text a table reads, and one more character.
    std::wstring longest(1023, L'x'), tooLong(1024, L'x');
    const struct {
        UINT box;
        DWORD type;
        const void *data;
        DWORD bytes;
        bool ticked;
    } stored[] = {
        {number, REG_SZ, L"6", 4, true}, {number, REG_BINARY, &six, 4, true}, {number, REG_DWORD, &six, 2, true},
        {number, REG_QWORD, &wide, 8, true}, {number, REG_DWORD, &six, 4, false}, {text, REG_EXPAND_SZ, L"off", 8, true},
        {text, REG_SZ, L"offx", 6, true}, {text, REG_SZ, L"off", 5, true}, {text, REG_SZ, L"", 0, true},
        {text, REG_SZ, L"", 2, false}, {text, REG_SZ, tooLong.c_str(), 2050, true}, {text, REG_SZ, longest.c_str(), 2048, false},
    };
    RunInternetPage(TAB_SECURITY, [&](HWND page) {
        for (auto &c : stored) {
            Store(c.box == number ? L"number" : L"text", c.type, c.data, c.bytes);
            CheckDlgButton(page, c.box, BST_UNCHECKED);
            EXPECT_TRUE(LoadTweaks(page, {table, 2}));
            EXPECT_EQ(c.ticked, IsTicked(page, c.box)) << &c - stored;
        }
        EXPECT_FALSE(WriteTweak(page, {table, 2}, IDOK)) << "a control without rows";
    });
    HKEY key;
    ASSERT_TRUE(OpenTweakKey(CU, kScratch, &key));
    struct {
        wchar_t text[8];
        wchar_t canary[4];
    } buffer = {L"preset", L"ok!"};
    Store(L"text", REG_SZ, L"12345678", 18);
    EXPECT_FALSE(ReadTextValue(key, L"text", buffer.text, 8));
    EXPECT_STREQ(L"preset", buffer.text);
    Store(L"text", REG_SZ, L"1234567", 16);
    EXPECT_TRUE(ReadTextValue(key, L"text", buffer.text, 8));
    EXPECT_STREQ(L"1234567", buffer.text);
    EXPECT_STREQ(L"ok!", buffer.canary) << "the buffer was overrun";
    RegCloseKey(key);
}

namespace {
// Fills the stack below the caller with `address`.
__attribute__((noinline)) void FillStackWith(const void *address)
{
    const void *volatile fill[2048];
    for (auto &slot : fill) slot = address;
}
}  // namespace

// A box bound to two keys whose later key cannot be opened writes neither: never half
// a setting. The stack is first filled with the shut row's address, so that a write
// that looked for a key it never opened finds one and ends rather than running on.
TEST_F(TweakTest, ABoxWhoseLaterKeyIsShutWritesNeitherKey)
{
    const Tweak table[] = {
        {IDC_SEC_NO_SCRIPTS, HKCU, kScratch, L"first", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_FLUSH},
        {IDC_SEC_NO_SCRIPTS, HKCU, kOther, L"second", Dword(1), Nothing(), Dword(1), Dword(0), 0},
    };
    RunInternetPage(TAB_SECURITY, [&](HWND page) {
        KeyLockout lockout(CU, kOther);
        ASSERT_TRUE(lockout.locked());
        CheckDlgButton(page, IDC_SEC_NO_SCRIPTS, BST_CHECKED);
        FlushRecorder flushes;
        FillStackWith(&table[1]);
        EXPECT_FALSE(WriteTweak(page, {table, 2}, IDC_SEC_NO_SCRIPTS));
        EXPECT_FALSE(RegValueExists(CU, kScratch, L"first"));
        EXPECT_EQ(0u, flushes.flushes().size());
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

// ---- Every page and dialog, through the catalog of their tables ----

namespace {

// Opens the sheet's page or dialog as the main window does and runs `script` with it.
void RunSheet(const TweakSheet &sheet, const std::function<void(HWND page)> &script)
{
    sheet.tab < 0 ? RunHost(sheet.openedTemplate, sheet.openedProcedure, script)
                  : RunCategoryPage(sheet.openedTemplate, sheet.openedProcedure, sheet.tab, script);
}

std::string Narrow(const wchar_t *text)
{
    char utf8[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    return utf8;
}

// A value as the reference of every trick writes it.
std::string Written(const TweakValue &value)
{
    if (value.kind == TWEAK_DWORD) return std::to_string(value.number);
    if (value.kind == TWEAK_TEXT) return "`\"" + Narrow(value.text) + "\"`";
    return value.kind == TWEAK_DELETE ? "value deleted" : "nothing";
}

std::string Named(const TweakSheet &sheet)
{
    return "page " + Narrow(sheet.name);
}

bool SameKey(const Tweak &a, const Tweak &b)
{
    return a.root == b.root && SameKeyName(a.key, b.key);
}

// Puts a row's value into the registry as the page would write it.
void Store(const Tweak &row, const TweakValue &value)
{
    HKEY root = RootKey(row.root);
    if (value.kind == TWEAK_DWORD) WriteRegDword(root, row.key, row.name, value.number);
    if (value.kind == TWEAK_TEXT) WriteRegString(root, row.key, row.name, value.text);
    if (value.kind == TWEAK_DELETE) DeleteRegValue(root, row.key, row.name);
}

// Every value of the table deleted, then each row's value for that state stored.
void StoreAll(const TweakTable &table, bool ticked)
{
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        DeleteRegValue(RootKey(row.root), row.key, row.name);
        // A key that is only opened must be there for the box to write it.
        if (row.flags & TWEAK_OPEN_TO_WRITE) WriteRegString(RootKey(row.root), row.key, L"Zelvo Rudore Test", L"");
    }
    if (ticked)
        for (int i = 0; i < table.count; i++) Store(table.rows[i], table.rows[i].ticked);
}

// What the registry holds of a row's value, written the same way; a text must carry
// its null.
std::string Held(const Tweak &row)
{
    HKEY root = RootKey(row.root);
    DWORD number, type, bytes;
    std::wstring text;
    if (ReadRegDword(root, row.key, row.name, &number)) return Written(Dword(number));
    if (ReadRegString(root, row.key, row.name, &text) && RegValueShape(root, row.key, row.name, &type, &bytes))
        return bytes == (text.size() + 1) * sizeof(wchar_t) ? Written(Text(text.c_str())) : "a text without its null";
    return RegValueExists(root, row.key, row.name) ? "another type" : Written(DeleteValue());
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

// Whether the row's value as stored now, or as missing when its key is `shut`, ticks its box.
bool RowTicks(const Tweak &row, bool shut)
{
    HKEY root = RootKey(row.root);
    TweakValue held = row.missing;
    DWORD number;
    std::wstring text;
    if (!shut && row.tickedWhen.kind == TWEAK_DWORD && ReadRegDword(root, row.key, row.name, &number)) held = Dword(number);
    if (!shut && row.tickedWhen.kind == TWEAK_TEXT && ReadRegString(root, row.key, row.name, &text)) held = Text(text.c_str());
    if (held.kind != row.tickedWhen.kind) return false;
    bool equal = held.kind == TWEAK_TEXT ? wcscmp(held.text, row.tickedWhen.text) == 0 : held.number == row.tickedWhen.number;
    return equal != ((row.flags & TWEAK_TICK_UNLESS) != 0);
}

bool IsShut(const Tweak &row, const std::vector<const Tweak *> &shut)
{
    return std::any_of(shut.begin(), shut.end(), [&](const Tweak *key) { return SameKey(*key, row); });
}

// How every box reads when its page opens with the keys `shut` closed, in the
// mechanism's order: a box that cannot create a key it reads stops the reading there.
std::vector<bool> ExpectedTicks(const TweakTable &table, const std::vector<const Tweak *> &shut)
{
    std::vector<bool> ticks;
    bool stopped = false;
    for (UINT box : BoxesOf(table)) {
        bool read = false, ticked = true;
        for (int i = 0; i < table.count; i++) {
            const Tweak &row = table.rows[i];
            if (row.control != box || row.tickedWhen.kind == TWEAK_NONE) continue;
            bool closed = IsShut(row, shut);
            stopped = stopped || (closed && (row.flags & TWEAK_CREATE_TO_READ));
            read = true;
            ticked = ticked && RowTicks(row, closed);
        }
        ticks.push_back(!stopped && read && ticked);
    }
    return ticks;
}

// A tap on the box, then every row's value as the table says a tap to that state
// writes it, and the flushes it makes.
void TapAndExpectWritten(HWND page, const TweakTable &table, UINT box, bool toTicked)
{
    std::vector<std::string> before;
    for (int i = 0; i < table.count; i++) before.push_back(Held(table.rows[i]));
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    Tap(page, box);
    ASSERT_EQ(toTicked, IsTicked(page, box)) << "the tap on box " << box << " was not taken";
    for (int i = 0; i < table.count; i++) {
        const Tweak &row = table.rows[i];
        if (row.control != box) continue;
        // A row that writes nothing holds what a row of the same value (read and
        // written under names of another case) writes.
        TweakValue written = toTicked ? row.ticked : row.cleared;
        for (int j = 0; j < table.count && written.kind == TWEAK_NONE; j++) {
            const Tweak &other = table.rows[j];
            if (other.control == box && SameKey(other, row) && SameKeyName(other.name, row.name))
                written = toTicked ? other.ticked : other.cleared;
        }
        EXPECT_EQ(written.kind == TWEAK_NONE ? before[i] : Written(written), Held(row)) << row.key << " " << row.name << (toTicked ? " ticked" : " cleared");
        const TweakValue &own = toTicked ? row.ticked : row.cleared;
        bool flushed = std::any_of(flushes.flushes().begin(), flushes.flushes().end(),
                                   [&](const FlushedKey &key) { return key.Held(row.name, own.number); });
        EXPECT_TRUE(flushed || !(row.flags & TWEAK_FLUSH) || own.kind != TWEAK_DWORD) << row.name << ": not flushed after its write";
    }
    EXPECT_EQ(KeysOf(table, box, TWEAK_FLUSH).size(), flushes.flushes().size()) << "flushes of box " << box;
}

class TweakCatalogTest : public DeviceTest {};

}  // namespace

// Every plain row of every page and dialog: with its values missing a box starts as its
// "missing" stand-ins say; with the values ticking writes stored it starts ticked;
// clearing and ticking it again write, delete and flush what its rows say.
TEST_F(TweakCatalogTest, EveryBoxStartsAsItsValuesSayAndWritesItsRows)
{
    int boxes = 0;
    for (int s = 0; s < g_tweakCatalogCount; s++) {
        const TweakSheet &sheet = g_tweakCatalog[s];
        if (!sheet.tweaks) continue;
        const TweakTable &table = *sheet.tweaks;
        SCOPED_TRACE(Named(sheet));
        StoreAll(table, false);
        std::vector<bool> missing = ExpectedTicks(table, {});
        RunSheet(sheet, [&](HWND page) {
            for (size_t b = 0; b < missing.size(); b++)
                EXPECT_EQ(missing[b], IsTicked(page, BoxesOf(table)[b])) << "box " << BoxesOf(table)[b] << " with its values missing";
        });
        StoreAll(table, true);
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

// The test above takes its values from the tables themselves; the reference of every
// trick, docs/tricks.md, holds them apart (a check fails when it no longer matches the
// tables it was written from), so a wrong value in a table is caught against it.
TEST_F(TweakCatalogTest, EveryRowReadsAndWritesWhatTheReferenceSays)
{
    std::string source = __FILE__;
    std::ifstream reference("Z:" + source.substr(0, source.rfind("tests/hosts/")) + "docs/tricks.md");
    std::string text((std::istreambuf_iterator<char>(reference)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty()) << "no docs/tricks.md beside the tests' sources";
    const char *roots[] = {"HKCR", "HKCU", "HKLM"};
    for (int s = 0; s < g_tweakCatalogCount; s++)
        for (int i = 0; g_tweakCatalog[s].tweaks && i < g_tweakCatalog[s].tweaks->count; i++) {
            const Tweak &row = g_tweakCatalog[s].tweaks->rows[i];
            std::string when = row.tickedWhen.kind == TWEAK_NONE ? "not read (only written)"
                               : (row.flags & TWEAK_TICK_UNLESS ? "anything but " : "") + Written(row.tickedWhen) +
                                     (row.missing.kind == TWEAK_NONE ? "; missing: not ticked" : "; missing counts as " + Written(row.missing));
            std::string place = "`" + std::string(roots[row.root]) + "\\" + Narrow(row.key + (row.key[0] == L'\\')) + "\\" +
                               (*row.name ? Narrow(row.name) : "(default)") + "` | ";
            // After the value's place and type: what it reads and writes.
            std::string values = " | " + when + " | " + Written(row.ticked) + " | " + Written(row.cleared) + " | ";
            bool found = false;
            for (size_t at = text.find(place); at != std::string::npos && !found; at = text.find(place, at + 1))
                found = text.find(values, at + place.size()) == text.find(" | ", at + place.size());
            EXPECT_TRUE(found) << place << values;
        }
}

// Every box of every page and dialog with its keys shut, as keys another program
// holds: each box reads as its shut values missing (a key the page must create to
// read stops the reading, leaving the later boxes clear); a tap writes nothing and
// announces nothing, and every box bound to other keys still writes.
TEST_F(TweakCatalogTest, ABoxWhoseKeysAreShutWritesNothingAndTheOthersStillWork)
{
    int shutBoxes = 0;
    for (int s = 0; s < g_tweakCatalogCount; s++) {
        const TweakSheet &sheet = g_tweakCatalog[s];
        if (!sheet.tweaks) continue;
        const TweakTable &table = *sheet.tweaks;
        const std::vector<UINT> boxes = BoxesOf(table);
        for (UINT box : boxes) {
            SCOPED_TRACE(::testing::Message() << Named(sheet) << ", box " << box);
            const std::vector<const Tweak *> shut = KeysOf(table, box);
            // The box's values are those a tap would change, so that a write shows.
            StoreAll(table, true);
            std::vector<bool> ticks;
            for (bool ticked : {false, true}) {
                for (int i = 0; i < table.count; i++)
                    if (table.rows[i].control == box) Store(table.rows[i], ticked ? table.rows[i].ticked : table.rows[i].cleared);
                ticks = ExpectedTicks(table, shut);
                if (!ticks[std::find(boxes.begin(), boxes.end(), box) - boxes.begin()]) break;
            }
            std::vector<std::string> before;
            for (int i = 0; i < table.count; i++) before.push_back(Held(table.rows[i]));
            {
                std::vector<std::unique_ptr<KeyLockout>> lockouts;
                for (const Tweak *key : shut) {
                    lockouts.emplace_back(new KeyLockout(RootKey(key->root), key->key));
                    ASSERT_TRUE(lockouts.back()->locked()) << key->key;
                }
                RunSheet(sheet, [&](HWND page) {
                    for (size_t b = 0; b < boxes.size(); b++) EXPECT_EQ(ticks[b], IsTicked(page, boxes[b])) << "box " << boxes[b];
                    for (UINT other : boxes) {
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
            for (int i = 0; i < table.count; i++)
                EXPECT_TRUE(!IsShut(table.rows[i], shut) || before[i] == Held(table.rows[i])) << table.rows[i].name << " was written";
            shutBoxes++;
        }
    }
    EXPECT_GE(shutBoxes, 60) << "the catalog lost boxes";
}

// Every help button of every page and dialog shows its text in a box captioned "Help",
// owned by the page, with its icon. Every "H" button is in the help table, but the
// two that open the notification options dialog.
TEST_F(TweakCatalogTest, EveryHelpButtonShowsItsTextAndEveryHButtonHasOne)
{
    for (int s = 0; s < g_tweakCatalogCount; s++) {
        const TweakSheet &sheet = g_tweakCatalog[s];
        SCOPED_TRACE(Named(sheet));
        const HelpTable help = sheet.help ? *sheet.help : HelpTable{NULL, 0};
        RunSheet(sheet, [&](HWND page) {
            for (int i = 0; i < help.count; i++) {
                SCOPED_TRACE(::testing::Message() << "button " << help.rows[i].button);
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
    }
}
