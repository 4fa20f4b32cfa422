// The template walk's naming of predefined classes, which decides what the relayout
// does beyond moving a control. (Every header and item form, cut anywhere, is the
// corpus replay's case.)
#include <gtest/gtest.h>
#include <wchar.h>
#include "ui/template_walk.h"

TEST(TemplateWalk, NamesPredefinedClassesByOrdinalOrName)
{
    const struct {
        const wchar_t *name;
        uint16_t ordinal;
    } names[] = {{L"STATIC", 0x82},  {L"ListBox", 0x83},         {L"combobox", 0x85}, {L"Button", 0x80},
                 {L"Buttons", 0},    {L"SysTabControl32", 0},    {L"Stati", 0},       {L"", 0},
                 {L"staticstaticstatic", 0}};
    for (const auto &n : names) {
        TemplateField field = {TEMPLATE_FIELD_STRING, 0, (const uint8_t *)n.name, 0, wcslen(n.name)};
        EXPECT_EQ(n.ordinal, TemplateClassOrdinal(&field)) << n.name;
    }
    TemplateField ordinal = {TEMPLATE_FIELD_ORDINAL, 0x82, NULL, 0, 0}, empty = {TEMPLATE_FIELD_EMPTY, 0, NULL, 0, 0};
    EXPECT_EQ(0x82, TemplateClassOrdinal(&ordinal));
    EXPECT_EQ(0, TemplateClassOrdinal(&empty));
}
