// Creating the device and restarting it: the factory registry and files, the staged
// image that a soft reset applies, the factory image that a hard reset puts back, and
// the boot counter every restart raises.
//
// The registry sandbox of a test: this process's four root keys point into a private
// subtree seeded with the factory values, so that a test changes, backs up, restores
// and resets a device registry of its own and never the device's. The subtrees live in
// HKEY_USERS\SimDevice\Sandbox\<process id>, outside both hives of the device
// registry: a backup of the device never carries a sandbox, an image applied to the
// device never removes one, and the registry keeps that branch in memory only. Images
// staged in a test go to its private device folder, which the test's end removes.
//
// The boot counter counts boots, so a restart always ends with it one higher than the
// registry it started from: after a restore it is the restored image's count plus one,
// after a hard reset the factory count plus one.
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include "device.h"
#include "registry_image.h"

namespace {

const wchar_t kCommKey[] = L"Comm";
const wchar_t kBootCount[] = L"Bootcount";
const DWORD kDeviceHives[] = {REGIMG_ROOT_HKLM, REGIMG_ROOT_HKCU};

// ---- The device's files ----

std::wstring SystemDrive()
{
    wchar_t windows[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n >= 2 && n < MAX_PATH && windows[1] == L':') return std::wstring(windows, 2);
    return L"C:";
}

bool CreateFolders(const std::wstring &path)
{
    for (size_t cut = path.find(L'\\', 3); ; cut = path.find(L'\\', cut + 1)) {
        std::wstring part = cut == std::wstring::npos ? path : path.substr(0, cut);
        if (!CreateDirectoryW(part.c_str(), NULL) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        if (cut == std::wstring::npos) return true;
    }
}

void Put16(std::string *out, WORD v) { out->append((const char *)&v, 2); }
void Put32(std::string *out, DWORD v) { out->append((const char *)&v, 4); }

// A short PCM tone: one or two notes with a soft start and end.
std::string MakeWave(double first, double second, int milliseconds)
{
    const DWORD rate = 11025, samples = rate * milliseconds / 1000;
    std::string out = "RIFF";
    Put32(&out, 36 + samples * 2);
    out += "WAVEfmt ";
    for (DWORD v : {(DWORD)16, (DWORD)0x00010001, rate, rate * 2, (DWORD)0x00100002}) Put32(&out, v);   // PCM, mono, 16 bits
    out += "data";
    Put32(&out, samples * 2);
    for (DWORD i = 0; i < samples; ++i) {
        double f = (second > 0 && i >= samples / 2) ? second : first;
        double edge = std::min(1.0, std::min(i, samples - 1 - i) / (rate * 0.01));
        Put16(&out, (WORD)(short)(sin(2 * 3.14159265358979 * f * i / rate) * edge * 12000));
    }
    return out;
}

// A standard MIDI file of one track, a short rising tune.
const char kTune[] =
    "\x4D\x54\x68\x64\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60\x4D\x54\x72\x6B\x00\x00\x00\x3E\x00\xFF\x51\x03"
    "\x07\xA1\x20\x00\xC0\x0B\x00\x90\x48\x60\x30\x80\x48\x40\x00\x90\x4C\x60\x30\x80\x4C\x40\x00\x90\x4F\x60"
    "\x30\x80\x4F\x40\x00\x90\x54\x60\x30\x80\x54\x40\x00\x90\x4F\x60\x30\x80\x4F\x40\x00\x90\x4C\x60\x30\x80"
    "\x4C\x40\x00\xFF\x2F\x00";

// A Windows Media audio file: the header objects a player reads first (file properties,
// one Windows Media Audio 2 stream of two seconds) and an empty data object.
const char kMelody[] =
    "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C\xF0\x00\x00\x00\x00\x00\x00\x00\x02\x00"
    "\x00\x00\x01\x02\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65\x68\x00\x00\x00\x00\x00"
    "\x00\x00\x52\x5A\x00\x00\x01\x00\x01\x00\x5A\x52\x44\x45\x56\x49\x43\x45\x22\x01\x00\x00\x00\x00\x00\x00"
    "\x00\x00\xC0\xD5\xB6\xB2\xC3\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x2D\x31\x01\x00\x00\x00\x00\x00\x2D"
    "\x31\x01\x00\x00\x00\x00\xB8\x0B\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\xE6\x02\x00\x00\xE6\x02\x00\x00"
    "\x80\x3E\x00\x00\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65\x6A\x00\x00\x00\x00\x00"
    "\x00\x00\x40\x9E\x69\xF8\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B\x00\x57\xFB\x20\x55\x5B\xCF\x11"
    "\xA8\xFD\x00\x80\x5F\x5C\x44\x2B\x00\x00\x00\x00\x00\x00\x00\x00\x1C\x00\x00\x00\x00\x00\x00\x00\x01\x00"
    "\x00\x00\x00\x00\x61\x01\x01\x00\x22\x56\x00\x00\xD0\x07\x00\x00\xE6\x02\x10\x00\x0A\x00\x00\x08\x00\x00"
    "\x01\x00\x00\x00\x00\x00\x36\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C\x32\x00\x00\x00"
    "\x00\x00\x00\x00\x52\x5A\x00\x00\x01\x00\x01\x00\x5A\x52\x44\x45\x56\x49\x43\x45\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x01\x01";

struct DeviceFile {
    const wchar_t *path;   // device path
    double first, second;  // a tone's notes; 0, 0 for the two files above
    int milliseconds;
};

// Every sound the factory values name, and a few more tones for the ring folder.
const DeviceFile kDeviceFiles[] = {
    {L"\\Windows\\Rings\\Ring1.wav", 880, 660, 600},
    {L"\\Windows\\Rings\\Ring2.wav", 1046, 784, 600},
    {L"\\Windows\\Rings\\Alarm1.wav", 1318, 0, 400},
    {L"\\Windows\\Rings\\Tune.mid", 0, 0, 0},
    {L"\\Windows\\Rings\\Melody.wma", 0, 0, 0},
    {L"\\Windows\\Busy.wav", 480, 620, 500},
    {L"\\Windows\\CallDrop.wav", 620, 440, 300},
    {L"\\Windows\\CallWaiting.wav", 440, 0, 300},
    {L"\\Windows\\Dialing.wav", 350, 440, 300},
    {L"\\Windows\\Disconnect.wav", 440, 330, 300},
    {L"\\Windows\\Click.wav", 2000, 0, 40},
    {L"\\Windows\\Infbeg.wav", 660, 880, 200},
    {L"\\Windows\\Infend.wav", 880, 660, 200},
    {L"\\Windows\\Notify.wav", 988, 1318, 300},
    {L"\\Windows\\Alarm1.wav", 1318, 0, 400},
    {L"\\Windows\\Alarm2.wav", 1175, 1568, 400},
};

const wchar_t *const kDeviceFolders[] = {L"\\Windows\\Rings", L"\\My Documents", L"\\Program Files", L"\\Temp",
                                         L"\\Storage Card",
                                         L"\\Windows\\Profiles\\guest\\Temporary Internet Files",
                                         L"\\Windows\\Profiles\\guest\\Cookies", L"\\Windows\\Profiles\\guest\\History"};

bool CreateDeviceFiles()
{
    std::wstring drive = SystemDrive();
    bool ok = true;
    for (const wchar_t *folder : kDeviceFolders) ok &= CreateFolders(drive + folder);
    for (const DeviceFile &f : kDeviceFiles) {
        std::wstring path = drive + f.path;
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;   // kept as it is
        std::string bytes = wcsstr(f.path, L".mid") ? std::string(kTune, sizeof kTune - 1)
                          : wcsstr(f.path, L".wma") ? std::string(kMelody, sizeof kMelody - 1)
                                                    : MakeWave(f.first, f.second, f.milliseconds);
        ok &= WriteFileAtomically(path.c_str(), bytes, false) == 0;
    }
    return ok;
}

// ---- Restarts ----

// Kept for the device-control command to show; the new registry is on disk by then.
void WriteOutcome(DWORD error)
{
    WriteFileAtomically(DeviceFilePath(REGIMG_OUTCOME_NAME).c_str(), std::to_string(error), true);
}

// The registry on disk after an apply, each changed hive checked by the very save that
// goes to disk. A hive that does not save as the image says was applied wrongly: every
// hive goes back as it was, its boot count raised again when `raiseAfterUndo`, and the
// apply's `error` says so.
DWORD FlushAppliedImage(AppliedImage *applied, bool raiseAfterUndo, DWORD *error)
{
    DWORD flushed = FlushDeviceRegistry(&applied->saves);
    if (flushed != ERROR_REGISTRY_CORRUPT || applied->saves.empty()) return flushed;
    *error = ERROR_REGISTRY_CORRUPT;
    UndoRegImage(applied);
    if (raiseAfterUndo) RaiseBootCount();
    return FlushDeviceRegistry();
}

// A staged image that cannot be applied leaves the registry as it was and stays
// staged. One that is applied goes only once the new registry and the boot count are
// on disk; until then the journal lets the next start finish the apply.
DWORD ApplyStagedImage()
{
    std::wstring staged = DeviceFilePath(REGIMG_STAGED_NAME), journal = DeviceFilePath(REGIMG_JOURNAL_SOFT_NAME);
    bool present = GetFileAttributesW(staged.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::string bytes;
    std::vector<RegImageSection> sections;
    DWORD error = present ? ReadTargetImage(false, &bytes) : 0;
    if (present && !error) error = CheckRegImage(bytes, &sections, false);
    AppliedImage applied;
    if (present && !error) error = ApplyRegImage(sections, journal.c_str(), &applied);
    RaiseBootCount();
    PowerCutPoint("apply-booted");
    DWORD flushed = FlushAppliedImage(&applied, true, &error);
    if (!present) return flushed;
    if (flushed) return flushed;   // the journal stays: the next start finishes the apply
    PowerCutPoint("apply-durable");
    WriteOutcome(error);
    if (!error) {
        DeleteFileW(staged.c_str());
        PowerCutPoint("apply-committed");
    }
    DeleteFileW(journal.c_str());
    return error;
}

void EndIfAsked(BOOL ending)
{
    if (ending && !(SimTestFlags() & SIM_TEST_RECORD_POWER)) ExitProcess(0);
}

// The registry holds the device's own values: it is a device, made before.
bool RegistryIsADevices()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCommKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool has = RegQueryValueExW(key, kBootCount, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
    RegCloseKey(key);
    return has;
}

}  // namespace

// Missing or not a number, the count starts again from nothing.
void RaiseBootCount(void)
{
    DWORD count = SimGetBootCount();
    if (count != 0xFFFFFFFF) ++count;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kCommKey, kBootCount, REG_DWORD, &count, sizeof count);
}

DWORD ReadTargetImage(bool hard, std::string *bytes)
{
    bytes->clear();
    if (!hard) return ReadRegImageFile(DeviceFilePath(REGIMG_STAGED_NAME).c_str(), bytes);
    if (const std::string *image = SandboxFactoryImage()) {
        *bytes = *image;
        return 0;
    }
    if (SandboxActive()) return ERROR_FILE_NOT_FOUND;
    return ReadRegImageFile(DeviceFilePath(REGIMG_FACTORY_NAME).c_str(), bytes);
}

bool SeedFactoryRegistry(void)
{
    bool ok = true;
    for (size_t i = 0; i < g_factoryRegistryCount; ++i) {
        const FactoryValue &v = g_factoryRegistry[i];
        HKEY key;
        if (RegCreateKeyExW(v.root, v.key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS) {
            ok = false;
            continue;
        }
        if (v.name && v.type == REG_SZ)
            ok &= RegSetValueExW(key, v.name, 0, REG_SZ, (const BYTE *)v.text, (lstrlenW(v.text) + 1) * sizeof(wchar_t)) == 0;
        else if (v.name)
            ok &= RegSetValueExW(key, v.name, 0, REG_DWORD, (const BYTE *)&v.number, sizeof v.number) == 0;
        RegCloseKey(key);
    }
    return ok;
}

extern "C" {

BOOL SimCreateDevice(void)
{
    // A device made before keeps its registry: only what it lacks of its files is made.
    if (!SandboxActive() && RegistryIsADevices()) return CreateDeviceFiles() ? SIM_CREATE_KEPT : FALSE;
    bool ok = SeedFactoryRegistry();
    ok &= CreateDeviceFiles();
    // The factory image is taken once, when the device is first made; a test's
    // sandbox has its own.
    std::wstring factory = DeviceFilePath(REGIMG_FACTORY_NAME);
    std::string image;
    if (!SandboxActive())
        ok &= BuildRegImage(kDeviceHives, 2, &image) == 0 && WriteFileAtomically(factory.c_str(), image, true) == 0;
    ok &= FlushDeviceRegistry() == 0;
    return ok ? SIM_CREATE_MADE : FALSE;
}

DWORD SimGetBootCount(void)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCommKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD type = 0, count = 0, size = sizeof count;
    LONG r = RegQueryValueExW(key, kBootCount, NULL, &type, (BYTE *)&count, &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof count ? count : 0;
}

BOOL SimHasStagedImage(void)
{
    return GetFileAttributesW(DeviceFilePath(REGIMG_STAGED_NAME).c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL SimGetLastApply(DWORD *error)
{
    std::string text;
    if (ReadRegImageFile(DeviceFilePath(REGIMG_OUTCOME_NAME).c_str(), &text) || text.empty()) return FALSE;
    *error = strtoul(text.c_str(), NULL, 10);
    return TRUE;
}

DWORD SimSoftReset(BOOL ending)
{
    SimRecordPowerAction(SIM_POWER_SOFT_RESET, 0, 0);
    DWORD error;
    {
        DeviceLock lock(REGISTRY_APPLY_LOCK);
        ClearRecovery();
        error = ApplyStagedImage();
    }
    EndIfAsked(ending);
    return error;
}

// A factory image that is missing or not sound is refused and nothing changes; so does
// one that cannot be applied, which leaves the registry as it was.
DWORD SimHardReset(BOOL ending)
{
    SimRecordPowerAction(SIM_POWER_HARD_RESET, 0, 0);
    std::string bytes;
    std::vector<RegImageSection> sections;
    DWORD read = ReadTargetImage(true, &bytes);
    if (read == ERROR_FILE_NOT_FOUND || read == ERROR_PATH_NOT_FOUND) return SIM_HARD_NO_IMAGE;
    if (read || CheckRegImage(bytes, &sections, false)) return SIM_HARD_DAMAGED_IMAGE;
    DWORD error;
    {
        DeviceLock lock(REGISTRY_APPLY_LOCK);
        ClearRecovery();
        std::wstring journal = DeviceFilePath(REGIMG_JOURNAL_HARD_NAME);
        AppliedImage applied;
        error = ApplyRegImage(sections, journal.c_str(), &applied);
        if (!error) {
            RaiseBootCount();
            PowerCutPoint("apply-booted");
        }
        DWORD flushed = FlushAppliedImage(&applied, false, &error);
        if (!error && !flushed) {
            PowerCutPoint("apply-durable");
            for (const wchar_t *name : {REGIMG_STAGED_NAME, REGIMG_OUTCOME_NAME}) DeleteFileW(DeviceFilePath(name).c_str());
            PowerCutPoint("apply-committed");
        }
        if (!flushed) DeleteFileW(journal.c_str());
        if (!error) error = flushed;
    }
    if (!error) EndIfAsked(ending);
    return error;
}

}  // extern "C"

namespace {

// ---- The registry sandbox of a test ----

const wchar_t kContainer[] = L"SimDevice\\Sandbox";

struct Sandbox {
    bool active;
    HKEY container;                 // the real HKEY_USERS\SimDevice\Sandbox
    std::wstring name;              // this process's subtree in it
    std::string factory;            // the seeded registry, which a hard reset brings back
};
Sandbox g_box;

HKEY CreateUnder(HKEY parent, const wchar_t *path)
{
    HKEY key = NULL;
    if (RegCreateKeyExW(parent, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS) return NULL;
    return key;
}

void PutRootsBack()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, NULL);
    RegOverridePredefKey(HKEY_USERS, NULL);
    RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
}

}  // namespace

BOOL RegistrySandboxBegin(void)
{
    if (g_box.active) RegistrySandboxEnd();
    HKEY container = CreateUnder(HKEY_USERS, kContainer);
    if (!container) return FALSE;
    // Named after the process; whatever an ended process of the same id left goes.
    wchar_t name[16];
    wsprintfW(name, L"%lx", GetCurrentProcessId());
    DeleteKeyTree(container, name);
    HKEY machine = CreateUnder(container, (std::wstring(name) + L"\\Machine").c_str());
    HKEY classes = machine ? CreateUnder(machine, L"Software\\Classes") : NULL;
    HKEY users = CreateUnder(container, (std::wstring(name) + L"\\User").c_str());
    HKEY current = users ? CreateUnder(users, L"Current") : NULL;
    bool ok = machine && classes && users && current;
    if (ok)
        ok = RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine) == ERROR_SUCCESS &&
             RegOverridePredefKey(HKEY_CLASSES_ROOT, classes) == ERROR_SUCCESS &&
             RegOverridePredefKey(HKEY_USERS, users) == ERROR_SUCCESS &&
             RegOverridePredefKey(HKEY_CURRENT_USER, current) == ERROR_SUCCESS;
    HKEY opened[] = {machine, classes, users, current};
    for (HKEY key : opened)
        if (key) RegCloseKey(key);   // the overrides hold handles of their own
    if (!ok) {
        PutRootsBack();
        DeleteKeyTree(container, name);
        RegCloseKey(container);
        return FALSE;
    }

    g_box.container = container;
    g_box.name = name;
    g_box.active = true;
    SeedFactoryRegistry();
    static const DWORD roots[] = {REGIMG_ROOT_HKLM, REGIMG_ROOT_HKCU};
    if (BuildRegImage(roots, 2, &g_box.factory) != 0) g_box.factory.clear();
    return TRUE;
}

void RegistrySandboxEnd(void)
{
    if (!g_box.active) return;
    PutRootsBack();
    DeleteKeyTree(g_box.container, g_box.name.c_str());
    RegCloseKey(g_box.container);
    // The empty containers go too; they stay while another process has a sandbox.
    if (RegDeleteKeyW(HKEY_USERS, kContainer) == ERROR_SUCCESS) RegDeleteKeyW(HKEY_USERS, L"SimDevice");
    g_box = Sandbox();
}

bool SandboxActive(void) { return g_box.active; }

const std::string *SandboxFactoryImage(void)
{
    return g_box.active && !g_box.factory.empty() ? &g_box.factory : NULL;
}
