// The registry image of the device: the whole-registry copy and restore, the hive save
// and replace calls, and the image staged for the next soft reset.
//
// A copy is taken with the registry's own save, which answers in milliseconds, rather
// than by walking the keys, which costs a server round trip per key and value. A
// restore only checks the file and stages it: the running registry changes at the next
// soft reset, as on the device.
#include <string.h>
#include <immintrin.h>
#include <algorithm>
#include "ceplatform.h"
#include "device.h"
#include "registry_image.h"

namespace {

// The CRC-32 (IEEE) state (inverted) over a run of whole 64-byte blocks, folded with
// carry-less multiplication: the processor then takes a whole registry's image in a
// fraction of the tables' time. The constants are powers of x modulo the polynomial
// in its bit-reflected form, then the polynomial and its Barrett quotient.
__attribute__((target("pclmul,sse4.1"))) DWORD FoldCrc32(DWORD state, const unsigned char *p, size_t size)
{
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4), k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0),
                  k5 = _mm_set_epi64x(0, 0x0163cd6124), poly = _mm_set_epi64x(0x01f7011641, 0x01db710641),
                  low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    __m128i x1 = _mm_loadu_si128((const __m128i *)p), x2 = _mm_loadu_si128((const __m128i *)(p + 16)),
            x3 = _mm_loadu_si128((const __m128i *)(p + 32)), x4 = _mm_loadu_si128((const __m128i *)(p + 48));
    x1 = _mm_xor_si128(x1, _mm_cvtsi32_si128((int)state));
    for (p += 64, size -= 64; size >= 64; p += 64, size -= 64) {
        __m128i *lanes[4] = {&x1, &x2, &x3, &x4};
        for (int i = 0; i < 4; ++i) {
            __m128i folded = _mm_xor_si128(_mm_clmulepi64_si128(*lanes[i], k1k2, 0x00), _mm_clmulepi64_si128(*lanes[i], k1k2, 0x11));
            *lanes[i] = _mm_xor_si128(folded, _mm_loadu_si128((const __m128i *)(p + 16 * i)));
        }
    }
    // Four lanes into one.
    for (__m128i next : {x2, x3, x4})
        x1 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x1, k3k4, 0x00), _mm_clmulepi64_si128(x1, k3k4, 0x11)), next);
    // 128 bits to 64, to 32, then Barrett's reduction.
    __m128i x = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), k5, 0x00), _mm_srli_si128(x, 4));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), poly, 0x10), low32), poly, 0x00);
    return (DWORD)_mm_extract_epi32(_mm_xor_si128(x, t), 1);
}

