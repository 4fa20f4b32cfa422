// Text of the device-control command.
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include "devctl.h"

static void Write(DWORD which, const WCHAR *format, va_list args)
{
    WCHAR text[2048];
    int n = _vsnwprintf(text, 2047, format, args);
    text[2047] = 0;
    if (n < 0) n = (int)wcslen(text);
    HANDLE handle = GetStdHandle(which);
    if (!handle || handle == INVALID_HANDLE_VALUE) return;
    DWORD written, mode;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text, (DWORD)wcslen(text), &written, NULL);
        return;
    }
    char bytes[2048 * 3];
    int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    if (count > 1) WriteFile(handle, bytes, (DWORD)(count - 1), &written, NULL);
}

void Out(const WCHAR *format, ...)
{
    va_list args;
    va_start(args, format);
    Write(STD_OUTPUT_HANDLE, format, args);
    va_end(args);
}

void Err(const WCHAR *format, ...)
{
    va_list args;
    va_start(args, format);
    Write(STD_ERROR_HANDLE, format, args);
    va_end(args);
}

static const WCHAR kUsage[] =
    L"usage: devctl COMMAND [ARGUMENTS]\n"
    L"Changes the simulated device. Without a command it only brings the device up.\n"
    L"\n"
    L"  show                          what the device is and how it stands\n"
    L"  rotate portrait|landscape|square\n"
    L"  reset soft|hard               ends the device's programs and resets it\n"
    L"  power                         presses the power key; waits while the device sleeps\n"
    L"                                (a tap on the screen or \"devctl wake\" wakes it)\n"
    L"  wake                          wakes a sleeping device\n"
    L"  tap X Y                       taps the screen there with the stylus\n"
    L"  battery [percent=N] [flag=N] [voltage=N] [current=N] [temperature=N]\n"
    L"          [chemistry=N] [ac=N] [fail=0|1]\n"
    L"  memory [total=N] [avail=N]    bytes, or with a K, M or G suffix\n"
    L"  card list\n"
    L"  card add NAME [TOTAL FREE] [unreadable]\n"
    L"  card remove NAME\n"
    L"  line list\n"
    L"  line add NAME [noopen]\n"
    L"  line remove NAME\n"
    L"  telephony on|off\n"
    L"  os MAJOR.MINOR[.BUILD]\n"
    L"  init                          sets the device up with its factory state\n"
    L"  help\n"
    L"\n"
    L"Each change prints one line: the device's new reading.\n"
    L"rotate, power and tap need the display the device's screen is on ($DISPLAY).\n"
    L"Exit codes: 0 done, 1 the device refused, 2 bad arguments.\n";

void PrintUsage(void)
{
    Out(L"%ls", kUsage);
}
