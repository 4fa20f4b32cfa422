// The registry sandbox of a test: this process's four root keys point into a private
// subtree seeded with the factory values, so that a test changes, backs up, restores
// and resets a device registry of its own and never the device's.
//
// The subtrees live in HKEY_USERS\SimDevice\Sandbox\<process id>, outside
// both hives of the device registry: a backup of the device never carries a sandbox,
// an image applied to the device never removes one, and the registry keeps that branch
// in memory only, so nothing of it reaches the prefix's files. Images staged in a test
// go to its private device folder, which the test's end removes.
#include <windows.h>
#include <string.h>
#include "simdevice.h"
#include "internal.h"
#include "registry_image.h"

namespace {

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
