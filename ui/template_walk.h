// Reading a dialog template in the standard (non-extended) layout, as bytes only.
// Nothing here touches a window, so the walk also builds on its own for the fuzzer.
// Every read is checked against the size: a short or malformed template ends the
// walk with an error, never with a read past its last byte.
#ifndef UI_TEMPLATE_WALK_H
#define UI_TEMPLATE_WALK_H

#include <stddef.h>
#include <stdint.h>

// A name-or-ordinal field: 0xFFFF then an ordinal, a single 0 (empty), or a
// zero-terminated UTF-16 string.
enum TemplateFieldKind {
    TEMPLATE_FIELD_EMPTY = 0,
    TEMPLATE_FIELD_ORDINAL = 1,
    TEMPLATE_FIELD_STRING = 2
};

struct TemplateField {
    int kind;
    uint16_t ordinal;     // ordinal fields only
    const uint8_t *text;  // string fields: the first UTF-16LE unit, inside the template
    size_t textOffset;    // string fields: offset of the first unit in the template
    size_t textLength;    // string fields: units before the terminator
};

// Font style bit: the point size and typeface follow the title.
#define TEMPLATE_STYLE_SETFONT 0x40u
// Predefined class ordinals of item records.
#define TEMPLATE_CLASS_BUTTON 0x0080
#define TEMPLATE_CLASS_EDIT 0x0081
#define TEMPLATE_CLASS_STATIC 0x0082
#define TEMPLATE_CLASS_LISTBOX 0x0083
#define TEMPLATE_CLASS_SCROLLBAR 0x0084
#define TEMPLATE_CLASS_COMBOBOX 0x0085

struct TemplateHeader {
    uint32_t style;
    uint32_t exStyle;
    uint16_t itemCount;
    int16_t x, y, cx, cy;
    TemplateField menu;
    TemplateField windowClass;
    TemplateField title;
    int hasFont;          // style bit 0x40
    uint16_t pointSize;   // only when hasFont
    TemplateField typeface;
};

struct TemplateItem {
    size_t offset;        // start of the record, a multiple of 4
    size_t end;           // first byte after its creation data
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy; // dialog units
    uint16_t id;
    TemplateField windowClass;
    TemplateField title;
    uint16_t creationDataSize;  // counts its own two bytes when not 0
};

enum TemplateWalkError {
    TEMPLATE_WALK_OK = 0,
    TEMPLATE_WALK_TRUNCATED = 1,  // a field or record runs past the end of the bytes
    TEMPLATE_WALK_EXTENDED = 2    // the extended layout, which this walk does not read
};

struct TemplateWalk {
    const uint8_t *bytes;
    size_t size;
    size_t position;      // where the next record (before alignment) may start
    unsigned itemsLeft;
    int error;            // TemplateWalkError
};

// Reads the header; 1 when it was read whole, 0 with walk->error set otherwise.
int TemplateWalkBegin(TemplateWalk *walk, const void *bytes, size_t size, TemplateHeader *header);

// Reads the next item record; 1 when one was read, 0 at the end of the items or
// when the walk ran out of bytes (walk->error tells which).
int TemplateWalkNext(TemplateWalk *walk, TemplateItem *item);

// The most item records that could fit in the bytes after the header: a bound for
// an item count that a damaged template overstates.
unsigned TemplateWalkItemBound(const TemplateWalk *walk);

// Copies a string field's text (UTF-16 units) into out, at most max - 1 units and a
// terminator; returns the units copied. Empty and ordinal fields copy nothing.
size_t TemplateFieldText(const TemplateField *field, uint16_t *out, size_t max);

// The predefined class an item's class field names: its ordinal, or the ordinal of
// a predefined class named by string ("Button", "STATIC", ...; resource compilers
// differ in which form they write). 0 for any other class.
uint16_t TemplateClassOrdinal(const TemplateField *windowClass);

#endif
