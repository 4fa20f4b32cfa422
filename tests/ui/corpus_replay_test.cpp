// Replays the fuzzer's seed corpus through the template walk: each template whole,
// cut at every length, and with its item count overstated, each placed against a
// no-access page so that a read past the end faults.
#include <gtest/gtest.h>
#include <algorithm>
#include <stdio.h>
#include <string>
#include <vector>
#include "tests/ui/guarded_bytes.h"
#include "ui/template_walk.h"

namespace {

// The corpus lives in the source tree; the build passes source paths as they are on
// the build machine, which Wine shows as drive Z:.
std::wstring CorpusFolder()
{
    std::string source = __FILE__;
    size_t cut = source.rfind("tests/ui/");
    if (cut == std::string::npos) cut = source.rfind("tests\\ui\\");
    std::wstring folder = !source.empty() && source[0] == '/' ? L"Z:" : L"";
    for (char c : source.substr(0, cut == std::string::npos ? 0 : cut)) folder += (wchar_t)(c == '/' ? '\\' : c);
    return folder + L"fuzz\\corpus\\";
}

std::vector<uint8_t> ReadWholeFile(const std::wstring &path)
{
    std::vector<uint8_t> bytes;
    if (FILE *file = _wfopen(path.c_str(), L"rb")) {
        for (int c; (c = fgetc(file)) != EOF;) bytes.push_back((uint8_t)c);
        fclose(file);
    }
    return bytes;
}

struct WalkResult {
    bool headerRead;
    int error;
    std::vector<uint16_t> ids;
    size_t end;  // where the last record read (or the header) ended
};

WalkResult WalkGuarded(const uint8_t *bytes, size_t size)
{
    GuardedBytes guarded(bytes, size);
    WalkResult r;
    TemplateWalk walk;
    r.headerRead = TemplateWalkBegin(&walk, guarded.data(), guarded.size(), NULL) != 0;
    r.end = walk.position;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        r.ids.push_back(item.id);
        r.end = item.end;
        // Every field the walk hands out lies inside the bytes.
        EXPECT_LE(item.end, size);
        for (const TemplateField *f : {&item.windowClass, &item.title})
            EXPECT_TRUE(f->kind != TEMPLATE_FIELD_STRING || f->textOffset + 2 * (f->textLength + 1) <= size);
        TemplateClassOrdinal(&item.windowClass);
    }
    r.error = walk.error;
    return r;
}

}  // namespace

TEST(TemplateWalkCorpus, NeverReadsPastTheEndAndFlagsEveryCut)
{
    std::wstring folder = CorpusFolder();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.bin").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << "no corpus in the source tree";
    int files = 0;
    do {
        std::vector<uint8_t> bytes = ReadWholeFile(folder + found.cFileName);
        SCOPED_TRACE(std::string(found.cFileName, found.cFileName + wcslen(found.cFileName)));
        ASSERT_FALSE(bytes.empty());
        ++files;
        WalkResult whole = WalkGuarded(bytes.data(), bytes.size());
        EXPECT_TRUE(whole.headerRead);
        EXPECT_EQ(TEMPLATE_WALK_OK, whole.error);

        // A cut keeps the records before it, in order, and is flagged unless it only
        // drops padding after the last record.
        for (size_t length = 0; length < bytes.size(); ++length) {
            WalkResult cut = WalkGuarded(bytes.data(), length);
            EXPECT_TRUE(length >= whole.end || cut.error == TEMPLATE_WALK_TRUNCATED) << "cut at " << length;
            ASSERT_LE(cut.ids.size(), whole.ids.size());
            EXPECT_TRUE(std::equal(cut.ids.begin(), cut.ids.end(), whole.ids.begin())) << "cut at " << length;
        }

        // The same bytes claiming the most items a count can hold.
        if (bytes.size() >= 10) {
            bytes[8] = bytes[9] = 0xFF;
            WalkResult more = WalkGuarded(bytes.data(), bytes.size());
            EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, more.error);
            EXPECT_EQ(whole.ids, more.ids);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GE(files, 10);
}

// The naming of predefined classes by ordinal or name decides what the relayout does
// beyond moving a control.
TEST(TemplateWalk, NamesPredefinedClassesByOrdinalOrName)
{
    const struct {
        const wchar_t *name;
        uint16_t ordinal;
    } names[] = {{L"STATIC", 0x82}, {L"ListBox", 0x83}, {L"combobox", 0x85}, {L"Button", 0x80}, {L"Buttons", 0},
                 {L"Stati", 0},     {L"", 0},           {L"staticstaticstatic", 0}};
    for (const auto &n : names) {
        TemplateField field = {TEMPLATE_FIELD_STRING, 0, (const uint8_t *)n.name, 0, wcslen(n.name)};
        EXPECT_EQ(n.ordinal, TemplateClassOrdinal(&field)) << n.name;
    }
    TemplateField ordinal = {TEMPLATE_FIELD_ORDINAL, 0x82, NULL, 0, 0}, empty = {TEMPLATE_FIELD_EMPTY, 0, NULL, 0, 0};
    EXPECT_EQ(0x82, TemplateClassOrdinal(&ordinal));
    EXPECT_EQ(0, TemplateClassOrdinal(&empty));
}