// Continues a CRC-32 (IEEE) over more bytes; 0 to begin. Sixteen tables take sixteen
// bytes a step where the processor cannot fold.
DWORD Crc32(DWORD crc, const char *data, size_t size)
{
    static DWORD table[16][256];
    static bool made;
    if (!made) {
        for (DWORD i = 0; i < 256; ++i) {
            DWORD c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[0][i] = c;
        }
        for (DWORD i = 0; i < 256; ++i)
            for (int t = 1; t < 16; ++t) table[t][i] = (table[t - 1][i] >> 8) ^ table[0][table[t - 1][i] & 0xFF];
        made = true;
    }
    const unsigned char *p = (const unsigned char *)data;
    crc = ~crc;
    static const bool fold = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    if (fold && size >= 64) {
        size_t whole = size & ~(size_t)63;
        crc = FoldCrc32(crc, p, whole);
        p += whole;
        size -= whole;
    }
    for (; size >= 16; size -= 16, p += 16) {
        DWORD w[4];
        memcpy(w, p, 16);
        w[0] ^= crc;
        crc = 0;
        for (int i = 0; i < 4; ++i)   // the first byte meets the table of the most steps still to go
            crc ^= table[15 - 4 * i][w[i] & 0xFF] ^ table[14 - 4 * i][(w[i] >> 8) & 0xFF] ^
                   table[13 - 4 * i][(w[i] >> 16) & 0xFF] ^ table[12 - 4 * i][w[i] >> 24];
    }
    for (; size; --size, ++p) crc = table[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// The product of two polynomials modulo the CRC's, both bit-reflected: x^0 is the top bit.
DWORD MultiplyModulo(DWORD a, DWORD b)
{
    DWORD product = 0;
    for (DWORD bit = 0x80000000u; a; bit >>= 1) {
        if (a & bit) {
            product ^= b;
            a ^= bit;
        }
        b = (b & 1) ? (b >> 1) ^ 0xEDB88320u : b >> 1;
    }
    return product;
}

// The CRC-32 of two runs of bytes one after the other, from the CRC of each and the
// second's length: the first's is moved on by x to the power of the second's bits.
DWORD Crc32Joined(DWORD first, DWORD second, ULONGLONG secondLength)
{
    DWORD power = 0x80000000u, square = 0x40000000u;   // x^0, then x^1, x^2, x^4...
    for (ULONGLONG bits = secondLength * 8; bits; bits >>= 1) {
        if (bits & 1) power = MultiplyModulo(power, square);
        square = MultiplyModulo(square, square);
    }
    return MultiplyModulo(power, first) ^ second;
}

void PutU32(std::string *out, DWORD v) { out->append((const char *)&v, 4); }
void PutU64(std::string *out, ULONGLONG v) { out->append((const char *)&v, 8); }
DWORD GetU32(std::string_view in, size_t at) { DWORD v; memcpy(&v, in.data() + at, 4); return v; }
ULONGLONG GetU64(std::string_view in, size_t at) { ULONGLONG v; memcpy(&v, in.data() + at, 8); return v; }

// The checksum of an image, its own field taken as 0.
DWORD ImageCrc(std::string_view bytes)
{
    static const char zero[4] = {0, 0, 0, 0};
    DWORD crc = Crc32(0, bytes.data(), REGIMG_CRC_OFFSET);
    crc = Crc32(crc, zero, 4);
    return Crc32(crc, bytes.data() + REGIMG_CRC_OFFSET + 4, bytes.size() - REGIMG_CRC_OFFSET - 4);
}

// The image's header, its size and checksum left for SealImage.
void PutHeader(std::string *out, DWORD count)
{
    out->append(REGIMG_MAGIC, 8);
    PutU32(out, REGIMG_VERSION);
    PutU32(out, REGIMG_HEADER_SIZE);
    PutU32(out, count);
    PutU32(out, 0);
    PutU64(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
}

void PutSectionHeader(std::string *out, DWORD root, ULONGLONG length)
{
    PutU32(out, root);
    PutU32(out, 0);
    PutU64(out, length);
}

void SealImage(std::string *image)
{
    ULONGLONG size = image->size();
    memcpy(&(*image)[REGIMG_SIZE_OFFSET], &size, 8);
    DWORD crc = ImageCrc(*image);
    memcpy(&(*image)[REGIMG_CRC_OFFSET], &crc, 4);
}

}  // namespace

std::string ImageOfSections(const std::vector<RegImageSection> &sections)
{
    size_t total = REGIMG_HEADER_SIZE;
    for (const RegImageSection &s : sections) total += REGIMG_SECTION_HEADER_SIZE + s.text.size();
    std::string out;
    out.reserve(total);
    PutHeader(&out, (DWORD)sections.size());
    for (const RegImageSection &s : sections) {
        PutSectionHeader(&out, s.root, s.text.size());
        out += s.text;
    }
    SealImage(&out);
    return out;
}

namespace {

// The hive that holds a predefined root: the classes live in the machine's.
DWORD HiveOf(HKEY key)
{
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT) return REGIMG_ROOT_HKLM;
    if (key == HKEY_CURRENT_USER) return REGIMG_ROOT_HKCU;
    return 0;
}

// The registry's save of a hive written by the registry into the temporary of `out`.
DWORD SaveRegistryInto(HKEY root, AtomicFile *out)
{
    DWORD error = out->Ready();
    if (error) return error;
    EnableRegistryPrivileges();
    error = (DWORD)RegSaveKeyW(root, out->TempPath().c_str(), NULL);
    PowerCutPoint("image-saved");
    return error;
}

DWORD StageRegImage(std::string_view bytes)
{
    return WriteFileAtomically(DeviceFilePath(REGIMG_STAGED_NAME).c_str(), bytes, true);
}

}  // namespace

HKEY RegImageRootKey(DWORD root)
{
    return root == REGIMG_ROOT_HKLM ? HKEY_LOCAL_MACHINE : root == REGIMG_ROOT_HKCU ? HKEY_CURRENT_USER : NULL;
}

DWORD BuildRegImage(const DWORD *roots, int count, std::string *image)
{
    // Every hive saved first, then each text put straight into its section: the image
    // is made in one allocation and never copied.
    std::vector<FileView> saved(count);
    size_t total = REGIMG_HEADER_SIZE;
    for (int i = 0; i < count; ++i) {
        DWORD error = SaveRegistryFile(RegImageRootKey(roots[i]), &saved[i]);
        if (error) return error;
        total += REGIMG_SECTION_HEADER_SIZE + saved[i].Bytes().size();
    }
    image->clear();
    image->reserve(total);
    PutHeader(image, (DWORD)count);
    for (int i = 0; i < count; ++i) {
        size_t at = image->size();
        PutSectionHeader(image, roots[i], 0);
        AppendPlain(saved[i].Bytes(), image);
        ULONGLONG length = image->size() - at - REGIMG_SECTION_HEADER_SIZE;
        memcpy(&(*image)[at + 8], &length, 8);
    }
    SealImage(image);
    return 0;
}

DWORD WriteRegImage(AtomicFile *out, const DWORD *roots, int count)
{
    // The first save is made plain where it lies, whole lines a slice at a time, read
    // into memory of our own that stays in the processor's cache: the plain text is
    // shorter, and a slice is written only over what has been read. The second follows
    // it, then the headers, which hold the lengths, with the checksum joined from the
    // parts'. No copy of the image in memory, nor a second file of it.
    if (count < 1 || count > 2) return ERROR_INVALID_PARAMETER;
    const size_t kSlice = 128 * 1024;
    ULONGLONG size = 0;
    DWORD error = out->Size(&size);
    if (!error && size > REGIMG_MAX_FILE) error = ERROR_FILE_TOO_LARGE;
    ULONGLONG to = REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE, lengths[2] = {};
    DWORD crcs[2] = {};
    std::string slice, plain;
    for (ULONGLONG from = 0; from < size && !error;) {
        // Up to the last newline read; a line longer than the slice takes a longer one.
        size_t want = (size_t)std::min<ULONGLONG>(kSlice, size - from), lines = 0;
        while (!error) {
            slice.resize(want);
            error = out->ReadAt(from, &slice[0], want);
            if (error || from + want == size) {
                lines = want;
                break;
            }
            for (lines = want; lines > 0 && slice[lines - 1] != '\n'; --lines) {}
            if (lines) break;
            want = (size_t)std::min<ULONGLONG>(2 * (ULONGLONG)want, size - from);
        }
        if (error) break;
        AppendPlain(std::string_view(slice.data(), lines), &plain);
        from += lines;
        if (from < size && to + plain.size() > from) continue;   // it would cover what is still to be read
        error = out->WriteAt(to, plain);
        crcs[0] = Crc32(crcs[0], plain.data(), plain.size());
        lengths[0] += plain.size();
        to += plain.size();
        plain.clear();
    }
    // Cut to the plain text before the disk starts on it: a cut waits for the pages it
    // drops while they are being written.
    if (!error) error = out->SetSize(to);
    if (count == 2 && !error) {
        // The second hive is saved while the disk takes the first.
        out->StartWriteBack();
        FileView second;
        error = SaveRegistryFile(RegImageRootKey(roots[1]), &second);
        if (!error) {
            to += REGIMG_SECTION_HEADER_SIZE;
            AppendPlain(second.Bytes(), &plain);
            if (to + plain.size() > REGIMG_MAX_FILE) error = ERROR_FILE_TOO_LARGE;
        }
        if (!error) error = out->WriteAt(to, plain);
        crcs[1] = Crc32(0, plain.data(), plain.size());
        lengths[1] = plain.size();
        to += plain.size();
    }
    if (!error && to > REGIMG_MAX_FILE) error = ERROR_FILE_TOO_LARGE;
    if (error) return error;
    std::string header, sectionHeader;
    PutHeader(&header, (DWORD)count);
    memcpy(&header[REGIMG_SIZE_OFFSET], &to, 8);
    DWORD crc = Crc32(0, header.data(), header.size());
    for (int i = 0; i < count && !error; ++i) {
        sectionHeader.clear();
        PutSectionHeader(&sectionHeader, roots[i], lengths[i]);
        crc = Crc32Joined(Crc32(crc, sectionHeader.data(), sectionHeader.size()), crcs[i], lengths[i]);
        if (i == 0) header += sectionHeader;
        else error = out->WriteAt(REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE + lengths[0], sectionHeader);
    }
    memcpy(&header[REGIMG_CRC_OFFSET], &crc, 4);
    return error ? error : out->WriteAt(0, header);
}

DWORD CheckRegImage(std::string_view bytes, std::vector<RegImageSection> *sections, bool checkTexts)
{
    if (sections) sections->clear();
    if (bytes.size() < 12 || memcmp(bytes.data(), REGIMG_MAGIC, 8) != 0 || GetU32(bytes, 8) != REGIMG_VERSION)
        return ERROR_NOT_REGISTRY_FILE;
    if (bytes.size() < REGIMG_HEADER_SIZE || GetU32(bytes, 12) != REGIMG_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
    DWORD count = GetU32(bytes, 16);
    if (count == 0 || count > 2 || GetU64(bytes, REGIMG_SIZE_OFFSET) != bytes.size()) return ERROR_REGISTRY_CORRUPT;
    if (ImageCrc(bytes) != GetU32(bytes, REGIMG_CRC_OFFSET)) return ERROR_REGISTRY_CORRUPT;

    // Where each text lies in the image: checked there, copied only when asked for.
    DWORD roots[2];
    size_t starts[2], lengths[2];
    size_t at = REGIMG_HEADER_SIZE;
    for (DWORD i = 0; i < count; ++i) {
        if (bytes.size() - at < REGIMG_SECTION_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
        roots[i] = GetU32(bytes, at);
        ULONGLONG length = GetU64(bytes, at + 8);
        at += REGIMG_SECTION_HEADER_SIZE;
        if (!RegImageRootKey(roots[i]) || length > bytes.size() - at) return ERROR_REGISTRY_CORRUPT;
        // A hive given twice would be applied twice, the second over the first.
        if (i == 1 && roots[0] == roots[1]) return ERROR_REGISTRY_CORRUPT;
        starts[i] = at;
        lengths[i] = (size_t)length;
        at += (size_t)length;
    }
    if (at != bytes.size()) return ERROR_REGISTRY_CORRUPT;
    for (DWORD i = 0; i < count; ++i)
        if (checkTexts && !IsSavedRegistryText(bytes.substr(starts[i], lengths[i]))) return ERROR_REGISTRY_CORRUPT;
    for (DWORD i = 0; sections && i < count; ++i) sections->push_back({roots[i], std::string(bytes.substr(starts[i], lengths[i]))});
    return 0;
}

FileView::~FileView() { Close(); }

void FileView::Close()
{
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    mapping_ = NULL;
    view_ = NULL;
    size_ = 0;
}

DWORD FileView::Open(const wchar_t *path, bool deleteWhenClosed)
{
    if (!path || !*path) return ERROR_INVALID_PARAMETER;
    // A writer may rename a new file over it, which leaves this view as it was, but may
    // not write into it: what is checked is what was copied, and a file cut short under
    // the view would fault its reader.
    file_ = CreateFileW(path, GENERIC_READ | (deleteWhenClosed ? DELETE : 0), FILE_SHARE_READ | FILE_SHARE_DELETE,
                        NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | (deleteWhenClosed ? FILE_FLAG_DELETE_ON_CLOSE : 0), NULL);
    if (file_ == INVALID_HANDLE_VALUE) return GetLastError();
    return Map(file_);
}

DWORD FileView::Map(HANDLE file)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) return GetLastError();
    if (size.QuadPart > REGIMG_MAX_FILE) return ERROR_NOT_REGISTRY_FILE;
    if (size.QuadPart == 0) return 0;   // nothing to map
    mapping_ = CreateFileMappingW(file, NULL, PAGE_READONLY, 0, 0, NULL);
    if (!mapping_) return GetLastError();
    view_ = (const char *)MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (!view_) return GetLastError();
    size_ = (size_t)size.QuadPart;
    return 0;
}

DWORD ReadRegImageFile(const wchar_t *path, std::string *bytes)
{
    bytes->clear();
    if (!path || !*path) return ERROR_INVALID_PARAMETER;
    // Shared, so that a writer can still rename a new file over it.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    LARGE_INTEGER size;
    DWORD error = 0, got = 0;
    if (!GetFileSizeEx(file, &size)) error = GetLastError();
    else if (size.QuadPart > REGIMG_MAX_FILE) error = ERROR_NOT_REGISTRY_FILE;
    else if (size.QuadPart > 0) {
        bytes->resize((size_t)size.QuadPart);
        if (!ReadFile(file, &(*bytes)[0], (DWORD)size.QuadPart, &got, NULL)) error = GetLastError();
        else if (got != size.QuadPart) error = ERROR_REGISTRY_CORRUPT;
    }
    CloseHandle(file);
    if (error) bytes->clear();
    return error;
}

DWORD AtomicFile::Begin(const wchar_t *path, std::string_view bytes, bool replace, bool background)
{
    if (bytes.size() > REGIMG_MAX_FILE) return error_ = ERROR_FILE_TOO_LARGE;
    DWORD error = Open(path, replace);
    if (!error) error = Append(bytes);
    return error ? error : Sync(background);
}

DWORD AtomicFile::Open(const wchar_t *path, bool replace, bool inDevice)
{
    if (!path || !*path) return error_ = ERROR_INVALID_PARAMETER;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return error_ = ERROR_ACCESS_DENIED;
        if (!replace) return error_ = ERROR_ALREADY_EXISTS;
    }
    static LONG counter;
    wchar_t suffix[48];
    wsprintfW(suffix, L".~%lx-%lx.tmp", GetCurrentProcessId(), InterlockedIncrement(&counter));
    path_ = path;
    // Beside the file, so that the move is a rename; or in the device folder, which the
    // next start sweeps, so that no record of it need reach the disk first.
    temp_ = inDevice ? DeviceFilePath((L"copy" + std::wstring(suffix)).c_str()) : L"";
    if (temp_.empty()) temp_ = path + std::wstring(suffix);
    replace_ = replace;
    // The record reaches the disk before the temporary exists.
    record_ = RecordPendingFile(temp_);
    file_ = CreateFileW(temp_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file_ == INVALID_HANDLE_VALUE) error_ = GetLastError();
    return error_;
}

