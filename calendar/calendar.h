// The calendar work-week dialog and the file it keeps, "\Windows\Calendar.cal".
#ifndef CALENDAR_H
#define CALENDAR_H

#include <windows.h>
#include "calendar/calendar_file.h"

// calendar.cpp
INT_PTR CALLBACK CalendarDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
