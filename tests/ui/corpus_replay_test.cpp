// Replays the fuzzer's seed corpus through the template walk: each template whole,
// cut at every length, and with its item count overstated, each placed against a
// no-access page so that a read past the end faults.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include "ui/template_walk.h"

namespace {

struct WalkResult {
    int error;
    std::vector<uint16_t> ids;
    size_t end;  // where the last record read (or the header) ended
};

// Walks `size` bytes placed so that their last byte is the last readable one before a
// no-access page (of 4 KiB on this machine).
WalkResult WalkGuarded(const uint8_t *bytes, size_t size)
{
    const size_t page = 4096, span = (size + page - 1) / page * page + page;
    uint8_t *base = (uint8_t *)VirtualAlloc(NULL, span, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD old;
    VirtualProtect(base + span - page, page, PAGE_NOACCESS, &old);
    uint8_t *guarded = base + span - page - size;
    std::copy(bytes, bytes + size, guarded);

    TemplateWalk walk;
    TemplateWalkBegin(&walk, guarded, size, NULL);
    WalkResult r = {TEMPLATE_WALK_OK, {}, walk.position};
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
    VirtualFree(base, 0, MEM_RELEASE);
    return r;
}

}  // namespace

TEST(TemplateWalkCorpus, NeverReadsPastTheEndAndFlagsEveryCut)
{
    // The corpus lives in the source tree, which Wine shows as drive Z:.
    std::string source = __FILE__, folder = "Z:" + source.substr(0, source.rfind("tests/ui/")) + "fuzz/corpus";
    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ++files;
        WalkResult whole = WalkGuarded(bytes.data(), bytes.size());
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
    }
    EXPECT_GE(files, 10);
}
