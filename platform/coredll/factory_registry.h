// The registry a new device ships with: what the program's pages read, besides what
// Wine's own prefix holds.
#ifndef FACTORY_REGISTRY_H
#define FACTORY_REGISTRY_H

#include <windows.h>

struct FactoryValue {
    HKEY root;              // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_CLASSES_ROOT
    const wchar_t *key;
    const wchar_t *name;    // NULL: the key alone; L"" the default value
    DWORD type;             // REG_SZ or REG_DWORD (REG_NONE for the key alone)
    const wchar_t *text;    // REG_SZ
    DWORD number;           // REG_DWORD
};

extern const FactoryValue g_factoryRegistry[];
extern const size_t g_factoryRegistryCount;

#endif
