// Writes docs/tricks.md, the reference of every trick, from the program's own tweak
// tables, help tables and dialog templates, so that the reference cannot drift from
// what the pages do. Every control of every page must be accounted for: a plain row,
// a help button, a static label, or a line of kSpecialControls below; a control that
// is none of these stops the generator, naming it.
//   make_tricks.exe OUT.md          writes the reference
//   make_tricks.exe --check FILE.md fails (exit 1) when FILE.md differs from it
#include <windows.h>
#include <ctype.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "app/rudore.h"
#include "resource.h"
#include "screen_names.h"
#include "ui/template_walk.h"
#include "ui/tweak_catalog.h"

// What the controls that are not plain rows do, in the user's words, by page template
// and control. A control whose `what` is NULL goes with the line before it (the edit
// field and spinner of a box, say) and gets no line of its own. A plain row given a
// line here (a refusal, a notice) has it as a note under its page's table.
struct SpecialControl {
    UINT page;
    UINT control;
    const char *what;
};

static const SpecialControl kSpecialControls[] = {
#include "other_controls.inc"
};

static std::string g_out;
static int g_faults;

static void Put(const std::string &text) { g_out += text; }

static std::string Utf8(LPCWSTR text, int length = -1)
{
    if (!text) return std::string();
    char buffer[2048];
    int written = WideCharToMultiByte(CP_UTF8, 0, text, length, buffer, sizeof buffer - 1, NULL, NULL);
    if (written <= 0) return std::string();
    if (length < 0) written--;  // the terminating null
    return std::string(buffer, written);
}

// The program's own texts (labels, help) as Markdown shows them: its backslashes and
// other marks stay as they are, and a line break stays a line break.
static std::string Plain(const std::string &text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i], next = i + 1 < text.size() ? text[i + 1] : ' ';
        // A backslash escapes the mark after it, so only one before a mark needs escaping.
        if ((c == '\\' && ispunct((unsigned char)next)) || c == '*' || c == '_' || c == '`' || c == '<' ||
            c == '[' || c == ']')
            plain += '\\';
        if (c == '\n') plain += "<br>";
        else if (c != '\r') plain += c;
    }
    return plain;
}

// Table cells must not break the table.
static std::string Cell(const std::string &text)
{
    std::string cell;
    for (char c : text) {
        if (c == '|') cell += "\\|";
        else if (c == '\n') cell += "<br>";
        else if (c != '\r') cell += c;
    }
    return cell;
}

static std::string RootName(TweakRoot root)
{
    switch (root) {
    case HKCR: return "HKCR";
    case HKCU: return "HKCU";
    case HKLM: return "HKLM";
    }
    return "?";
}

static std::string ValueText(const TweakValue &value)
{
    char number[32];
    switch (value.kind) {
    case TWEAK_DWORD:
        snprintf(number, sizeof number, "%lu", (unsigned long)value.number);
        return number;
    case TWEAK_TEXT: return "`\"" + Utf8(value.text) + "\"`";
    case TWEAK_DELETE: return "value deleted";
    }
    return "nothing";
}

static std::string TypeOf(const Tweak &row)
{
    const TweakValue *values[] = {&row.tickedWhen, &row.ticked, &row.cleared, &row.missing};
    for (const TweakValue *value : values) {
        if (value->kind == TWEAK_DWORD) return "REG_DWORD";
        if (value->kind == TWEAK_TEXT) return "REG_SZ";
    }
    return "(any)";   // a value that is only ever deleted
}

static std::string TickedWhen(const Tweak &row)
{
    if (row.tickedWhen.kind == TWEAK_NONE) return "not read (only written)";
    std::string when = (row.flags & TWEAK_TICK_UNLESS ? "anything but " : "") + ValueText(row.tickedWhen);
    if (row.missing.kind == TWEAK_NONE) return when + "; missing: not ticked";
    return when + "; missing counts as " + ValueText(row.missing);
}

static std::string KeyNotes(const Tweak &row)
{
    std::string notes = row.flags & TWEAK_FLUSH ? "yes" : "no";
    if (row.flags & TWEAK_CREATE_TO_READ) notes += "; key created when the page opens";
    if (row.flags & TWEAK_OPEN_TO_WRITE) notes += "; written only where the key exists";
    return notes;
}

