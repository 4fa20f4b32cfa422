// The template walk on bytes alone: header forms, item records, creation data and
// damaged templates.
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

std::wstring FieldText(const TemplateField &field)
{
    uint16_t buffer[128];
    size_t n = TemplateFieldText(&field, buffer, 128);
    return std::wstring(buffer, buffer + n);
}

::testing::AssertionResult FieldIs(const TemplateField &field, const NameOrOrdinal &expected)
{
    switch (expected.kind) {
    case NameOrOrdinal::Empty:
        if (field.kind == TEMPLATE_FIELD_EMPTY) return ::testing::AssertionSuccess();
        break;
    case NameOrOrdinal::Ordinal:
        if (field.kind == TEMPLATE_FIELD_ORDINAL && field.ordinal == expected.ordinal)
            return ::testing::AssertionSuccess();
        break;
    case NameOrOrdinal::String:
        if (field.kind == TEMPLATE_FIELD_STRING && FieldText(field) == expected.text)
            return ::testing::AssertionSuccess();
        break;
    }
    return ::testing::AssertionFailure() << "field kind " << field.kind << " ordinal " << field.ordinal;
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
    for (bool font : {true, false}) {
        for (const NameOrOrdinal &menu : kForms) {
            for (const NameOrOrdinal &cls : kForms) {
                for (const NameOrOrdinal &title : kForms) {
                    for (const NameOrOrdinal &typeface : kForms) {
                        if (!font && typeface.kind != NameOrOrdinal::Empty) continue;
                        TemplateBuilder b;
                        b.font = font;
                        b.menu = menu;
                        b.windowClass = cls;
                        b.title = title;
                        b.typeface = typeface;
                        b.pointSize = 9;
                        b.Add(Item(300, 1, 2, 30, 40)).Add(Item(301, -5, 7, 11, 13, NameOrOrdinal(0x82), 197));
                        Walked w = Walk(b.Build());
                        SCOPED_TRACE(testing::Message() << "font " << font << " menu " << menu.kind << " class "
                                                        << cls.kind << " title " << title.kind << " typeface "
                                                        << typeface.kind);
                        ASSERT_TRUE(w.headerRead);
                        EXPECT_EQ(TEMPLATE_WALK_OK, w.error);
                        EXPECT_TRUE(FieldIs(w.header.menu, menu));
                        EXPECT_TRUE(FieldIs(w.header.windowClass, cls));
                        EXPECT_TRUE(FieldIs(w.header.title, title));
                        EXPECT_EQ(font ? 1 : 0, w.header.hasFont);
                        if (font) {
                            EXPECT_EQ(9, w.header.pointSize);
                            EXPECT_TRUE(FieldIs(w.header.typeface, typeface));
                        }
                        ASSERT_EQ(2u, w.items.size());
                        EXPECT_EQ(300, w.items[0].id);
                        EXPECT_EQ(1, w.items[0].x);
                        EXPECT_EQ(40, w.items[0].cy);
                        EXPECT_EQ(301, w.items[1].id);
                        EXPECT_EQ(-5, w.items[1].x);
                        EXPECT_EQ(13, w.items[1].cy);
                        EXPECT_TRUE(FieldIs(w.items[1].title, NameOrOrdinal(197)));
                        for (const TemplateItem &item : w.items) EXPECT_EQ(0u, item.offset % 4);
                    }
                }
            }
        }
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
    ItemSpec d = Item(0x1003, 7, 8, 9, 10, NameOrOrdinal(), NameOrOrdinal(0xABCD));
    d.creationData = {9, 9};
    ItemSpec e = Item(0xFFFF, 0, 0, 1, 1, NameOrOrdinal(L"Static"), NameOrOrdinal(L"Last"));
    b.Add(a).Add(c).Add(d).Add(e);
    std::vector<uint8_t> bytes = b.Build();
    Walked w = Walk(bytes);
    ASSERT_EQ(TEMPLATE_WALK_OK, w.error);
    ASSERT_EQ(4u, w.items.size());

    EXPECT_EQ(0x50A10101u, w.items[0].style);
    EXPECT_EQ(0x00020000u, w.items[0].exStyle);
    EXPECT_EQ(0, w.items[0].creationDataSize);
    EXPECT_TRUE(FieldIs(w.items[0].windowClass, NameOrOrdinal(0x83)));
    EXPECT_TRUE(FieldIs(w.items[0].title, NameOrOrdinal()));

    EXPECT_EQ(-1, w.items[1].x);
    EXPECT_EQ(-32768, w.items[1].y);
    EXPECT_EQ(32767, w.items[1].cx);
    EXPECT_EQ(7, w.items[1].creationDataSize);  // five bytes and the size itself
    EXPECT_TRUE(FieldIs(w.items[1].windowClass, NameOrOrdinal(L"msctls_updown32")));
    // An empty string is written as a lone 0: the empty form.
    EXPECT_TRUE(FieldIs(w.items[1].title, NameOrOrdinal()));

    EXPECT_EQ(0x1003, w.items[2].id);
    EXPECT_EQ(4, w.items[2].creationDataSize);
    EXPECT_TRUE(FieldIs(w.items[2].windowClass, NameOrOrdinal()));
    EXPECT_TRUE(FieldIs(w.items[2].title, NameOrOrdinal(0xABCD)));

    EXPECT_EQ(0xFFFF, w.items[3].id);
    EXPECT_TRUE(FieldIs(w.items[3].title, NameOrOrdinal(L"Last")));
    EXPECT_EQ(bytes.size(), w.items[3].end);
}

TEST(TemplateWalk, FlagsEveryTruncationAndKeepsWhatCameBefore)
{
    TemplateBuilder b;
    ItemSpec withData = Item(401, 1, 1, 1, 1, NameOrOrdinal(L"Custom"), NameOrOrdinal(L"abc"));
    withData.creationData = {1, 2, 3, 4, 5, 6};
    b.Add(Item(400, 1, 2, 3, 4)).Add(withData).Add(Item(402, 5, 6, 7, 8, NameOrOrdinal(0x82), NameOrOrdinal(197)));
    std::vector<uint8_t> bytes = b.Build();
    Walked whole = Walk(bytes);
    ASSERT_EQ(TEMPLATE_WALK_OK, whole.error);
    ASSERT_EQ(3u, whole.items.size());

    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        Walked cut = Walk(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length));
        EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, cut.error);
        ASSERT_LT(cut.items.size(), 3u);
        for (size_t k = 0; k < cut.items.size(); ++k) {
            EXPECT_EQ(whole.items[k].id, cut.items[k].id);
            EXPECT_LE(cut.items[k].end, length);
        }
        // Every record that ends within the bytes is read.
        size_t complete = 0;
        while (complete < 3 && whole.items[complete].end <= length) ++complete;
        EXPECT_EQ(complete, cut.items.size());
    }
}

