// The template walk on bytes alone: header forms, item records, creation data and
// class names.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "tests/ui/template_builder.h"
#include "ui/template_walk.h"

namespace {

ItemSpec Item(uint16_t id, int16_t x, int16_t y, int16_t cx, int16_t cy, NameOrOrdinal cls = NameOrOrdinal(0x80),
              NameOrOrdinal title = NameOrOrdinal(L"Text"))
{
    return MakeItem(id, x, y, cx, cy, cls, title);
}

bool FieldIs(const TemplateField &field, const NameOrOrdinal &expected)
{
    uint16_t text[128];
    size_t n = TemplateFieldText(&field, text, 128);
    switch (expected.kind) {
    case NameOrOrdinal::Empty: return field.kind == TEMPLATE_FIELD_EMPTY;
    case NameOrOrdinal::Ordinal: return field.kind == TEMPLATE_FIELD_ORDINAL && field.ordinal == expected.ordinal;
    default: return field.kind == TEMPLATE_FIELD_STRING && std::wstring(text, text + n) == expected.text;
    }
}

// The walk's results point into the bytes, which live as long as the results.
struct Walked {
    std::shared_ptr<GuardedBytes> bytes;
    bool headerRead = false;
    TemplateHeader header;
    std::vector<TemplateItem> items;
    int error = 0;
};

Walked Walk(const std::vector<uint8_t> &bytes)
{
    Walked w;
    w.bytes = std::make_shared<GuardedBytes>(bytes.data(), bytes.size());
    TemplateWalk walk;
    w.headerRead = TemplateWalkBegin(&walk, w.bytes->data(), w.bytes->size(), &w.header) != 0;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) w.items.push_back(item);
    w.error = walk.error;
    return w;
}

const NameOrOrdinal kForms[] = {NameOrOrdinal(), NameOrOrdinal(0x1234), NameOrOrdinal(L"Named field")};

}  // namespace

TEST(TemplateWalk, SkipsEveryHeaderFormWithAndWithoutTheFontBit)
{
    // Every combination of menu, class, title and typeface forms: 3^4 with the font, 3^3 without.
    for (int combo = 0; combo < 81 + 27; ++combo) {
        bool font = combo < 81;
        int k = font ? combo : combo - 81;
        TemplateBuilder b;
        b.font = font;
        b.menu = kForms[k % 3];
        b.windowClass = kForms[k / 3 % 3];
        b.title = kForms[k / 9 % 3];
        b.typeface = font ? kForms[k / 27] : NameOrOrdinal();
        b.pointSize = 9;
        b.Add(Item(300, 1, 2, 30, 40)).Add(Item(301, -5, 7, 11, 13, NameOrOrdinal(0x82), 197));
        Walked w = Walk(b.Build());
        SCOPED_TRACE(testing::Message() << "combination " << combo);
        ASSERT_TRUE(w.headerRead);
        EXPECT_EQ(TEMPLATE_WALK_OK, w.error);
        EXPECT_TRUE(FieldIs(w.header.menu, b.menu));
        EXPECT_TRUE(FieldIs(w.header.windowClass, b.windowClass));
        EXPECT_TRUE(FieldIs(w.header.title, b.title));
        EXPECT_EQ(font ? 1 : 0, w.header.hasFont);
        if (font) {
            EXPECT_EQ(9, w.header.pointSize);
            EXPECT_TRUE(FieldIs(w.header.typeface, b.typeface));
        }
        ASSERT_EQ(2u, w.items.size());
        EXPECT_EQ(40, w.items[0].cy);
        EXPECT_EQ(-5, w.items[1].x);
        EXPECT_TRUE(FieldIs(w.items[1].title, NameOrOrdinal(197)));
    }
}

TEST(TemplateWalk, ReadsItemFieldsAndStepsOverCreationData)
{
    TemplateBuilder b;
    ItemSpec a = Item(0x1001, 10, 20, 30, 40, NameOrOrdinal(0x83), NameOrOrdinal());
    a.style = 0x50A10101;
    a.exStyle = 0x00020000;
    ItemSpec c = Item(0x1002, -1, -32768, 32767, 0, NameOrOrdinal(L"msctls_updown32"), NameOrOrdinal(L""));
    c.creationData = {1, 2, 3, 4, 5};  // odd length: the next record realigns
    ItemSpec d = Item(0xFFFF, 7, 8, 9, 10, NameOrOrdinal(), NameOrOrdinal(L"Last"));
    std::vector<uint8_t> bytes = b.Add(a).Add(c).Add(d).Build();
    Walked w = Walk(bytes);
    ASSERT_EQ(TEMPLATE_WALK_OK, w.error);
    ASSERT_EQ(3u, w.items.size());
    EXPECT_EQ(0x50A10101u, w.items[0].style);
    EXPECT_EQ(0x00020000u, w.items[0].exStyle);
    EXPECT_EQ(0, w.items[0].creationDataSize);
    EXPECT_TRUE(FieldIs(w.items[0].windowClass, NameOrOrdinal(0x83)));
    EXPECT_EQ(-32768, w.items[1].y);
    EXPECT_EQ(32767, w.items[1].cx);
    EXPECT_EQ(7, w.items[1].creationDataSize);  // five bytes and the size itself
    EXPECT_TRUE(FieldIs(w.items[1].windowClass, NameOrOrdinal(L"msctls_updown32")));
    EXPECT_TRUE(FieldIs(w.items[1].title, NameOrOrdinal()));  // an empty string is a lone 0
    EXPECT_EQ(0xFFFF, w.items[2].id);
    EXPECT_TRUE(FieldIs(w.items[2].title, NameOrOrdinal(L"Last")));
    EXPECT_EQ(bytes.size(), w.items[2].end);
}

// Cuts, an overstated item count and the extended layout are the corpus replay's and
// the relayout's cases; creation data is sized by the template itself.
TEST(TemplateWalk, RefusesCreationDataLongerThanTheTemplate)
{
    TemplateBuilder longData;
    std::vector<uint8_t> bytes = longData.Add(Item(1, 1, 1, 1, 1)).Build();
    bytes[bytes.size() - 2] = 0xF0;
    bytes[bytes.size() - 1] = 0xFF;
    Walked w = Walk(bytes);
    EXPECT_TRUE(w.headerRead);
    EXPECT_TRUE(w.items.empty());
    EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, w.error);
}

TEST(TemplateWalk, NamesPredefinedClassesByOrdinalOrName)
{
    const struct {
        NameOrOrdinal cls;
        uint16_t ordinal;
    } cases[] = {{0x82, 0x82},          {L"STATIC", 0x82}, {L"ListBox", 0x83},         {L"combobox", 0x85},
                 {L"Button", 0x80},     {L"Buttons", 0},   {L"SysTabControl32", 0}, {NameOrOrdinal(), 0},
                 {L"Stati", 0}};
    TemplateBuilder b;
    for (const auto &c : cases) b.Add(Item(1, 0, 0, 1, 1, c.cls));
    Walked w = Walk(b.Build());
    ASSERT_EQ(9u, w.items.size());
    for (size_t k = 0; k < 9; ++k) EXPECT_EQ(cases[k].ordinal, TemplateClassOrdinal(&w.items[k].windowClass)) << k;
}
