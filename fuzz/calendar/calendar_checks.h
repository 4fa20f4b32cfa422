// What must hold of the calendar file's reader, writer and time steps whatever the
// bytes: the reader stays in its buffers, reading in chunks agrees with reading at
// once, the times it gives are ones it accepts, and what the writer makes of them
// reads back the same. The fuzzer and the tests ask the same questions.
#ifndef CALENDAR_CHECKS_H
#define CALENDAR_CHECKS_H

#include <stdint.h>
#include <stddef.h>
#include "calendar/calendar_file.h"

static size_t Length(const CalChar *text)
{
    size_t n = 0;
    while (n <= CAL_TIME_MAX && text[n]) n++;
    return n;
}

static bool SameText(const CalChar *a, const CalChar *b)
{
    for (size_t i = 0;; i++) {
        if (a[i] != b[i]) return false;
        if (!a[i]) return true;
    }
}

static bool SameSettings(const CalendarSettings &a, const CalendarSettings &b)
{
    return SameText(a.start, b.start) && SameText(a.end, b.end) && a.days == b.days;
}

static bool TimeHoldsUp(const CalChar *text)
{
    size_t n = Length(text);
    return n <= CAL_TIME_MAX && (n == 0 || IsAcceptedCalendarTime(text, n));
}

// What the writer is expected to keep of a time: an empty one becomes the reader's
// replacement, and the rest as it is.
static void Expected(const CalChar *text, const char *replacement, CalChar *out)
{
    size_t i = 0;
    if (!text[0]) {
        for (; replacement[i]; i++) out[i] = (CalChar)replacement[i];
    } else {
        for (; text[i]; i++) out[i] = text[i];
    }
    out[i] = 0;
}

// Any text of the edit's five characters steps to a time the reader accepts.
static bool StepsHoldUp(const uint8_t *data, size_t size)
{
    CalChar text[CAL_TIME_MAX + 1];
    size_t n = size < CAL_TIME_MAX ? size : CAL_TIME_MAX;
    for (size_t i = 0; i < n; i++) text[i] = data[i] ? (CalChar)(signed char)data[i] : (CalChar)'0';
    text[n] = 0;
    for (int forward = 0; forward < 2; forward++) {
        CalChar stepped[CAL_TIME_MAX + 1];
        StepCalendarTime(text, forward != 0, stepped);
        size_t length = Length(stepped);
        if (length < 4 || length > CAL_TIME_MAX || !IsAcceptedCalendarTime(stepped, length)) return false;
    }
    return true;
}

// False at the first thing that does not hold.
static bool CalendarBytesHoldUp(const uint8_t *data, size_t size)
{
    CalendarSettings whole;
    ParseCalendarFile(data, size, &whole);
    if (!TimeHoldsUp(whole.start) || !TimeHoldsUp(whole.end) || whole.days >= (1u << CAL_DAYS)) return false;

    // The same bytes in two pieces, cut where the first byte says.
    size_t cut = size ? data[0] % (size + 1) : 0;
    CalendarReader reader;
    CalendarReadBegin(&reader);
    if (CalendarReadBytes(&reader, data, cut)) CalendarReadBytes(&reader, data + cut, size - cut);
    CalendarSettings pieces;
    CalendarReadEnd(&reader, &pieces);
    if (!SameSettings(whole, pieces)) return false;

    // Written and read back.
    char file[CAL_FILE_MAX];
    size_t written = FormatCalendarFile(whole.start, whole.end, whole.days, file, sizeof file);
    if (written == 0 || written > CAL_FILE_MAX) return false;
    CalendarSettings again;
    ParseCalendarFile((const unsigned char *)file, written, &again);
    CalendarSettings expected;
    Expected(whole.start, "8:00", expected.start);
    Expected(whole.end, "17:00", expected.end);
    expected.days = whole.days;
    return SameSettings(expected, again) && StepsHoldUp(data, size);
}

#endif