DWORD AtomicFile::Append(std::string_view bytes)
{
    if (Ready()) return error_;
    if (bytes.size() > REGIMG_MAX_FILE) return error_ = ERROR_FILE_TOO_LARGE;
    DWORD wrote = 0;
    if (!WriteFile(file_, bytes.data(), (DWORD)bytes.size(), &wrote, NULL) || wrote != bytes.size())
        error_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    return error_;
}

// A read or write of the file at `offset` rather than at its pointer.
static OVERLAPPED OffsetOf(ULONGLONG offset)
{
    OVERLAPPED at = {};
    at.Offset = (DWORD)offset;
    at.OffsetHigh = (DWORD)(offset >> 32);
    return at;
}

DWORD AtomicFile::WriteAt(ULONGLONG offset, std::string_view bytes)
{
    if (Ready()) return error_;
    OVERLAPPED at = OffsetOf(offset);
    DWORD wrote = 0;
    if (!WriteFile(file_, bytes.data(), (DWORD)bytes.size(), &wrote, &at) || wrote != bytes.size())
        error_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    return error_;
}

DWORD AtomicFile::Size(ULONGLONG *size)
{
    LARGE_INTEGER at;
    if (Ready()) return error_;
    if (!GetFileSizeEx(file_, &at)) return error_ = GetLastError();
    *size = (ULONGLONG)at.QuadPart;
    return 0;
}

