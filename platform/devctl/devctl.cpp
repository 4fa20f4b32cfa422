// Device-control command of the simulated device.
#include <windows.h>
#include <stdio.h>
#include "simdevice.h"

int wmain(int argc, wchar_t **argv) {
    if (argc >= 2 && lstrcmpW(argv[1], L"init") == 0) return SimCreateDevice() ? 0 : 1;
    fwprintf(stderr, L"usage: devctl init\n");
    return 2;
}
