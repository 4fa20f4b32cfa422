// Writes docs/tricks.md, the reference of every trick, from the program's own tweak
// tables, help tables and dialog templates, so that the reference cannot drift from
// what the pages do. Every control of every page must be accounted for: a plain row,
// a help button, a static label, or a line of kSpecialControls below; a control that
// is none of these stops the generator, naming it.
//   make_tricks.exe OUT.md          writes the reference
//   make_tricks.exe --check FILE.md fails (exit 1) when FILE.md differs from it
#include <windows.h>
#include <stdio.h>
#include <string>
#include "app/rudore.h"
#include "resource.h"
#include "ui/template_walk.h"
#include "ui/tweak_catalog.h"

// What the controls that are not plain rows do, in the user's words, by page template
// and control. A control whose `what` is NULL goes with the line before it (the edit
// field and spinner of a box, say) and gets no line of its own.
struct SpecialControl {
    UINT page;
    UINT control;
    const char *what;
};

static const SpecialControl kSpecialControls[] = {
#include "special_controls.inc"
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
    case TWEAK_TEXT: return "\"" + Utf8(value.text) + "\"";
    case TWEAK_DELETE: return "value deleted";
    }
    return "nothing";
}

static const char *TypeOf(const Tweak &row)
{
    const TweakValue *values[] = {&row.tickedWhen, &row.ticked, &row.cleared, &row.missing};
    for (const TweakValue *value : values) {
        if (value->kind == TWEAK_DWORD) return "REG_DWORD";
        if (value->kind == TWEAK_TEXT) return "REG_SZ";
    }
    return "";
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
    if (!control.label.empty()) return "\"" + control.label + "\"";
    if (control.classOrdinal == TEMPLATE_CLASS_EDIT) return "edit field";
    if (_stricmp(control.className.c_str(), "msctls_updown32") == 0) return "spinner";
    if (control.classOrdinal == TEMPLATE_CLASS_LISTBOX) return "list";
    if (control.classOrdinal == TEMPLATE_CLASS_COMBOBOX) return "drop-down list";
    return "control " + std::to_string(control.id);
}

// The control a help button explains: the nearest other control on its line.
static const TemplateControl *ExplainedBy(const TemplateControl *controls, int count, const TweakSheet &sheet,
                                          const TemplateControl &button)
{
    const TemplateControl *best = NULL;
    for (int i = 0; i < count; i++) {
        const TemplateControl &other = controls[i];
        if (&other == &button || HelpOf(sheet, other.id) || other.labelOnly) continue;
        if (other.left >= button.left) continue;
        int distance = abs(other.centre - button.centre);
        if (!best || distance < abs(best->centre - button.centre) ||
            (distance == abs(best->centre - button.centre) && other.left < best->left))
            best = &other;
    }
    return best;
}

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

    if (sheet.tweaks) {
        Put("| Control | Value | Type | Ticked when | Ticking writes | Clearing writes | Flushed |\n");
        Put("|---|---|---|---|---|---|---|\n");
        for (int c = 0; c < count; c++) {
            for (int i = 0; i < sheet.tweaks->count; i++) {
                const Tweak &row = sheet.tweaks->rows[i];
                if (row.control != controls[c].id) continue;
                Put("| " + Cell(Quoted(controls[c])) + " | " + RootName(row.root) + "\\" + Cell(Utf8(row.key)) +
                    "\\" + Cell(row.name && *row.name ? Utf8(row.name) : "(default)") + " | " + TypeOf(row) + " | " +
                    Cell(TickedWhen(row)) + " | " + Cell(ValueText(row.ticked)) + " | " +
                    Cell(ValueText(row.cleared)) + " | " + KeyNotes(row) + " |\n");
            }
        }
        Put("\n");
    }

    std::string others;
    for (int c = 0; c < count; c++) {
        const TemplateControl &control = controls[c];
        if (control.labelOnly || IsRow(sheet, control.id) || HelpOf(sheet, control.id))
            continue;
        const SpecialControl *special = SpecialOf(sheet.templateId, control.id);
        if (!special) {
            fprintf(stderr, "\"%s\": control %u (%s, class %s) has no row, help or description\n", Utf8(sheet.name).c_str(),
                    control.id, Quoted(control).c_str(), control.className.c_str());
            g_faults++;
            continue;
        }
        if (special->what) others += "- " + Quoted(control) + ": " + special->what + "\n";
    }
    if (!others.empty()) Put("Other controls:\n\n" + others + "\n");

    std::string help;
    for (int c = 0; c < count; c++) {
        const TweakHelp *row = HelpOf(sheet, controls[c].id);
        if (!row) continue;
        const TemplateControl *explained = ExplainedBy(controls, count, sheet, controls[c]);
        help += "- \"H\" beside " + (explained ? Quoted(*explained) : std::string("the page")) + ": " +
                Utf8(row->text) + "\n";
    }
    if (!help.empty()) Put("Help buttons:\n\n" + help + "\n");
}

static void WriteReference()
{
    Put("# Every trick and what it writes\n\n"
        "Generated from the program's own tweak tables, help tables and dialog templates by\n"
        "`cmake --build build --target tricks`; the tests fail when this file differs from what\n"
        "the program does. Do not edit it by hand.\n\n"
        "Each table row is one registry value bound to a check box. A box bound to several values\n"
        "has a row for each and is ticked only when all of them match. Roots: HKCR\n"
        "HKEY_CLASSES_ROOT, HKCU HKEY_CURRENT_USER, HKLM HKEY_LOCAL_MACHINE. Unless a row says\n"
        "otherwise, a write creates a missing key. \"Flushed\": the key is flushed to storage\n"
        "after the write.\n\n");
    LPCWSTR category = NULL;
    for (int i = 0; i < g_tweakCatalogCount; i++) {
        const TweakSheet &sheet = g_tweakCatalog[i];
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