// One dialog template's controls, in template order.
struct TemplateControl {
    UINT id;
    uint16_t classOrdinal;
    std::string className;
    std::string label;
    int centre;  // vertical centre, dialog units
    int left;
    BOOL labelOnly;  // a static or a group box: nothing to tap
};

static int LoadControls(UINT templateId, TemplateControl *controls, int most)
{
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    if (!found) return 0;
    const void *bytes = LockResource(LoadResource(g_hInstance, found));
    TemplateWalk walk;
    TemplateHeader header;
    if (!TemplateWalkBegin(&walk, bytes, SizeofResource(g_hInstance, found), &header)) return 0;
    int count = 0;
    TemplateItem item;
    while (count < most && TemplateWalkNext(&walk, &item)) {
        TemplateControl &control = controls[count++];
        uint16_t text[256];
        control.id = item.id;
        control.classOrdinal = TemplateClassOrdinal(&item.windowClass);
        size_t length = TemplateFieldText(&item.windowClass, text, 256);
        control.className = Utf8((LPCWSTR)text, (int)length);
        length = TemplateFieldText(&item.title, text, 256);
        control.label = Utf8((LPCWSTR)text, (int)length);
        control.centre = item.y + item.cy / 2;
        control.left = item.x;
        control.labelOnly = control.classOrdinal == TEMPLATE_CLASS_STATIC ||
                             (control.classOrdinal == TEMPLATE_CLASS_BUTTON && (item.style & 0x0F) == BS_GROUPBOX);
    }
    return count;
}

static const TweakHelp *HelpOf(const TweakSheet &sheet, UINT control)
{
    if (!sheet.help) return NULL;
    for (int i = 0; i < sheet.help->count; i++)
        if (sheet.help->rows[i].button == control) return &sheet.help->rows[i];
    return NULL;
}

static BOOL IsRow(const TweakSheet &sheet, UINT control)
{
    if (!sheet.tweaks) return FALSE;
    for (int i = 0; i < sheet.tweaks->count; i++)
        if (sheet.tweaks->rows[i].control == control) return TRUE;
    return FALSE;
}

static const SpecialControl *SpecialOf(UINT page, UINT control)
{
    for (const SpecialControl &special : kSpecialControls)
        if (special.page == page && special.control == control) return &special;
    return NULL;
}

static std::string Quoted(const TemplateControl &control)
{
    if (!control.label.empty()) return "\"" + Plain(control.label) + "\"";
    if (control.classOrdinal == TEMPLATE_CLASS_EDIT) return "edit field";
    if (_stricmp(control.className.c_str(), "msctls_updown32") == 0) return "spinner";
    if (control.classOrdinal == TEMPLATE_CLASS_LISTBOX) return "list";
    if (control.classOrdinal == TEMPLATE_CLASS_COMBOBOX) return "drop-down list";
    return "control " + std::to_string(control.id);
}

// How far apart two controls' lines are; a few dialog units count as the same line.
static int LineDistance(const TemplateControl &a, const TemplateControl &b)
{
    int distance = abs(a.centre - b.centre);
    return distance <= 3 ? 0 : distance;
}

// The control an "H" explains: the labelled control to its left on the nearest line,
// the closest one when a line holds two columns.
static const TemplateControl *ExplainedBy(const TemplateControl *controls, int count, const TemplateControl &button)
{
    const TemplateControl *best = NULL;
    for (int i = 0; i < count; i++) {
        const TemplateControl &other = controls[i];
        if (&other == &button || other.labelOnly || other.label.empty() || other.label == "H") continue;
        if (other.left >= button.left) continue;
        int distance = LineDistance(other, button);
        if (!best || distance < LineDistance(*best, button) ||
            (distance == LineDistance(*best, button) && other.left > best->left))
            best = &other;
    }
    return best;
}

// How the list of other controls names a control: an "H" by what it stands beside, a
// control without a label by the labelled one to its left on its line, if any.
static std::string NameInList(const TemplateControl *controls, int count, const TemplateControl &control)
{
    if (control.label == "H") {
        const TemplateControl *explained = ExplainedBy(controls, count, control);
        return explained ? "\"H\" beside " + Quoted(*explained) : Quoted(control);
    }
    if (!control.label.empty()) return Quoted(control);
    const TemplateControl *beside = NULL;
    for (int i = 0; i < count; i++) {
        const TemplateControl &other = controls[i];
        if (other.label.empty() || other.label == "H" || other.left >= control.left) continue;
        if (LineDistance(other, control) != 0) continue;
        if (!beside || other.left > beside->left) beside = &other;
    }
    return beside ? Quoted(control) + " beside " + Quoted(*beside) : Quoted(control);
}

