// The calendar's work-week file and its time texts.
#include "calendar/calendar_file.h"

static_assert(sizeof(CalChar) == 2, "the dialog's characters are UTF-16 units");

// The English day names the file holds, Sunday first.
static const char *const kCalendarDayNames[CAL_DAYS] = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
};

static const char kStartLabel[] = "start:";
static const char kEndLabel[] = "ends:";
static const char kDefaultStart[] = "8:00";
static const char kDefaultEnd[] = "17:00";
static const unsigned kDefaultDays = 0x3E;  // Monday to Friday

// Counted lines: 0 the start label, 1 the start time, 2 the end label, 3 the end
// time, then the day lines.
enum { LINE_START = 1, LINE_END = 3, LINE_FIRST_DAY = 4 };
static const unsigned kLastUsefulLine = LINE_FIRST_DAY + CAL_DAY_LINES_MAX - 1;

static void CopyAscii(CalChar *out, const char *text)
{
    while ((*out++ = (CalChar)(unsigned char)*text++) != 0) {}
}

static bool IsDigit(CalChar c)
{
    return c >= '0' && c <= '9';
}

bool IsAcceptedCalendarTime(const CalChar *text, size_t length)
{
    if (length > CAL_TIME_MAX) return false;
    CalChar c[CAL_TIME_MAX];
    for (size_t i = 0; i < CAL_TIME_MAX; i++) c[i] = i < length ? text[i] : 0;
    if (!IsDigit(c[0])) return false;
    if (c[1] != ':' && !IsDigit(c[1])) return false;
    if (c[2] == ':') {
        if (c[0] != '0' && c[0] != '1' && c[0] != '2') return false;
        if (c[3] != '0' && c[3] != '3') return false;
        if (c[4] != '0') return false;
    } else {
        if (c[2] != '0' && c[2] != '3') return false;
        if (c[3] != '0') return false;
    }
    return c[1] == ':' || c[2] == ':';
}

static void TakeTime(const CalendarReader *reader, CalChar *out, const char *replacement)
{
    if (!IsAcceptedCalendarTime(reader->line, reader->length)) {
        CopyAscii(out, replacement);
        return;
    }
    for (size_t i = 0; i < reader->length; i++) out[i] = reader->line[i];
    out[reader->length] = 0;
}

static void TakeDay(CalendarReader *reader)
{
    // A line too long for the buffer cannot be a day name; it is not cut to one.
    if (reader->length > CAL_LINE_MAX) return;
    for (int day = 0; day < CAL_DAYS; day++) {
        const char *name = kCalendarDayNames[day];
        size_t i = 0;
        while (i < reader->length && name[i] && reader->line[i] == (CalChar)(unsigned char)name[i]) i++;
        if (i == reader->length && !name[i]) {
            reader->settings.days |= 1u << day;
            return;
        }
    }
}

static void EndLine(CalendarReader *reader)
{
    if (reader->length == 0) return;  // empty lines do not count
    unsigned number = reader->counted++;
    if (number == LINE_START)
        TakeTime(reader, reader->settings.start, kDefaultStart);
    else if (number == LINE_END)
        TakeTime(reader, reader->settings.end, kDefaultEnd);
    else if (number >= LINE_FIRST_DAY && number <= kLastUsefulLine)
        TakeDay(reader);
    reader->length = 0;
}

void CalendarReadBegin(CalendarReader *reader)
{
    reader->length = 0;
    reader->counted = 0;
    reader->settings.start[0] = 0;
    reader->settings.end[0] = 0;
    reader->settings.days = 0;
}

bool CalendarReadBytes(CalendarReader *reader, const unsigned char *bytes, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        if (reader->counted > kLastUsefulLine) return false;
        unsigned char byte = bytes[i];
        if (byte == '\n') {
            EndLine(reader);
            continue;
        }
        // Bytes widen as signed 8-bit values; whatever lies beyond the buffer is only counted.
        if (reader->length < CAL_LINE_MAX) reader->line[reader->length] = (CalChar)(signed char)byte;
        if (reader->length <= CAL_LINE_MAX) reader->length++;
    }
    return reader->counted <= kLastUsefulLine;
}

void CalendarReadEnd(const CalendarReader *reader, CalendarSettings *settings)
{
    // A last line without its line feed is not part of the file's content.
    *settings = reader->settings;
}

void ParseCalendarFile(const unsigned char *bytes, size_t count, CalendarSettings *settings)
{
    CalendarReader reader;
    CalendarReadBegin(&reader);
    CalendarReadBytes(&reader, bytes, count);
    CalendarReadEnd(&reader, settings);
}

// Writes bytes while they fit; `at` counts every byte asked for.
struct ByteSink {
    char *out;
    size_t capacity, at;
};

