// The factory registry of the simulated Pocket PC 2003 Second Edition Phone Edition.
#include "factory_registry.h"

const FactoryValue g_factoryRegistry[] = {
    {HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", REG_DWORD, NULL, 0, NULL, 0},
};
const size_t g_factoryRegistryCount = sizeof g_factoryRegistry / sizeof g_factoryRegistry[0];