// The pictures the reference shows, relative to it.
static std::vector<std::string> g_pictures;

static void WriteSheet(const TweakSheet &sheet)
{
    static TemplateControl controls[200];
    int count = LoadControls(sheet.templateId, controls, 200);
    if (!count) {
        fprintf(stderr, "template %u of \"%s\" not found\n", sheet.templateId, Utf8(sheet.name).c_str());
        g_faults++;
        return;
    }
    Put("### " + Utf8(sheet.name) + "\n\n");
    // The page as the program shows it, in portrait, beside its tables.
    std::string picture = "screens/" + ScreenName(sheet) + "-portrait.png";
    g_pictures.push_back(picture);
    Put("<img align=\"right\" width=\"240\" src=\"" + picture + "\" alt=\"" + Utf8(sheet.name) + "\">\n\n");

    if (sheet.tweaks) {
        Put("| Control | Value | Type | Ticked when | Ticking writes | Clearing writes | Flushed |\n");
        Put("|---|---|---|---|---|---|---|\n");
        for (int c = 0; c < count; c++) {
            for (int i = 0; i < sheet.tweaks->count; i++) {
                const Tweak &row = sheet.tweaks->rows[i];
                if (row.control != controls[c].id) continue;
                // A key written with a leading backslash is the same key without it.
                LPCWSTR key = row.key[0] == L'\\' ? row.key + 1 : row.key;
                std::string place = RootName(row.root) + "\\" + Utf8(key) + "\\" +
                                    (row.name && *row.name ? Utf8(row.name) : "(default)");
                Put("| " + Cell(Quoted(controls[c])) + " | `" + Cell(place) + "` | " + TypeOf(row) + " | " +
                    Cell(TickedWhen(row)) + " | " + Cell(ValueText(row.ticked)) + " | " +
                    Cell(ValueText(row.cleared)) + " | " + KeyNotes(row) + " |\n");
            }
        }
        Put("\n");
        // What a plain row does beyond its values (a refusal, a notice), by its label.
        std::string notes;
        for (int c = 0; c < count; c++) {
            const SpecialControl *special = SpecialOf(sheet.templateId, controls[c].id);
            if (special && special->what && IsRow(sheet, controls[c].id))
                notes += "- " + Quoted(controls[c]) + ": " + special->what + "\n";
        }
        if (!notes.empty()) Put("Notes:\n\n" + notes + "\n");
    }

    std::string others;
    for (int c = 0; c < count; c++) {
        const TemplateControl &control = controls[c];
        if (control.labelOnly || IsRow(sheet, control.id) || HelpOf(sheet, control.id))
            continue;
        const SpecialControl *special = SpecialOf(sheet.templateId, control.id);
        if (!special) {
            fprintf(stderr, "\"%s\": control %u (%s) has no row, help or description\n", Utf8(sheet.name).c_str(),
                    control.id, NameInList(controls, count, control).c_str());
            g_faults++;
            continue;
        }
        if (special->what) others += "- " + NameInList(controls, count, control) + ": " + special->what + "\n";
    }
    if (!others.empty()) Put("Other controls:\n\n" + others + "\n");

    // A description of a control the page no longer has, or of one that needs none,
    // would go stale unseen.
    for (const SpecialControl &special : kSpecialControls) {
        if (special.page != sheet.templateId) continue;
        int c = 0;
        while (c < count && controls[c].id != special.control) c++;
        if (c == count || controls[c].labelOnly || HelpOf(sheet, special.control) ||
            (!special.what && IsRow(sheet, special.control))) {
            fprintf(stderr, "\"%s\": the description of control %u describes no control that needs one\n",
                    Utf8(sheet.name).c_str(), special.control);
            g_faults++;
        }
    }

    std::string help;
    for (int c = 0; c < count; c++) {
        const TweakHelp *row = HelpOf(sheet, controls[c].id);
        if (!row) continue;
        const TemplateControl *explained = ExplainedBy(controls, count, controls[c]);
        help += "- \"H\" beside " + (explained ? Quoted(*explained) : std::string("the page")) + ": " +
                Plain(Utf8(row->text)) + "\n";
    }
    if (!help.empty()) Put("Help buttons:\n\n" + help + "\n");
}

