// The calendar work-week dialog and the file it keeps, "\Windows\Calendar.cal".
#ifndef CALENDAR_H
#define CALENDAR_H

#include <windows.h>
#include "calendar/calendar_file.h"

// calendar.cpp
INT_PTR CALLBACK CalendarDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The file's settings; FALSE when it cannot be opened for reading.
BOOL ReadCalendarSettings(CalendarSettings *settings);
// Writes the whole file beside the old one and only then puts it in the old one's
// place, so that a failure leaves the old file as it was. With `replace` FALSE an
// existing file is never touched.
BOOL WriteCalendarFile(const char *bytes, size_t count, BOOL replace);

#endif
