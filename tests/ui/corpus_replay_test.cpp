// Replays the fuzzer's seed corpus through the template walk: each template whole,
// cut at every length, and with its item count overstated, each placed against a
// no-access page so that a read past the end faults.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/ui/template_builder.h"
#include "ui/template_walk.h"

namespace {

// The corpus lives in the source tree beside this file's folder; the build passes
// source paths as they are on the build machine, which Wine shows as drive Z:.
std::wstring CorpusFolder()
{
    std::string source = __FILE__;
    size_t cut = source.rfind("tests/ui/");
    if (cut == std::string::npos) cut = source.rfind("tests\\ui\\");
    std::string root = cut == std::string::npos ? std::string() : source.substr(0, cut);
    std::wstring folder;
    if (!root.empty() && root[0] == '/') folder = L"Z:";
    for (char c : root) folder += (wchar_t)(c == '/' ? '\\' : c);
    return folder + L"fuzz\\corpus\\";
}

std::vector<uint8_t> ReadWholeFile(const std::wstring &path)
{
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = GetFileSize(file, NULL), read = 0;
    if (size != INVALID_FILE_SIZE && size < (1u << 20)) {
        bytes.resize(size);
        if (!ReadFile(file, bytes.data(), size, &read, NULL) || read != size) bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

struct WalkResult {
    bool headerRead;
    int error;
    std::vector<TemplateItem> items;
    size_t end;  // where the last record read (or the header) ended
};

WalkResult WalkGuarded(const uint8_t *bytes, size_t size)
{
    GuardedBytes guarded(bytes, size);
    WalkResult r;
    TemplateWalk walk;
    TemplateHeader header;
    r.headerRead = TemplateWalkBegin(&walk, guarded.data(), guarded.size(), &header) != 0;
    r.end = walk.position;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        r.items.push_back(item);
        r.end = item.end;
        // Every field the walk hands out lies inside the bytes.
        EXPECT_LE(item.end, size);
        for (const TemplateField *f : {&item.windowClass, &item.title}) {
            if (f->kind == TEMPLATE_FIELD_STRING) {
                EXPECT_LE(f->textOffset + 2 * (f->textLength + 1), size);
            }
        }
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
        std::string name;
        for (const wchar_t *p = found.cFileName; *p; ++p) name += (char)*p;
        SCOPED_TRACE(name);
        ASSERT_FALSE(bytes.empty());
        ++files;

        WalkResult whole = WalkGuarded(bytes.data(), bytes.size());
        EXPECT_TRUE(whole.headerRead);
        EXPECT_EQ(TEMPLATE_WALK_OK, whole.error);

        for (size_t length = 0; length < bytes.size(); ++length) {
            WalkResult cut = WalkGuarded(bytes.data(), length);
            if (length < whole.end) {
                EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, cut.error) << "cut at " << length;
            }
            ASSERT_LE(cut.items.size(), whole.items.size());
            for (size_t k = 0; k < cut.items.size(); ++k) EXPECT_EQ(whole.items[k].id, cut.items[k].id);
        }

        // The same bytes claiming the most items a count can hold.
        if (bytes.size() >= 10) {
            std::vector<uint8_t> overstated = bytes;
            overstated[8] = overstated[9] = 0xFF;
            WalkResult more = WalkGuarded(overstated.data(), overstated.size());
            EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, more.error);
            EXPECT_EQ(whole.items.size(), more.items.size());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GE(files, 10);
}
