// The device's registry image: its file format and the services the registry parts of
// coredll.dll offer one another.
#ifndef REGISTRY_IMAGE_H
#define REGISTRY_IMAGE_H

#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

// An image file (numbers little-endian): the header, "CEREGIMG", version 2, header size
// 40, the number of sections (1 or 2), 0, the file's size (8 bytes), its CRC-32 (IEEE)
// taken with this field as 0, and 0; then each section: its hive (REGIMG_ROOT_*), 0, the
// byte length of its text (8 bytes) and the text. A section holds one whole hive, each
// hive at most once: the machine's (which holds the classes) and the user's. Its text is
// the registry's own save format in the plain form RegistryText gives: no comments, no
// times, nothing after the "]" of a key line. Nothing may follow the last section.
#define REGIMG_MAGIC "CEREGIMG"
#define REGIMG_VERSION 2
#define REGIMG_HEADER_SIZE 40
#define REGIMG_SECTION_HEADER_SIZE 16
#define REGIMG_SIZE_OFFSET 24
#define REGIMG_CRC_OFFSET 32
#define REGIMG_MAX_FILE (512u * 1024 * 1024)

enum RegImageRoot { REGIMG_ROOT_HKLM = 1, REGIMG_ROOT_HKCU = 2 };

// In the device folder: the image staged for the next soft reset, the factory image a
// hard reset applies, and the outcome of the last apply of a staged image.
#define REGIMG_STAGED_NAME L"registry-staged.img"
#define REGIMG_FACTORY_NAME L"registry-factory.img"
#define REGIMG_OUTCOME_NAME L"registry-apply.txt"
// The registry as it was before an apply began, kept until the applied one is on disk.
#define REGIMG_JOURNAL_SOFT_NAME L"registry-journal-soft.img"
#define REGIMG_JOURNAL_HARD_NAME L"registry-journal-hard.img"

struct RegImageSection {
    DWORD root;            // REGIMG_ROOT_*
    std::string text;
};

// ---- Images (registry_image.cpp) ----

// The predefined handle of a hive's root.
HKEY RegImageRootKey(DWORD root);
// An image of the given sections.
std::string ImageOfSections(const std::vector<RegImageSection> &sections);
// An image of the given hives as they stand.
DWORD BuildRegImage(const DWORD *roots, int count, std::string *image);
// Whether an image is whole and sound, and its sections when asked for; with
// `checkTexts` each text must also be one the registry's save gives
// (IsSavedRegistryText). Else ERROR_NOT_REGISTRY_FILE for no image at all, or
// ERROR_REGISTRY_CORRUPT.
DWORD CheckRegImage(std::string_view bytes, std::vector<RegImageSection> *sections, bool checkTexts);
// Reads a whole file of at most REGIMG_MAX_FILE bytes: an image, the profile, an outcome.
DWORD ReadRegImageFile(const wchar_t *path, std::string *bytes);
// A whole file of at most REGIMG_MAX_FILE bytes, mapped rather than read into memory of
// our own, so that each byte is taken once; deleted when closed if asked.
class FileView {
public:
    FileView() : file_(INVALID_HANDLE_VALUE), mapping_(NULL), view_(NULL), size_(0) {}
    ~FileView();
    FileView(const FileView &) = delete;
    DWORD Open(const wchar_t *path, bool deleteWhenClosed);
    // A view of a file the caller keeps open, and closes after Close.
    DWORD Map(HANDLE file);
    void Close();
    std::string_view Bytes() const { return std::string_view(view_ ? view_ : "", size_); }

private:
    HANDLE file_, mapping_;
    const char *view_;
    size_t size_;
};
// Writes a temporary file beside `path`, flushes it and moves it in place. Fails, leaving
// nothing behind, on a folder, a read-only file, or, unless `replace`, an existing file.
DWORD WriteFileAtomically(const wchar_t *path, std::string_view bytes, bool replace);
// The same in steps, so that the caller can work while the disk takes the file. Open
// checks the path and makes the temporary, beside the file or, `inDevice`, in the device
// folder; one outside the device folder is recorded for the next start to remove, and
// another may open it to write too (TempPath). Append, WriteAt, Size, ReadAt and SetSize
// work on it; Sync flushes it, in the `background` on a thread of the pool if asked
// (never while the process is starting, which holds the loader's lock); Commit waits for
// the flush and moves the file in place. Begin is Open, Append and Sync at once. Without
// a Commit, or after a failure, nothing is left behind.
class AtomicFile {
public:
    AtomicFile() : file_(INVALID_HANDLE_VALUE), work_(NULL), writeBack_(NULL), replace_(false), error_(0), workError_(0) {}
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    DWORD Begin(const wchar_t *path, std::string_view bytes, bool replace, bool background);
    DWORD Open(const wchar_t *path, bool replace, bool inDevice = false);
    DWORD Append(std::string_view bytes);
    DWORD WriteAt(ULONGLONG offset, std::string_view bytes);
    DWORD Size(ULONGLONG *size);
    DWORD ReadAt(ULONGLONG offset, char *bytes, size_t size);
    DWORD SetSize(ULONGLONG size);
    // A background flush ended; the first error of the steps so far.
    DWORD Ready();
    DWORD Sync(bool background);
    // The disk starts on what is written so far while the caller writes on; the sync
    // then waits only for the rest. What fails here, the sync finds again.
    void StartWriteBack();
    const std::wstring &TempPath() const { return temp_; }
    DWORD Commit();

private:
    static void CALLBACK SyncProc(PTP_CALLBACK_INSTANCE, void *self, PTP_WORK);
    static void CALLBACK WriteBackProc(PTP_CALLBACK_INSTANCE, void *self, PTP_WORK);
    void EndWriteBack();
    void Run(PTP_WORK_CALLBACK proc, bool background);
    DWORD MoveInPlace();
    void End();