DWORD AtomicFile::ReadAt(ULONGLONG offset, char *bytes, size_t size)
{
    if (Ready()) return error_;
    OVERLAPPED at = OffsetOf(offset);
    DWORD got = 0;
    if (!ReadFile(file_, bytes, (DWORD)size, &got, &at)) error_ = GetLastError();
    else if (got != size) error_ = ERROR_READ_FAULT;   // cut short under us
    return error_;
}

DWORD AtomicFile::SetSize(ULONGLONG size)
{
    if (Ready()) return error_;
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = (LONGLONG)size;
    if (!SetFileInformationByHandle(file_, FileEndOfFileInfo, &end, sizeof end)) error_ = GetLastError();
    return error_;
}

// On the disk before it takes the name: a crash then leaves the old file or the new one.
// The disk's wait needs no processor, so the caller may go on meanwhile.
DWORD AtomicFile::Sync(bool background)
{
    if (Ready()) return error_;
    PowerCutPoint("write-temp");
    Run(SyncProc, background);
    return background ? 0 : Ready();
}

void CALLBACK AtomicFile::SyncProc(PTP_CALLBACK_INSTANCE, void *self, PTP_WORK)
{
    AtomicFile *file = (AtomicFile *)self;
    file->EndWriteBack();
    if (!FlushFileBuffers(file->file_)) file->workError_ = GetLastError();
}

