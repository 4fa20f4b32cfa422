// Creating the device and restarting it: the factory registry and files, the staged
// image that a soft reset applies, the factory image that a hard reset puts back, and
// the boot counter every restart raises.
//
// The boot counter counts boots, so a restart always ends with it one higher than the
// registry it started from: after a restore it is the restored image's count plus one,
// after a hard reset the factory count plus one.
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include "simdevice.h"
#include "factory_registry.h"
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
void Put64(std::string *out, ULONGLONG v) { out->append((const char *)&v, 8); }

// A short PCM tone: one or two notes with a soft start and end.
std::string MakeWave(double first, double second, int milliseconds)
{
    const DWORD rate = 11025;
    DWORD samples = rate * milliseconds / 1000;
    std::string out = "RIFF";
    Put32(&out, 36 + samples * 2);
    out += "WAVEfmt ";
    Put32(&out, 16);
    Put16(&out, 1);          // PCM
    Put16(&out, 1);          // mono
    Put32(&out, rate);
    Put32(&out, rate * 2);
    Put16(&out, 2);
    Put16(&out, 16);
    out += "data";
    Put32(&out, samples * 2);
    const double pi = 3.14159265358979;
    for (DWORD i = 0; i < samples; ++i) {
        double t = (double)i / rate;
        double f = (second > 0 && i >= samples / 2) ? second : first;
        double edge = std::min(1.0, std::min(i, samples - 1 - i) / (rate * 0.01));
        short s = (short)(sin(2 * pi * f * t) * edge * 12000);
        Put16(&out, (WORD)s);
    }
    return out;
}

// A standard MIDI file of one track: a short rising tune.
std::string MakeMidi()
{
    std::string track;
    const unsigned char tempo[] = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xC0, 0x0B};
    track.append((const char *)tempo, sizeof tempo);
    const unsigned char notes[] = {72, 76, 79, 84, 79, 76};
    for (size_t i = 0; i < sizeof notes; ++i) {
        // delta 0, note on; an eighth later, note off
        const unsigned char on[] = {0x00, 0x90, notes[i], 0x60, 0x30, 0x80, notes[i], 0x40};
        track.append((const char *)on, sizeof on);
    }
    const unsigned char end[] = {0x00, 0xFF, 0x2F, 0x00};
    track.append((const char *)end, sizeof end);
    std::string out = "MThd";
    const unsigned char header[] = {0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    out.append((const char *)header, sizeof header);
    out += "MTrk";
    DWORD len = (DWORD)track.size();
    const unsigned char size[] = {(unsigned char)(len >> 24), (unsigned char)(len >> 16), (unsigned char)(len >> 8),
                                  (unsigned char)len};
    out.append((const char *)size, 4);
    return out + track;
}

void PutGuid(std::string *out, DWORD a, WORD b, WORD c, const unsigned char d[8])
{
    Put32(out, a);
    Put16(out, b);
    Put16(out, c);
    out->append((const char *)d, 8);
}