static void WriteReference()
{
    Put("# Every trick and what it writes\n\n"
        "Generated from the program's own tweak tables, help tables and dialog templates by\n"
        "`cmake --build build --target tricks`; the tests fail when this file differs from what\n"
        "the program does. Do not edit it by hand.\n\n"
        "For each page of each category of the \"Rudore\" menu:\n\n"
        "- A table of its check boxes that each store fixed values, one row per registry value:\n"
        "  where the value lives (root, key, value name), its type, the stored value that ticks\n"
        "  the box when the page opens (and what a missing value counts as), what ticking and\n"
        "  what clearing the box write, and whether the key is flushed to storage afterwards. A\n"
        "  box bound to several values has a row for each, starts ticked only when all of them\n"
        "  match, and writes them all in the table's order. Unless a row says otherwise, a write\n"
        "  creates a missing key.\n"
        "- Notes on rows that do more than their values say.\n"
        "- The other controls (buttons, number and text fields, spinners, boxes that do more than\n"
        "  store a value) and what each writes.\n"
        "- The help buttons (\"H\") and the text each shows.\n\n"
        "Roots: HKCR is HKEY_CLASSES_ROOT, HKCU HKEY_CURRENT_USER, HKLM HKEY_LOCAL_MACHINE. Labels\n"
        "and texts are quoted as the program shows them, spelling included.\n\n");
    for (const SpecialControl &special : kSpecialControls) {
        int i = 0;
        while (i < TweakSheetCount() && TweakSheetAt(i).templateId != special.page) i++;
        if (i == TweakSheetCount()) {
            fprintf(stderr, "control %u is described for template %u, which no page uses\n", special.control,
                    special.page);
            g_faults++;
        }
    }
    LPCWSTR category = NULL;
    for (int i = 0; i < TweakSheetCount(); i++) {
        const TweakSheet &sheet = TweakSheetAt(i);
        if (!category || lstrcmpW(category, sheet.category) != 0) {
            category = sheet.category;
            Put("## " + Utf8(category) + "\n\n");
        }
        WriteSheet(sheet);
    }
}

static std::string ReadWhole(LPCWSTR path)
{
    std::string text;
    FILE *file = _wfopen(path, L"rb");
    if (!file) return text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    fclose(file);
    return text;
}

int wmain(int argc, wchar_t **argv)
{
    g_hInstance = GetModuleHandleW(NULL);
    BOOL check = argc == 3 && lstrcmpW(argv[1], L"--check") == 0;
    if (argc != 2 && !check) {
        fprintf(stderr, "usage: make_tricks OUT.md | make_tricks --check FILE.md\n");
        return 2;
    }
    WriteReference();
    if (g_faults) return 1;
    LPCWSTR path = argv[argc - 1];
    if (check) {
        // Every picture it shows is there (scripts/screens.sh makes them).
        std::wstring folder(path);
        folder.erase(folder.find_last_of(L"\\/") + 1);
        for (const std::string &picture : g_pictures) {
            std::wstring file = folder + std::wstring(picture.begin(), picture.end());
            if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
                fprintf(stderr, "%ls is missing: run bash scripts/screens.sh\n", file.c_str());
                return 1;
            }
        }
        std::string committed = ReadWhole(path);
        if (committed == g_out) return 0;
        size_t line = 1;
        for (size_t i = 0; i < committed.size() && i < g_out.size() && committed[i] == g_out[i]; i++)
            if (committed[i] == '\n') line++;
        fprintf(stderr, "%ls differs from the tables at line %zu: run cmake --build build --target tricks\n", path,
                line);
        return 1;
    }
    FILE *file = _wfopen(path, L"wb");
    if (!file || fwrite(g_out.data(), 1, g_out.size(), file) != g_out.size() || fclose(file) != 0) {
        fprintf(stderr, "cannot write %ls\n", path);
        return 1;
    }
    return 0;
}