void AtomicFile::StartWriteBack()
{
    if (writeBack_ || work_ || error_ || file_ == INVALID_HANDLE_VALUE) return;
    if ((writeBack_ = CreateThreadpoolWork(WriteBackProc, this, NULL)) != NULL) SubmitThreadpoolWork(writeBack_);
}

void CALLBACK AtomicFile::WriteBackProc(PTP_CALLBACK_INSTANCE, void *self, PTP_WORK)
{
    FlushFileBuffers(((AtomicFile *)self)->file_);
}

// Before the handle closes, which the write-back uses.
void AtomicFile::EndWriteBack()
{
    if (!writeBack_) return;
    WaitForThreadpoolWorkCallbacks(writeBack_, FALSE);
    CloseThreadpoolWork(writeBack_);
    writeBack_ = NULL;
}

void AtomicFile::Run(PTP_WORK_CALLBACK proc, bool background)
{
    workError_ = 0;
    if (background && (work_ = CreateThreadpoolWork(proc, this, NULL)) != NULL) {
        SubmitThreadpoolWork(work_);
        SwitchToThread();   // the step under way before the caller goes on
    } else {
        proc(NULL, this, NULL);
    }
}

// The background step ended.
DWORD AtomicFile::Ready()
{
    if (work_) {
        WaitForThreadpoolWorkCallbacks(work_, FALSE);
        CloseThreadpoolWork(work_);
        work_ = NULL;
    }
    if (!error_) error_ = workError_;
    workError_ = 0;
    return error_;
}

