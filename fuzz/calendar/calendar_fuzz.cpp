// Fuzzes the calendar file's reader, writer and time steps with the checks of
// calendar_checks.h.
#include <stdlib.h>
#include "fuzz/calendar/calendar_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!CalendarBytesHoldUp(data, size)) abort();
    return 0;
}