TEST(TemplateWalk, RefusesDamagedTemplates)
{
    // The extended layout is not read as a standard one.
    TemplateBuilder extended;
    extended.style = 0xFFFF0001;
    extended.font = false;
    extended.Add(Item(1, 1, 1, 1, 1));
    Walked w = Walk(extended.Build());
    EXPECT_FALSE(w.headerRead);
    EXPECT_EQ(TEMPLATE_WALK_EXTENDED, w.error);
    EXPECT_TRUE(w.items.empty());

    // An item count larger than the records present.
    TemplateBuilder overstated;
    overstated.Add(Item(1, 1, 1, 1, 1)).Add(Item(2, 2, 2, 2, 2));
    overstated.countOverride = 0xFFFF;
    w = Walk(overstated.Build());
    EXPECT_EQ(2u, w.items.size());
    EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, w.error);

    // Creation data that claims more bytes than there are.
    TemplateBuilder longData;
    longData.Add(Item(1, 1, 1, 1, 1));
    std::vector<uint8_t> bytes = longData.Build();
    bytes[bytes.size() - 2] = 0xF0;
    bytes[bytes.size() - 1] = 0xFF;
    w = Walk(bytes);
    EXPECT_TRUE(w.items.empty());
    EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, w.error);

    // A title string that never ends.
    TemplateBuilder open;
    open.font = false;
    open.title = NameOrOrdinal(L"No end");
    bytes = open.Build();
    bytes.resize(bytes.size() - 2);
    w = Walk(bytes);
    EXPECT_FALSE(w.headerRead);
    EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, w.error);

    // Nothing at all.
    TemplateWalk walk;
    EXPECT_FALSE(TemplateWalkBegin(&walk, NULL, 100, NULL));
    EXPECT_EQ(TEMPLATE_WALK_TRUNCATED, walk.error);
}

TEST(TemplateWalk, NamesPredefinedClassesByOrdinalOrName)
{
    TemplateBuilder b;
    b.Add(Item(1, 0, 0, 1, 1, NameOrOrdinal(0x82)))
        .Add(Item(2, 0, 0, 1, 1, NameOrOrdinal(L"STATIC")))
        .Add(Item(3, 0, 0, 1, 1, NameOrOrdinal(L"ListBox")))
        .Add(Item(4, 0, 0, 1, 1, NameOrOrdinal(L"combobox")))
        .Add(Item(5, 0, 0, 1, 1, NameOrOrdinal(L"Button")))
        .Add(Item(6, 0, 0, 1, 1, NameOrOrdinal(L"Buttons")))
        .Add(Item(7, 0, 0, 1, 1, NameOrOrdinal(L"SysTabControl32")))
        .Add(Item(8, 0, 0, 1, 1, NameOrOrdinal()))
        .Add(Item(9, 0, 0, 1, 1, NameOrOrdinal(L"Stati")));
    Walked w = Walk(b.Build());
    ASSERT_EQ(9u, w.items.size());
    const uint16_t expected[] = {0x82, 0x82, 0x83, 0x85, 0x80, 0, 0, 0, 0};
    for (size_t k = 0; k < 9; ++k) EXPECT_EQ(expected[k], TemplateClassOrdinal(&w.items[k].windowClass)) << k;
}