// A Windows Media audio file: the header objects a player reads first and an empty
// data object.
std::string MakeWma()
{
    static const unsigned char headerTail[] = {0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    static const unsigned char propsTail[] = {0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
    static const unsigned char streamTail[] = {0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
    static const unsigned char mediaTail[] = {0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
    static const unsigned char fileId[] = {0x5A, 0x52, 0x44, 0x45, 0x56, 0x49, 0x43, 0x45};

    std::string format;   // WAVEFORMATEX of Windows Media Audio 2
    Put16(&format, 0x0161);
    Put16(&format, 1);
    Put32(&format, 22050);
    Put32(&format, 2000);
    Put16(&format, 742);
    Put16(&format, 16);
    Put16(&format, 10);
    Put32(&format, 2048);
    Put16(&format, 1);
    Put32(&format, 0);

    std::string props;
    PutGuid(&props, 0x8CABDCA1, 0xA947, 0x11CF, propsTail);
    Put64(&props, 104);
    PutGuid(&props, 0x5A52, 0x0001, 0x0001, fileId);
    Put64(&props, 0);                       // file size, filled in below
    Put64(&props, 0x01C3B2B6D5C00000ull);   // creation date
    Put64(&props, 0);                       // data packets
    Put64(&props, 20000000);                // play duration: 2 s in 100 ns
    Put64(&props, 20000000);
    Put64(&props, 3000);                    // preroll, ms
    Put32(&props, 2);                       // seekable
    Put32(&props, 742);
    Put32(&props, 742);
    Put32(&props, 16000);

    std::string stream;
    PutGuid(&stream, 0xB7DC0791, 0xA9B7, 0x11CF, streamTail);
    Put64(&stream, 78 + format.size());
    PutGuid(&stream, 0xF8699E40, 0x5B4D, 0x11CF, mediaTail);   // audio
    PutGuid(&stream, 0x20FB5700, 0x5B55, 0x11CF, mediaTail);   // no error correction
    Put64(&stream, 0);
    Put32(&stream, (DWORD)format.size());
    Put32(&stream, 0);
    Put16(&stream, 1);                      // stream 1
    Put32(&stream, 0);
    stream += format;

    std::string out;
    PutGuid(&out, 0x75B22630, 0x668E, 0x11CF, headerTail);
    Put64(&out, 30 + props.size() + stream.size());
    Put32(&out, 2);
    out.push_back(0x01);
    out.push_back(0x02);
    out += props;
    out += stream;
    PutGuid(&out, 0x75B22636, 0x668E, 0x11CF, headerTail);   // data object, no packets
    Put64(&out, 50);
    PutGuid(&out, 0x5A52, 0x0001, 0x0001, fileId);
    Put64(&out, 0);
    out.push_back(0x01);
    out.push_back(0x01);
    ULONGLONG total = out.size();
    memcpy(&out[30 + 40], &total, 8);
    return out;
}

struct DeviceFile {
    const wchar_t *path;   // device path
    char kind;             // 'w' wave, 'm' MIDI, 'a' Windows Media audio
    double first, second;
    int milliseconds;
};

// Every sound the factory values name, and a few more tones for the ring folder.
const DeviceFile kDeviceFiles[] = {
    {L"\\Windows\\Rings\\Ring1.wav", 'w', 880, 660, 600},
    {L"\\Windows\\Rings\\Ring2.wav", 'w', 1046, 784, 600},
    {L"\\Windows\\Rings\\Alarm1.wav", 'w', 1318, 0, 400},
    {L"\\Windows\\Rings\\Tune.mid", 'm', 0, 0, 0},
    {L"\\Windows\\Rings\\Melody.wma", 'a', 0, 0, 0},
    {L"\\Windows\\Busy.wav", 'w', 480, 620, 500},
    {L"\\Windows\\CallDrop.wav", 'w', 620, 440, 300},
    {L"\\Windows\\CallWaiting.wav", 'w', 440, 0, 300},
    {L"\\Windows\\Dialing.wav", 'w', 350, 440, 300},
    {L"\\Windows\\Disconnect.wav", 'w', 440, 330, 300},
    {L"\\Windows\\Click.wav", 'w', 2000, 0, 40},
    {L"\\Windows\\Infbeg.wav", 'w', 660, 880, 200},
    {L"\\Windows\\Infend.wav", 'w', 880, 660, 200},
    {L"\\Windows\\Notify.wav", 'w', 988, 1318, 300},
    {L"\\Windows\\Alarm1.wav", 'w', 1318, 0, 400},
    {L"\\Windows\\Alarm2.wav", 'w', 1175, 1568, 400},
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
        std::wstring folder = path.substr(0, path.rfind(L'\\'));
        if (!CreateFolders(folder)) { ok = false; continue; }
        std::string bytes = f.kind == 'm' ? MakeMidi() : f.kind == 'a' ? MakeWma() : MakeWave(f.first, f.second, f.milliseconds);
        ok &= WriteFileAtomically(path.c_str(), bytes, false) == 0;
    }
    // Every sound the factory registry names exists, even one without a tone of its own above.
    for (size_t i = 0; i < g_factorySoundFileCount; i++) {
        std::wstring path = drive + g_factorySoundFiles[i];
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (!CreateFolders(path.substr(0, path.rfind(L'\\')))) { ok = false; continue; }
        ok &= WriteFileAtomically(path.c_str(), MakeWave(880, 0, 300), false) == 0;
    }
    return ok;
}

// ---- Restarts ----

void RaiseBootCount()
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCommKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    DWORD type = 0, count = 0, size = sizeof count;
    if (RegQueryValueExW(key, kBootCount, NULL, &type, (BYTE *)&count, &size) != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof count)
        count = 0;   // missing or not a number: the device counts from nothing
    if (count != 0xFFFFFFFF) ++count;
    RegSetValueExW(key, kBootCount, 0, REG_DWORD, (const BYTE *)&count, sizeof count);
    RegCloseKey(key);
}

void FlushRoots()
{
    RegFlushKey(HKEY_CLASSES_ROOT);
    RegFlushKey(HKEY_CURRENT_USER);
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegFlushKey(HKEY_USERS);
}

bool ApplyImageBytes(const std::string &bytes)
{
    std::vector<RegImageSection> sections;
    return CheckRegImage(bytes, &sections, false) == 0 && ApplyRegImage(sections) == 0;
}

// A staged image that cannot be applied leaves the registry as it was and stays
// staged; the outcome is kept for the device-control command to show.
DWORD ApplyStagedImage()
{
    std::wstring staged, outcome;
    if (!DeviceFilePath(REGIMG_STAGED_NAME, &staged) || GetFileAttributesW(staged.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 0;
    std::string bytes;
    std::vector<RegImageSection> sections;
    DWORD error = ReadRegImageFile(staged.c_str(), &bytes);
    if (!error) error = CheckRegImage(bytes, &sections, false);
    if (!error) error = ApplyRegImage(sections);
    if (!error) DeleteFileW(staged.c_str());
    if (DeviceFilePath(REGIMG_OUTCOME_NAME, &outcome)) WriteFileAtomically(outcome.c_str(), std::to_string(error), true);
    return error;
}

void EndIfAsked(BOOL ending)
{
    if (ending && !(SimTestFlags() & SIM_TEST_RECORD_POWER)) ExitProcess(0);
}

}  // namespace

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
    bool ok = SeedFactoryRegistry();
    ok &= CreateDeviceFiles();
    // The factory image is taken once, when the device is first made; a test's
    // sandbox has its own.
    if (!SandboxActive()) {
        std::wstring factory;
        std::string bytes, image;
        std::vector<RegImageSection> sections;
        if (!DeviceFilePath(REGIMG_FACTORY_NAME, &factory)) ok = false;
        else if (ReadRegImageFile(factory.c_str(), &bytes) != 0 || CheckRegImage(bytes, &sections, false) != 0)
            ok &= BuildRegImage(kDeviceHives, 2, &image) == 0 && WriteFileAtomically(factory.c_str(), image, true) == 0;
    }
    FlushRoots();
    return ok;
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
    std::wstring staged;
    return DeviceFilePath(REGIMG_STAGED_NAME, &staged) && GetFileAttributesW(staged.c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL SimGetLastApply(DWORD *error)
{
    std::wstring outcome;
    std::string text;
    if (!DeviceFilePath(REGIMG_OUTCOME_NAME, &outcome) || ReadRegImageFile(outcome.c_str(), &text) || text.empty())
        return FALSE;
    *error = strtoul(text.c_str(), NULL, 10);
    return TRUE;
}

DWORD SimSoftReset(BOOL ending)
{
    SimRecordPowerAction(SIM_POWER_SOFT_RESET, 0, 0);
    DWORD error = ApplyStagedImage();
    RaiseBootCount();
    FlushRoots();
    EndIfAsked(ending);
    return error;
}

// Without a factory image (a device made before images were kept) the factory values
// are written over the running registry, which is as close to the factory as it gets.
void SimHardReset(BOOL ending)
{
    SimRecordPowerAction(SIM_POWER_HARD_RESET, 0, 0);
    std::wstring path;
    for (const wchar_t *name : {REGIMG_STAGED_NAME, REGIMG_OUTCOME_NAME})
        if (DeviceFilePath(name, &path)) DeleteFileW(path.c_str());
    bool restored = false;
    if (const std::string *image = SandboxFactoryImage()) {
        restored = ApplyImageBytes(*image);
    } else if (!SandboxActive()) {
        std::wstring factory;
        std::string bytes;
        if (DeviceFilePath(REGIMG_FACTORY_NAME, &factory) && ReadRegImageFile(factory.c_str(), &bytes) == 0)
            restored = ApplyImageBytes(bytes);
    }
    if (!restored) SeedFactoryRegistry();
    RaiseBootCount();
    FlushRoots();
    EndIfAsked(ending);
}

}  // extern "C"
