// The calendar work-week dialog: working hours in half-hour steps and the working
// days, kept in "\Windows\Calendar.cal".
#include <stdio.h>
#include <windows.h>
#include <commctrl.h>
#include "calendar/calendar.h"
#include "app/rudore.h"
#include "aygshell.h"
#include "ceplatform.h"
#include "resource.h"
#include "ui/reflow.h"

// The same file in 8-bit form for the stream functions and in UTF-16 for the others.
static const char kCalendarPath[] = "\\Windows\\Calendar.cal";
static const WCHAR kCalendarPathW[] = L"\\Windows\\Calendar.cal";
// Where a new version of the file is written before it takes the old one's place.
static const char kCalendarNewPath[] = "\\Windows\\Calendar.cal.new";
static const WCHAR kCalendarNewPathW[] = L"\\Windows\\Calendar.cal.new";

static const DWORD kShellDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;

// Text streams put a carriage return before each line feed; read as bytes, the pair
// is still one line end. `out` has room for one byte more than `in`.
static size_t FoldLineEnds(const unsigned char *in, size_t count, unsigned char *out, BOOL *carriageReturn)
{
    size_t length = 0;
    for (size_t i = 0; i < count; i++) {
        if (*carriageReturn && in[i] != '\n') out[length++] = '\r';
        *carriageReturn = in[i] == '\r';
        if (!*carriageReturn) out[length++] = in[i];
    }
    return length;
}

// The file's settings; FALSE when it cannot be opened for reading.
static BOOL ReadCalendarSettings(CalendarSettings *settings)
{
    // As bytes: in a text stream a Ctrl-Z would end the file, and the next Done would
    // rewrite it from what was read before that byte.
    FILE *file = fopen(kCalendarPath, "rb");
    if (!file) return FALSE;
    CalendarReader reader;
    CalendarReadBegin(&reader);
    unsigned char chunk[512], lines[sizeof chunk + 1];
    BOOL carriageReturn = FALSE;
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0)
        if (!CalendarReadBytes(&reader, lines, FoldLineEnds(chunk, count, lines, &carriageReturn))) break;
    fclose(file);
    CalendarReadEnd(&reader, settings);
    return TRUE;
}

static void DiscardNewFile(void)
{
    SetFileAttributesW(kCalendarNewPathW, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(kCalendarNewPathW);
}

// Whatever would keep the old file from being rewritten in place keeps it from being
// replaced: a read-only file, a folder of that name, another program holding it open.
static BOOL CanRewriteCalendarFile(DWORD attributes)
{
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
    HANDLE file = CreateFileW(kCalendarPathW, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    CloseHandle(file);
    return TRUE;
}

// The new version is on the storage before it takes the old one's place, so that a
// reset between the two leaves one whole file or the other.
static BOOL FlushNewFile(void)
{
    HANDLE file = CreateFileW(kCalendarNewPathW, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    BOOL flushed = FlushFileBuffers(file);
    CloseHandle(file);
    return flushed;
}

// Writes the whole file beside the old one and only then puts it in the old one's
// place, so that a failure leaves the old file as it was. With `replace` FALSE an
// existing file is never touched.
static BOOL WriteCalendarFile(const char *bytes, size_t count, BOOL replace)
{
    DWORD attributes = GetFileAttributesW(kCalendarPathW);
    BOOL exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (!replace || !CanRewriteCalendarFile(attributes))) return FALSE;

    DiscardNewFile();  // left over from a write that was cut short
    FILE *file = fopen(kCalendarNewPath, "w+");
    if (!file) return FALSE;
    BOOL written = fwrite(bytes, 1, count, file) == count;
    if (fclose(file) != 0) written = FALSE;
    if (!written || !FlushNewFile()) {
        DiscardNewFile();
        return FALSE;
    }
    // The file is hidden when this program creates it; a rewrite keeps what it had.
    DWORD keep = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE)
                        : FILE_ATTRIBUTE_HIDDEN;
    if (keep) SetFileAttributesW(kCalendarNewPathW, keep);
    BOOL moved = exists ? DeleteAndRenameFile(kCalendarPathW, kCalendarNewPathW)
                        : MoveFileW(kCalendarNewPathW, kCalendarPathW);
    if (!moved) {
        DiscardNewFile();
        return FALSE;
    }
    return TRUE;
}

static BOOL InitCalendarDialog(HWND dialog)
{
    CalendarSettings settings;
    if (!ReadCalendarSettings(&settings)) {
        char bytes[CAL_FILE_MAX];
        size_t count = FormatDefaultCalendarFile(bytes, sizeof bytes);
        // Only a missing file is created: one that is there but cannot be read keeps
        // its contents, and the dialog shows the defaults.
        WriteCalendarFile(bytes, count, FALSE);
        if (!ReadCalendarSettings(&settings)) ParseCalendarFile((const unsigned char *)bytes, count, &settings);
    }

    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kShellDialogFlags};
    SHInitDialog(&info);

    SetDlgItemTextW(dialog, IDC_CAL_START, settings.start);
    SetDlgItemTextW(dialog, IDC_CAL_END, settings.end);
    for (int day = 0; day < CAL_DAYS; day++)
        if (settings.days & (1u << day)) CheckDlgButton(dialog, IDC_CAL_SUNDAY + day, BST_CHECKED);
    return TRUE;
}

