// The dialog template walk: bounds-checked reads of the header and item records.
#include "ui/template_walk.h"

#include <string.h>

namespace {

// The smallest item record: style, extended style, four coordinates, id, then the
// shortest class, title and creation-data fields (2 bytes each).
const size_t kMinimumItemBytes = 18 + 2 + 2 + 2;

bool Fail(TemplateWalk *walk, int error)
{
    walk->error = error;
    walk->itemsLeft = 0;
    return false;
}

bool Read16(TemplateWalk *walk, size_t *position, uint16_t *value)
{
    if (*position > walk->size || walk->size - *position < 2) return Fail(walk, TEMPLATE_WALK_TRUNCATED);
    const uint8_t *p = walk->bytes + *position;
    *value = (uint16_t)(p[0] | (p[1] << 8));
    *position += 2;
    return true;
}

bool Read32(TemplateWalk *walk, size_t *position, uint32_t *value)
{
    uint16_t low, high;
    if (!Read16(walk, position, &low) || !Read16(walk, position, &high)) return false;
    *value = (uint32_t)low | ((uint32_t)high << 16);
    return true;
}

bool ReadSigned16(TemplateWalk *walk, size_t *position, int16_t *value)
{
    uint16_t raw;
    if (!Read16(walk, position, &raw)) return false;
    *value = (int16_t)raw;
    return true;
}

bool ReadField(TemplateWalk *walk, size_t *position, TemplateField *field)
{
    memset(field, 0, sizeof *field);
    uint16_t first;
    size_t start = *position;
    if (!Read16(walk, position, &first)) return false;
    if (first == 0xFFFF) {
        field->kind = TEMPLATE_FIELD_ORDINAL;
        return Read16(walk, position, &field->ordinal);
    }
    if (first == 0) {
        field->kind = TEMPLATE_FIELD_EMPTY;
        return true;
    }
    field->kind = TEMPLATE_FIELD_STRING;
    field->text = walk->bytes + start;
    field->textOffset = start;
    uint16_t unit = first;
    while (unit != 0) {
        if (!Read16(walk, position, &unit)) return false;
    }
    field->textLength = (*position - start) / 2 - 1;
    return true;
}

size_t AlignUp4(size_t value)
{
    return (value + 3) & ~(size_t)3;
}

}  // namespace

int TemplateWalkBegin(TemplateWalk *walk, const void *bytes, size_t size, TemplateHeader *header)
{
    TemplateHeader scratch;
    if (!header) header = &scratch;
    memset(header, 0, sizeof *header);
    walk->bytes = (const uint8_t *)bytes;
    walk->size = bytes ? size : 0;
    walk->position = 0;
    walk->itemsLeft = 0;
    walk->error = TEMPLATE_WALK_OK;

    size_t p = 0;
    if (!Read32(walk, &p, &header->style) || !Read32(walk, &p, &header->exStyle)) return 0;
    // The extended layout starts with version 1 and the signature 0xFFFF; read as a
    // standard header it would yield nonsense rectangles.
    if ((header->style & 0xFFFF) == 1 && (header->style >> 16) == 0xFFFF) {
        Fail(walk, TEMPLATE_WALK_EXTENDED);
        return 0;
    }
    if (!Read16(walk, &p, &header->itemCount) || !ReadSigned16(walk, &p, &header->x) ||
        !ReadSigned16(walk, &p, &header->y) || !ReadSigned16(walk, &p, &header->cx) ||
        !ReadSigned16(walk, &p, &header->cy))
        return 0;
    if (!ReadField(walk, &p, &header->menu) || !ReadField(walk, &p, &header->windowClass) ||
        !ReadField(walk, &p, &header->title))
        return 0;
    header->hasFont = (header->style & TEMPLATE_STYLE_SETFONT) != 0;
    if (header->hasFont) {
        if (!Read16(walk, &p, &header->pointSize) || !ReadField(walk, &p, &header->typeface)) return 0;
    }
    walk->position = p;
    walk->itemsLeft = header->itemCount;
    return 1;
}

int TemplateWalkNext(TemplateWalk *walk, TemplateItem *item)
{
    if (walk->error != TEMPLATE_WALK_OK || walk->itemsLeft == 0) return 0;
    memset(item, 0, sizeof *item);

    size_t p = AlignUp4(walk->position);
    if (p < walk->position) return Fail(walk, TEMPLATE_WALK_TRUNCATED);
    item->offset = p;
    if (!Read32(walk, &p, &item->style) || !Read32(walk, &p, &item->exStyle) ||
        !ReadSigned16(walk, &p, &item->x) || !ReadSigned16(walk, &p, &item->y) ||
        !ReadSigned16(walk, &p, &item->cx) || !ReadSigned16(walk, &p, &item->cy) ||
        !Read16(walk, &p, &item->id))
        return 0;
    if (!ReadField(walk, &p, &item->windowClass) || !ReadField(walk, &p, &item->title)) return 0;

    if (!Read16(walk, &p, &item->creationDataSize)) return 0;
    // A non-zero size counts its own two bytes; the record must hold all of it.
    if (item->creationDataSize > 2) {
        size_t extra = item->creationDataSize - 2;
        if (walk->size - p < extra) return Fail(walk, TEMPLATE_WALK_TRUNCATED);
        p += extra;
    }
    item->end = p;
    walk->position = p;
    walk->itemsLeft--;
    return 1;
}

unsigned TemplateWalkItemBound(const TemplateWalk *walk)
{
    if (walk->position >= walk->size) return 0;
    return (unsigned)((walk->size - walk->position) / kMinimumItemBytes) + 1;
}

size_t TemplateFieldText(const TemplateField *field, uint16_t *out, size_t max)
{
    if (max == 0) return 0;
    out[0] = 0;
    if (field->kind != TEMPLATE_FIELD_STRING || !field->text) return 0;
    size_t n = 0;
    for (; n < field->textLength && n + 1 < max; ++n)
        out[n] = (uint16_t)(field->text[2 * n] | (field->text[2 * n + 1] << 8));
    out[n] = 0;
    return n;
}

uint16_t TemplateClassOrdinal(const TemplateField *windowClass)
{
    static const struct {
        const char *name;
        uint16_t ordinal;
    } kPredefined[] = {
        {"button", TEMPLATE_CLASS_BUTTON},       {"edit", TEMPLATE_CLASS_EDIT},
        {"static", TEMPLATE_CLASS_STATIC},       {"listbox", TEMPLATE_CLASS_LISTBOX},
        {"scrollbar", TEMPLATE_CLASS_SCROLLBAR}, {"combobox", TEMPLATE_CLASS_COMBOBOX},
    };
    if (windowClass->kind == TEMPLATE_FIELD_ORDINAL) return windowClass->ordinal;
    if (windowClass->kind != TEMPLATE_FIELD_STRING) return 0;
    uint16_t text[16];
    size_t n = TemplateFieldText(windowClass, text, 16);
    if (n != windowClass->textLength) return 0;
    for (size_t k = 0; k < sizeof kPredefined / sizeof kPredefined[0]; ++k) {
        const char *name = kPredefined[k].name;
        size_t i = 0;
        for (; i < n && name[i]; ++i) {
            uint16_t c = text[i];
            if (c >= 'A' && c <= 'Z') c = (uint16_t)(c - 'A' + 'a');
            if (c != (uint8_t)name[i]) break;
        }
        if (i == n && name[i] == 0) return kPredefined[k].ordinal;
    }
    return 0;
}
