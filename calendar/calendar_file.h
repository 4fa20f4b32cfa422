// The calendar's work-week file: reading its lines, validating its two times,
// writing it back, and the half-hour steps of a time text. No window or file code
// here: the dialog reads and writes the file and hands the bytes over.
#ifndef CALENDAR_FILE_H
#define CALENDAR_FILE_H

#include <stddef.h>

// One UTF-16 unit, as the dialog's edits hold them.
#ifdef _WIN32
typedef wchar_t CalChar;
#else
typedef char16_t CalChar;
#endif

enum {
    CAL_DAYS = 7,            // Sunday (0) to Saturday (6)
    CAL_LINE_MAX = 9,        // the longest line that can hold a value: "Wednesday"
    CAL_TIME_MAX = 5,        // "HH:MM"
    CAL_DAY_LINES_MAX = 7,   // day lines after the fourth line that are looked at
    CAL_FILE_MAX = 128       // room for the longest file FormatCalendarFile writes
};

struct CalendarSettings {
    CalChar start[CAL_TIME_MAX + 1];  // empty when the file has no such line
    CalChar end[CAL_TIME_MAX + 1];
    unsigned days;                    // bit d set: day d is a working day
};

// Reads the file a chunk at a time, so that a file of any size costs a fixed amount
// of memory. The fields are the reader's own.
struct CalendarReader {
    CalChar line[CAL_LINE_MAX];
    size_t length;          // characters of the current line, counted beyond the limit
    unsigned counted;       // non-empty lines finished so far
    CalendarSettings settings;
};

void CalendarReadBegin(CalendarReader *reader);
// Returns false once no later byte can change the result: the caller may stop.
bool CalendarReadBytes(CalendarReader *reader, const unsigned char *bytes, size_t count);
void CalendarReadEnd(const CalendarReader *reader, CalendarSettings *settings);
// The three above over bytes in memory.
void ParseCalendarFile(const unsigned char *bytes, size_t count, CalendarSettings *settings);

// H:MM or HH:MM on the hour or half hour, as the file's reader accepts it.
bool IsAcceptedCalendarTime(const CalChar *text, size_t length);

// The file for these settings: "start:", the start text, "ends:", the end text, then
// the checked days, each line ending in a line feed. At most CAL_TIME_MAX characters
// of each text are written, one byte each; bytes that would break the lines become
// '?', and an empty text is written as the time the reader would show for it.
// Returns the byte count (at most CAL_FILE_MAX), or 0 when `capacity` is too small.
size_t FormatCalendarFile(const CalChar *start, const CalChar *end, unsigned days,
                          char *out, size_t capacity);

// The default work week: 8:00 to 17:00, Monday to Friday.
size_t FormatDefaultCalendarFile(char *out, size_t capacity);

// The time half an hour after (forward) or before a time text, into `out`, which has
// room for CAL_TIME_MAX characters and the null.
void StepCalendarTime(const CalChar *text, bool forward, CalChar *out);

#endif
