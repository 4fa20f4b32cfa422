// libFuzzer harness for the dialog template walk. Built natively (the walk touches
// no window), with the address and undefined-behaviour sanitizers: libFuzzer hands
// every input in a buffer of exactly its size, so any read past the end is caught.
#include <stddef.h>
#include <stdint.h>
#include "ui/template_walk.h"

static void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

static void CheckField(const TemplateField &field, size_t size)
{
    if (field.kind != TEMPLATE_FIELD_STRING) return;
    // The text and its terminator lie inside the bytes.
    Check(field.textOffset + 2 * (field.textLength + 1) <= size);
    uint16_t text[64];
    size_t n = TemplateFieldText(&field, text, 64);
    Check(n < 64 && text[n] == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TemplateWalk walk;
    TemplateHeader header;
    if (!TemplateWalkBegin(&walk, data, size, &header)) {
        Check(walk.error != TEMPLATE_WALK_OK);
        return 0;
    }
    Check(walk.position <= size);
    CheckField(header.menu, size);
    CheckField(header.windowClass, size);
    CheckField(header.title, size);
    CheckField(header.typeface, size);

    unsigned items = 0;
    size_t last = 0;
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        Check(item.offset % 4 == 0);
        Check(item.offset >= last);
        Check(item.end <= size && item.end > item.offset);
        CheckField(item.windowClass, size);
        CheckField(item.title, size);
        TemplateClassOrdinal(&item.windowClass);
        last = item.end;
        ++items;
    }
    Check(items <= header.itemCount);
    // Either every record was read or the walk says why not.
    Check(items == header.itemCount || walk.error == TEMPLATE_WALK_TRUNCATED);
    return 0;
}