    HANDLE file_;
    PTP_WORK work_, writeBack_;
    std::wstring path_, temp_, record_;
    bool replace_;
    DWORD error_, workError_;   // the second the background step's own, set while it runs
};
// An image of one or two hives made in the temporary of `out`, where the registry has
// saved the first; the second is saved here, while the disk takes the first.
DWORD WriteRegImage(AtomicFile *out, const DWORD *roots, int count);
// A file of the device folder, which is made when missing; "" without a folder.
std::wstring DeviceFilePath(const wchar_t *name);
// Enables the backup and restore privileges the registry's save and load need.
void EnableRegistryPrivileges(void);

// ---- Applying (registry_apply.cpp) ----

// The registry's save of a key in its plain form; appended to what `text` holds.
DWORD RegistryText(HKEY key, std::string *text);
DWORD AppendRegistryText(HKEY key, std::string *text);
// The registry's save of a key, in a scratch file that goes when the view closes; and a
// save made plain, appended to `out`.
DWORD SaveRegistryFile(HKEY key, FileView *saved);
void AppendPlain(std::string_view saved, std::string *out);
// Makes the key's registry exactly `text`, or fails; what it changed before failing
// is not undone. `now`, when given, is the key's text as it stands. Unless `check` is
// false, the key is saved once more and must come out as `text`.
DWORD ApplyRegistryText(HKEY key, const std::string &text, const std::string *now = NULL, bool check = true);
// Whether a hive's text is `want` but for the keys the display driver keeps, which the
// display rewrites at its every start and change: an apply leaves those as they are.
bool SameRegistryText(const std::string &text, const std::string &want);
// An image applied whose check is left to the flush that follows: each hive it changed
// with the text the hive's save must give once the boot count is raised, and every
// hive as it was, to put back when one does not.
struct AppliedImage {
    std::vector<RegImageSection> saves, before;
};
// Makes each section's hive exactly its text, or leaves every hive as it was. With a
// journal, the hives as they were are written to it whole before the first change.
// With `applied`, the changed hives are not saved again here: the caller's flush
// checks them (FlushDeviceRegistry), and UndoRegImage puts back what was.
DWORD ApplyRegImage(const std::vector<RegImageSection> &sections, const wchar_t *journal, AppliedImage *applied = NULL);
void UndoRegImage(AppliedImage *applied);
// The machine's text with its boot count raised as RaiseBootCount raises it; false
// when the text holds no count as a number.
bool RaiseBootCountInText(std::string *text);
// Whether a text is byte for byte what RegistryText gives of some key, so that its load
// reads every line and saves back the same: checked without the registry, in one pass.
bool IsSavedRegistryText(std::string_view text);
// Deletes a key and all below it; a link is deleted, never followed.
DWORD DeleteKeyTree(HKEY parent, const wchar_t *subkey);

// ---- Device and sandbox (registry_device.cpp) ----

bool SandboxActive(void);
// The factory image of the sandboxed device: its seeded state.
const std::string *SandboxFactoryImage(void);
// Writes the factory values over the running registry.
bool SeedFactoryRegistry(void);
// The image a soft reset (the staged one) or a hard reset (the factory one) applies.
DWORD ReadTargetImage(bool hard, std::string *bytes);
void RaiseBootCount(void);

// ---- Durability (registry_durable.cpp) ----

// A mutex of every process of the device, held for two minutes at most.
class DeviceLock {
public:
    explicit DeviceLock(const wchar_t *name);
    ~DeviceLock();
    DeviceLock(const DeviceLock &) = delete;

private:
    HANDLE handle_;
    bool held_;
};
#define REGISTRY_APPLY_LOCK L"Local\\ZelvoRudoreRegistryApply"

// Both hives of the device registry on disk; nothing to do in a test's sandbox. Each
// hive of `checks` must save as its text, or nothing is written and the result is
// ERROR_REGISTRY_CORRUPT: the save that goes to disk is the apply's check.
DWORD FlushDeviceRegistry(const std::vector<RegImageSection> *checks = NULL);
void ClearRecovery(void);
void WriteRecovery(int recovery);
// Records a temporary file outside the device folder for the next start to remove;
// the record's path, or "" when none was needed.
std::wstring RecordPendingFile(const std::wstring &temp);

#endif