static void StepTimeEdit(HWND dialog, int edit, bool forward)
{
    WCHAR text[CAL_TIME_MAX + 1];
    text[0] = 0;
    GetDlgItemTextW(dialog, edit, text, CAL_TIME_MAX + 1);
    WCHAR stepped[CAL_TIME_MAX + 1];
    StepCalendarTime(text, forward, stepped);
    SetDlgItemTextW(dialog, edit, stepped);
}

static void OnTimeSpin(HWND dialog, const NMUPDOWN *spin)
{
    if (spin->hdr.code != UDN_DELTAPOS) return;
    int edit = 0;
    if (spin->hdr.idFrom == IDC_CAL_START_SPIN) edit = IDC_CAL_START;
    if (spin->hdr.idFrom == IDC_CAL_END_SPIN) edit = IDC_CAL_END;
    // Under the control's default range (100 down to 0) the up arrow gives a negative step.
    if (edit) StepTimeEdit(dialog, edit, spin->iDelta < 0);
}

static void SaveCalendar(HWND dialog)
{
    unsigned days = 0;
    for (int day = 0; day < CAL_DAYS; day++)
        if (IsDlgButtonChecked(dialog, IDC_CAL_SUNDAY + day) == BST_CHECKED) days |= 1u << day;
    WCHAR start[CAL_TIME_MAX + 1], end[CAL_TIME_MAX + 1];
    start[0] = end[0] = 0;
    GetDlgItemTextW(dialog, IDC_CAL_START, start, CAL_TIME_MAX + 1);
    GetDlgItemTextW(dialog, IDC_CAL_END, end, CAL_TIME_MAX + 1);

    char bytes[CAL_FILE_MAX];
    size_t count = FormatCalendarFile(start, end, days, bytes, sizeof bytes);
    if (count == 0 || !WriteCalendarFile(bytes, count, TRUE)) {
        MessageBoxW(NULL, L"Error while set the Calendar file", L"Calender", MB_OK);
        return;
    }
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK CalendarDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitCalendarDialog(dialog);
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, dialog,
                                 ChooseLayoutVariant(IDD_CALENDAR_PORTRAIT, IDD_CALENDAR_LANDSCAPE, IDD_CALENDAR_SQUARE));
        return FALSE;
    case WM_NOTIFY:
        OnTimeSpin(dialog, (const NMUPDOWN *)lParam);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        SaveCalendar(dialog);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, DIALOG_CLOSED);
        return TRUE;
    }
    return FALSE;
}
