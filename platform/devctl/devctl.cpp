// Device-control command of the simulated device: rotate, reset, power, battery,
// memory, cards, lines, telephony, OS version and the device's set-up.
#include <windows.h>
#include "devctl.h"

int wmain(int argc, wchar_t **argv)
{
    return RunCommand(argc - 1, argv + 1);
}
