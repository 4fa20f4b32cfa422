// Builds dialog templates in memory for the walk and relayout tests, with every
// name field in any of its three forms, and places bytes against a guard page so
// that a read past their end faults at once.
#ifndef TEMPLATE_BUILDER_H
#define TEMPLATE_BUILDER_H

#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

// A name-or-ordinal value: empty, an ordinal, or a string.
struct NameOrOrdinal {
    enum Kind { Empty, Ordinal, String } kind;
    uint16_t ordinal;
    std::wstring text;
    NameOrOrdinal() : kind(Empty), ordinal(0) {}
    NameOrOrdinal(uint16_t n) : kind(Ordinal), ordinal(n) {}
    NameOrOrdinal(const wchar_t *s) : kind(String), ordinal(0), text(s) {}
};

struct ItemSpec {
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;
    uint16_t id;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::vector<uint8_t> creationData;  // written after a size that counts itself
};

// A visible child item at x, y, cx, cy with these styles besides.
inline ItemSpec MakeItem(uint16_t id, int16_t x, int16_t y, int16_t cx, int16_t cy, NameOrOrdinal cls,
                         NameOrOrdinal title, uint32_t style = 0)
{
    ItemSpec item;
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.exStyle = 0;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    item.windowClass = cls;
    item.title = title;
    return item;
}

class TemplateBuilder {
public:
    uint32_t style = WS_POPUP | WS_CAPTION;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 200, cy = 100;
    NameOrOrdinal menu, windowClass, title = NameOrOrdinal(L"Test");
    bool font = true;
    uint16_t pointSize = 8;
    NameOrOrdinal typeface = NameOrOrdinal(L"Tahoma");
    std::vector<ItemSpec> items;

    TemplateBuilder &Add(const ItemSpec &item)
    {
        items.push_back(item);
        return *this;
    }

    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> out;
        Put32(out, font ? (style | DS_SETFONT) : (style & ~(uint32_t)DS_SETFONT));
        Put32(out, exStyle);
        Put16(out, (uint16_t)items.size());
        Put16(out, (uint16_t)x);
        Put16(out, (uint16_t)y);
        Put16(out, (uint16_t)cx);
        Put16(out, (uint16_t)cy);
        PutField(out, menu);
        PutField(out, windowClass);
        PutField(out, title);
        if (font) {
            Put16(out, pointSize);
            PutField(out, typeface);
        }
        for (const ItemSpec &item : items) {
            while (out.size() % 4) out.push_back(0);
            Put32(out, item.style);
            Put32(out, item.exStyle);
            Put16(out, (uint16_t)item.x);
            Put16(out, (uint16_t)item.y);
            Put16(out, (uint16_t)item.cx);
            Put16(out, (uint16_t)item.cy);
            Put16(out, item.id);
            PutField(out, item.windowClass);
            PutField(out, item.title);
            if (item.creationData.empty()) {
                Put16(out, 0);
            } else {
                Put16(out, (uint16_t)(item.creationData.size() + 2));
                out.insert(out.end(), item.creationData.begin(), item.creationData.end());
            }
        }
        return out;
    }

private:
    static void Put16(std::vector<uint8_t> &out, uint16_t v)
    {
        out.push_back((uint8_t)v);
        out.push_back((uint8_t)(v >> 8));
    }
    static void Put32(std::vector<uint8_t> &out, uint32_t v)
    {
        Put16(out, (uint16_t)v);
        Put16(out, (uint16_t)(v >> 16));
    }
    static void PutField(std::vector<uint8_t> &out, const NameOrOrdinal &f)
    {
        if (f.kind == NameOrOrdinal::Ordinal) {
            Put16(out, 0xFFFF);
            Put16(out, f.ordinal);
        } else if (f.kind == NameOrOrdinal::String) {
            for (wchar_t c : f.text) Put16(out, (uint16_t)c);
            Put16(out, 0);
        } else {
            Put16(out, 0);
        }
    }
};

// Bytes placed so that their last byte is the last readable byte before a
// no-access page: any read past the end faults.
class GuardedBytes {
public:
    GuardedBytes(const uint8_t *bytes, size_t size)
    {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        size_t page = si.dwPageSize;
        size_t pages = (size + page - 1) / page + 1;
        if (size == 0) pages = 2;
        base_ = (uint8_t *)VirtualAlloc(NULL, pages * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!base_) return;
        guard_ = base_ + (pages - 1) * page;
        DWORD old;
        VirtualProtect(guard_, page, PAGE_NOACCESS, &old);
        data_ = guard_ - size;
        if (size) memcpy(data_, bytes, size);
        size_ = size;
    }
    ~GuardedBytes()
    {
        if (base_) VirtualFree(base_, 0, MEM_RELEASE);
    }
    GuardedBytes(const GuardedBytes &) = delete;
    GuardedBytes &operator=(const GuardedBytes &) = delete;

    const uint8_t *data() const { return data_; }
    size_t size() const { return size_; }
    bool ok() const { return base_ != NULL; }

private:
    uint8_t *base_ = NULL;
    uint8_t *guard_ = NULL;
    uint8_t *data_ = NULL;
    size_t size_ = 0;
};

// The bytes of a dialog template resource of the test executable.
inline std::vector<uint8_t> DialogResourceBytes(HINSTANCE instance, UINT id)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), (LPCWSTR)RT_DIALOG);
    if (!found) return std::vector<uint8_t>();
    HGLOBAL loaded = LoadResource(instance, found);
    const uint8_t *p = (const uint8_t *)LockResource(loaded);
    return std::vector<uint8_t>(p, p + SizeofResource(instance, found));
}

#endif
