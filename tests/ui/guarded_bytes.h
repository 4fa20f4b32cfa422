// Template bytes for the walk and relayout tests: placed against a guard page so
// that a read past their end faults at once, or taken from a dialog resource.
#ifndef GUARDED_BYTES_H
#define GUARDED_BYTES_H

#include <windows.h>
#include <stdint.h>
#include <string.h>
#include <vector>

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