DWORD AtomicFile::Commit()
{
    if (Ready()) {
        End();
        return error_;
    }
    if (file_ == INVALID_HANDLE_VALUE) return error_ = ERROR_INVALID_HANDLE;
    EndWriteBack();
    if (!CloseHandle(file_)) error_ = GetLastError();
    file_ = INVALID_HANDLE_VALUE;
    PowerCutPoint("write-synced");
    if (!error_) error_ = MoveInPlace();
    if (!error_) {
        temp_.clear();   // it has the name now; the record, which End deletes, names nothing
        PowerCutPoint("write-renamed");
    }
    End();
    return error_;
}

DWORD AtomicFile::MoveInPlace()
{
    bool across = SimGetFailure(SIM_FAIL_CROSSVOLUME) && temp_.compare(0, path_.size(), path_) != 0;   // a test's
    if (!across && MoveFileExW(temp_.c_str(), path_.c_str(), (replace_ ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH))
        return 0;
    DWORD error = across ? ERROR_NOT_SAME_DEVICE : GetLastError();
    if (error != ERROR_NOT_SAME_DEVICE) return error;
    // The device folder lies on another volume than the file: its copy goes beside the
    // file first, as any other would.
    std::string bytes;
    error = ReadRegImageFile(temp_.c_str(), &bytes);
    if (!error) error = WriteFileAtomically(path_.c_str(), bytes, replace_);
    if (!error) DeleteFileW(temp_.c_str());
    return error;
}

AtomicFile::~AtomicFile() { End(); }

// Whatever is left of the temporary goes: all of it unless the rename took it.
void AtomicFile::End()
{
    Ready();
    EndWriteBack();
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    if (!temp_.empty()) DeleteFileW(temp_.c_str());
    if (!record_.empty()) DeleteFileW(record_.c_str());
    temp_.clear();
    record_.clear();
}

DWORD WriteFileAtomically(const wchar_t *path, std::string_view bytes, bool replace)
{
    AtomicFile file;
    DWORD error = file.Begin(path, bytes, replace, false);
    return error ? error : file.Commit();
}

std::wstring DeviceFilePath(const wchar_t *name)
{
    wchar_t folder[MAX_PATH];
    if (!SimGetDeviceDir(folder, MAX_PATH)) return L"";
    CreateDirectoryW(folder, NULL);
    return folder + std::wstring(folder[lstrlenW(folder) - 1] == L'\\' ? L"" : L"\\") + name;
}

void EnableRegistryPrivileges(void)
{
    // Once for the process, which drops neither: each call is two requests to the server.
    static LONG enabled;
    if (enabled) return;
    typedef LONG(NTAPI * AdjustProc)(ULONG, BOOLEAN, BOOLEAN, PBOOLEAN);
    static AdjustProc adjust = (AdjustProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlAdjustPrivilege");
    BOOLEAN was;
    bool all = adjust != NULL;
    for (ULONG privilege : {17u, 18u})   // SeBackupPrivilege, SeRestorePrivilege
        all = all && adjust(privilege, TRUE, FALSE, &was) == 0;
    if (all) InterlockedExchange(&enabled, 1);
}

// An image of the hives in `file`. The first, most of the image, is saved straight into
// the temporary, which lies in the device folder and so needs no record; the second is
// saved while the disk takes the first.
static DWORD WriteRegImageFile(const wchar_t *file, const DWORD *roots, int count, bool replace)
{
    AtomicFile out;
    DWORD error = out.Open(file, replace, true);
    if (!error) error = SaveRegistryInto(RegImageRootKey(roots[0]), &out);
    if (!error) error = WriteRegImage(&out, roots, count);
    if (!error) error = out.Sync(false);
    return error ? error : out.Commit();
}

extern "C" {

// The device registry is the machine's hive (which holds the classes) and the user's.
BOOL WINAPI RegCopyFile(LPCWSTR file)
{
    static const DWORD roots[] = {REGIMG_ROOT_HKLM, REGIMG_ROOT_HKCU};
    DWORD error = SimGetFailure(SIM_FAIL_REGCOPY);
    if (!error && (!file || !*file)) error = ERROR_INVALID_PARAMETER;
    if (!error) error = WriteRegImageFile(file, roots, 2, true);
    SetLastError(error);
    return error == 0;
}

BOOL WINAPI RegRestoreFile(LPCWSTR file)
{
    DWORD error = SimGetFailure(SIM_FAIL_REGRESTORE);
    FileView image;
    AtomicFile staged;
    if (!error) error = image.Open(file, false);
    // Staged while it is checked, so that the disk takes the copy meanwhile; a refused
    // image leaves nothing staged.
    DWORD staging = error ? 0 : staged.Begin(DeviceFilePath(REGIMG_STAGED_NAME).c_str(), image.Bytes(), true, true);
    if (!error) error = CheckRegImage(image.Bytes(), NULL, true);
    if (!error) error = staging ? staging : staged.Commit();
    SetLastError(error);
    return error == 0;
}

// The save of the hive that holds the key.
LONG WINAPI Ce_RegSaveKeyW(HKEY key, LPCWSTR file, LPSECURITY_ATTRIBUTES)
{
    DWORD root = HiveOf(key);
    if (!file || !*file || !root) return ERROR_INVALID_PARAMETER;
    return (LONG)WriteRegImageFile(file, &root, 1, false);
}

// Stages the file's image of the hive that holds the key, for the next soft reset;
// another hive already staged stays staged. The old file, when named, receives the
// hive as it stands.
LONG WINAPI Ce_RegReplaceKeyW(HKEY key, LPCWSTR subkey, LPCWSTR newFile, LPCWSTR oldFile)
{
    DWORD root = HiveOf(key);
    if (!newFile || !*newFile || !root || (subkey && *subkey)) return ERROR_INVALID_PARAMETER;
    std::string bytes, old;
    std::vector<RegImageSection> sections, staged, merged;
    DWORD error = ReadRegImageFile(newFile, &bytes);
    if (!error) error = CheckRegImage(bytes, &sections, true);
    if (error) return (LONG)error;
    if (ReadRegImageFile(DeviceFilePath(REGIMG_STAGED_NAME).c_str(), &old) == 0) CheckRegImage(old, &staged, false);
    for (const RegImageSection &s : sections)
        if (s.root == root) merged.push_back(s);
    if (merged.empty()) return ERROR_NOT_REGISTRY_FILE;   // an image, but not of this hive
    for (const RegImageSection &s : staged)
        if (s.root != root) merged.push_back(s);
    if (oldFile && *oldFile && (error = Ce_RegSaveKeyW(key, oldFile, NULL)) != 0) return (LONG)error;
    return (LONG)StageRegImage(ImageOfSections(merged));
}

}  // extern "C"