static void PutByte(ByteSink *sink, char byte)
{
    if (sink->at < sink->capacity) sink->out[sink->at] = byte;
    sink->at++;
}

static void PutLine(ByteSink *sink, const char *text)
{
    while (*text) PutByte(sink, *text++);
    PutByte(sink, '\n');
}

// Each character is written as its low byte. A byte that the reader would take as a
// line end or a terminator would break the file's lines apart, so it is written as
// '?' instead; a Ctrl-Z is a byte like any other. An empty text would make an empty line,
// which the reader skips, taking the next line for this one: it is written as the
// time the reader shows for it.
static void PutTextLine(ByteSink *sink, const CalChar *text, const char *replacement)
{
    if (!text[0]) {
        PutLine(sink, replacement);
        return;
    }
    for (size_t i = 0; i < CAL_TIME_MAX && text[i]; i++) {
        char byte = (char)(text[i] & 0xFF);
        if (byte == '\0' || byte == '\n') byte = '?';
        PutByte(sink, byte);
    }
    PutByte(sink, '\n');
}

size_t FormatCalendarFile(const CalChar *start, const CalChar *end, unsigned days,
                          char *out, size_t capacity)
{
    ByteSink sink = {out, capacity, 0};
    PutLine(&sink, kStartLabel);
    PutTextLine(&sink, start, kDefaultStart);
    PutLine(&sink, kEndLabel);
    PutTextLine(&sink, end, kDefaultEnd);
    for (int day = 0; day < CAL_DAYS; day++)
        if (days & (1u << day)) PutLine(&sink, kCalendarDayNames[day]);
    return sink.at <= capacity ? sink.at : 0;
}

size_t FormatDefaultCalendarFile(char *out, size_t capacity)
{
    CalChar start[CAL_TIME_MAX + 1], end[CAL_TIME_MAX + 1];
    CopyAscii(start, kDefaultStart);
    CopyAscii(end, kDefaultEnd);
    return FormatCalendarFile(start, end, kDefaultDays, out, capacity);
}

// The decimal number at the start of a part, as atoi reads it from the low bytes:
// blanks, a sign, digits. The parts hold at most three characters.
static int LeadingNumber(const char *part)
{
    while (*part == ' ' || (*part >= '\t' && *part <= '\r')) part++;
    int sign = 1;
    if (*part == '+' || *part == '-') sign = *part++ == '-' ? -1 : 1;
    int value = 0;
    while (*part >= '0' && *part <= '9') value = value * 10 + (*part++ - '0');
    return sign * value;
}

static void FormatMinutes(int minutes, CalChar *out)
{
    char digits[12];
    int n = 0, hours = minutes / 60;
    do {
        digits[n++] = (char)('0' + hours % 10);
        hours /= 10;
    } while (hours > 0 && n < 10);
    size_t at = 0;
    while (n > 0) out[at++] = (CalChar)digits[--n];
    CopyAscii(out + at, minutes % 60 == 0 ? ":00" : ":30");
}

void StepCalendarTime(const CalChar *text, bool forward, CalChar *out)
{
    enum { PART_MAX = 3, DAY = 24 * 60, STEP = 30 };
    char hourPart[PART_MAX + 1], minutePart[PART_MAX + 1];
    size_t hourLength = 0, minuteLength = 0, i = 0;
    for (; i < CAL_TIME_MAX && text[i] && text[i] != ':'; i++)
        if (hourLength < PART_MAX) hourPart[hourLength++] = (char)(text[i] & 0xFF);
    if (i < CAL_TIME_MAX && text[i] == ':')
        for (i++; i < CAL_TIME_MAX && text[i]; i++)
            if (minuteLength < PART_MAX) minutePart[minuteLength++] = (char)(text[i] & 0xFF);
    hourPart[hourLength] = 0;
    minutePart[minuteLength] = 0;

    int hours = LeadingNumber(hourPart), minutes = LeadingNumber(minutePart);
    // Hours past the end of the day, or before its start, fall back to the usual start.
    if (hours > 24 || hours < 0) {
        hours = 8;
        minutes = 0;
    }
    if (hours == 24 || minutes < 0) minutes = 0;
    int total = hours * 60 + minutes;

    if (forward) {
        if (total + STEP == DAY)
            CopyAscii(out, "24:00");
        else if (total + STEP > DAY)
            CopyAscii(out, "0:00");
        else
            FormatMinutes(total + STEP, out);
    } else {
        if (total - STEP == 0)
            CopyAscii(out, "0:00");
        else if (total - STEP < 0)
            CopyAscii(out, "24:00");
        else
            FormatMinutes(total - STEP, out);
    }
}
