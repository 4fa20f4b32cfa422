// The calendar work-week dialog and the file it reads and writes, on the device's
// C: drive. Each test puts back the file it found.
#include <fstream>
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"
#include "main_window_fixture.h"
#include "calendar/calendar.h"

namespace {

const wchar_t kFile[] = L"C:\\windows\\Calendar.cal";
const wchar_t kNewFile[] = L"C:\\windows\\Calendar.cal.new";
const char kDefaultFile[] = "start:\n8:00\nends:\n17:00\nMonday\nTuesday\nWednesday\nThursday\nFriday\n";
const unsigned kSunday = 1, kMonday = 2, kFriday = 32, kSaturday = 64, kMondayToFriday = 0x3E;

void WriteBytes(const wchar_t *path, const std::string &bytes)
{
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << "cannot write the calendar file";
}

std::string FileBytes()
{
    std::ifstream file(kFile, std::ios::binary);
    EXPECT_TRUE(file.good()) << "no calendar file";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The file's lines as the device's 8-bit streams read them back.
std::string FileLines()
{
    std::string bytes = FileBytes(), lines;
    for (size_t i = 0; i < bytes.size(); i++)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) lines.push_back(bytes[i]);
    return lines;
}

// A plain file of the new version's name was left behind.
bool NewFileLeft()
{
    DWORD attributes = GetFileAttributesW(kNewFile);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Start(HWND d)
{
    return FieldText(d, IDC_CAL_START);
}

std::wstring End(HWND d)
{
    return FieldText(d, IDC_CAL_END);
}

unsigned Days(HWND d)
{
    unsigned days = 0;
    for (int day = 0; day < 7; day++)
        if (IsTicked(d, IDC_CAL_SUNDAY + day)) days |= 1u << day;
    return days;
}

void SetDays(HWND d, unsigned days)
{
    for (int day = 0; day < 7; day++)
        if (IsTicked(d, IDC_CAL_SUNDAY + day) != (((days >> day) & 1) != 0)) Tap(d, IDC_CAL_SUNDAY + day);
}

// Types both times and ticks exactly these days.
void Enter(HWND d, const wchar_t *start, const wchar_t *end, unsigned days)
{
    if (start) SetField(d, IDC_CAL_START, start);
    if (end) SetField(d, IDC_CAL_END, end);
    SetDays(d, days);
}

void Done(HWND d)
{
    SendMessageW(d, WM_COMMAND, IDOK, 0);
}

void Close(HWND d)
{
    SendMessageW(d, WM_CLOSE, 0, 0);
}

INT_PTR RunCalendar(const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_CALENDAR, CalendarDialogProc, script);
}

// Opens the dialog and gives what it shows, closing it without saving.
struct Shown {
    std::wstring start, end;
    unsigned days;
};

Shown OpenAndLook()
{
    Shown shown = {L"?", L"?", 999};
    RunCalendar([&](HWND d) {
        shown = {Start(d), End(d), Days(d)};
        Close(d);
    });
    return shown;
}

#define EXPECT_SHOWN(wantStart, wantEnd, wantDays, shown) \
    do {                                                  \
        Shown s_ = (shown);                               \
        EXPECT_EQ(std::wstring(wantStart), s_.start);     \
        EXPECT_EQ(std::wstring(wantEnd), s_.end);         \
        EXPECT_EQ((unsigned)(wantDays), s_.days);         \
    } while (0)

}  // namespace

class CalendarDialog : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_attributes = GetFileAttributesW(kFile);
        m_had = m_attributes != INVALID_FILE_ATTRIBUTES;
        if (m_had) m_bytes = FileBytes();
        RemoveNewFile();
    }

    void TearDown() override
    {
        RemoveNewFile();
        SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
        if (m_had) {
            WriteBytes(kFile, m_bytes);
            SetFileAttributesW(kFile, m_attributes);
        } else {
            DeleteFileW(kFile);
        }
        MainWindowTest::TearDown();
    }

    static void RemoveNewFile()
    {
        SetFileAttributesW(kNewFile, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(kNewFile);
        RemoveDirectoryW(kNewFile);
    }

private:
    DWORD m_attributes = INVALID_FILE_ATTRIBUTES;
    bool m_had = false;
    std::string m_bytes;
};

TEST_F(CalendarDialog, AMissingFileIsCreatedHiddenWithTheUsualWorkWeek)
{
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(kFile);
    EXPECT_EQ(16, RunCalendar([](HWND d) {
        EXPECT_EQ(L"8:00", Start(d));
        EXPECT_EQ(L"17:00", End(d));
        EXPECT_EQ(kMondayToFriday, Days(d));
        Close(d);
    }));
    EXPECT_EQ(kDefaultFile, FileLines());
    DWORD attributes = GetFileAttributesW(kFile);
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(NewFileLeft());
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(CalendarDialog, SavedSettingsReopenExactlyAsSaved)
{
    WriteBytes(kFile, kDefaultFile);
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(1, RunCalendar([](HWND d) {
        Enter(d, L"7:30", L"18:00", kSaturday | kSunday);
        Done(d);
    }));
    EXPECT_EQ("start:\n7:30\nends:\n18:00\nSunday\nSaturday\n", FileLines());
    EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_HIDDEN);  // kept through the rewrite
    EXPECT_FALSE(NewFileLeft());
    EXPECT_SHOWN(L"7:30", L"18:00", kSaturday | kSunday, OpenAndLook());

    // Times are saved as typed and validated on reading; no day leaves only the time lines.
    RunCalendar([](HWND d) {
        Enter(d, L"8:15", L"21:30", 0);
        Done(d);
    });
    EXPECT_EQ("start:\n8:15\nends:\n21:30\n", FileLines());
    EXPECT_SHOWN(L"8:00", L"21:30", 0, OpenAndLook());

    // An emptied time is saved as the time shown for it, so the lines after it keep their places.
    RunCalendar([](HWND d) {
        Enter(d, L"", NULL, kMonday | kFriday);
        Done(d);
    });
    EXPECT_EQ("start:\n8:00\nends:\n21:30\nMonday\nFriday\n", FileLines());
    EXPECT_SHOWN(L"8:00", L"21:30", kMonday | kFriday, OpenAndLook());
}

TEST_F(CalendarDialog, TimesInTheFileAreValidatedButTheFileIsLeftAlone)
{
    const std::string file = "start:\n8:15\nends:\n25:00\nSunday\nmonday\nSunday\nHoliday\n";
    WriteBytes(kFile, file);
    EXPECT_SHOWN(L"8:00", L"25:00", kSunday, OpenAndLook());
    EXPECT_EQ(file, FileBytes());

    // Lines ended the desktop way, as another tool may write them.
    WriteBytes(kFile, "start:\r\n6:30\r\nends:\r\n15:00\r\nMonday\r\nFriday\r\n");
    EXPECT_SHOWN(L"6:30", L"15:00", kMonday | kFriday, OpenAndLook());

    // No time lines at all: the edits stay empty.
    WriteBytes(kFile, "start:\n");
    EXPECT_SHOWN(L"", L"", 0, OpenAndLook());
    EXPECT_EQ("start:\n", FileBytes());
}

TEST_F(CalendarDialog, ArrowsStepTheirOwnTimeByHalfHours)
{
    WriteBytes(kFile, "start:\n8:00\nends:\n25:00\nMonday\n");
    RunCalendar([](HWND d) {
        PressSpinnerArrow(d, IDC_CAL_END_SPIN, true);
        EXPECT_EQ(L"8:30", End(d));  // past 24 falls back to 8:00 before the step
        EXPECT_EQ(L"8:00", Start(d));
        PressSpinnerArrow(d, IDC_CAL_START_SPIN, false);
        EXPECT_EQ(L"7:30", Start(d));
        SetField(d, IDC_CAL_START, L"0:00");
        PressSpinnerArrow(d, IDC_CAL_START_SPIN, false);
        EXPECT_EQ(L"24:00", Start(d));
        SetField(d, IDC_CAL_END, L"8:45");
        PressSpinnerArrow(d, IDC_CAL_END_SPIN, true);
        EXPECT_EQ(L"9:30", End(d));
        EXPECT_EQ(L"24:00", Start(d));
        Close(d);
    });
    // Stepping writes nothing until Done.
    EXPECT_EQ("start:\n8:00\nends:\n25:00\nMonday\n", FileBytes());
}

TEST_F(CalendarDialog, AFailedSaveLeavesTheOldFileWholeAndTheDialogOpen)
{
    const std::string old = "start:\n9:00\nends:\n17:30\nTuesday\n";
    WriteBytes(kFile, old);
    HANDLE held = INVALID_HANDLE_VALUE;
    EXPECT_EQ(1, RunCalendar([&](HWND d) {
        Enter(d, L"7:00", NULL, kSaturday);
        auto refused = [&](const char *why) {
            SCOPED_TRACE(why);
            int before = SimMessageBoxCount();
            Done(d);
            EXPECT_TRUE(IsWindowVisible(d));
            ExpectOneBox(before, NULL, L"Calender", MB_OK, L"Error while set the Calendar file");
            EXPECT_FALSE(NewFileLeft()) << "the new version was left behind";
        };
        SetFileAttributesW(kFile, FILE_ATTRIBUTE_READONLY);
        refused("read-only");
        EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(old, FileBytes());

        // Held by another program: for itself alone, or letting others write but not replace it.
        for (DWORD sharing : {0ul, (DWORD)(FILE_SHARE_READ | FILE_SHARE_WRITE)}) {
            held = CreateFileW(kFile, GENERIC_READ, sharing, NULL, OPEN_EXISTING, 0, NULL);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            refused(sharing ? "held, shared" : "held alone");
            CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
            EXPECT_EQ(old, FileBytes());
        }

        // Nothing can be written beside the file.
        ASSERT_TRUE(CreateDirectoryW(kNewFile, NULL));
        refused("no room beside it");
        RemoveDirectoryW(kNewFile);
        EXPECT_EQ(old, FileBytes());

        // Once nothing stands in the way, the same Done saves.
        Done(d);
    }));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ("start:\n7:00\nends:\n17:30\nSaturday\n", FileLines());
}

TEST_F(CalendarDialog, FilesThatCannotOrShouldNotBeReadDoNoHarm)
{
    // Held open by another program: the defaults are shown, the file is not replaced.
    const std::string old = "start:\n9:00\nends:\n17:30\nTuesday\n";
    WriteBytes(kFile, old);
    HANDLE held = CreateFileW(kFile, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_SHOWN(L"8:00", L"17:00", kMondayToFriday, OpenAndLook());
    CloseHandle(held);
    EXPECT_EQ(old, FileBytes());

    // A huge line with no line feed.
    WriteBytes(kFile, std::string(8 * 1024 * 1024, '7'));
    EXPECT_SHOWN(L"", L"", 0, OpenAndLook());

    // A line longer than any buffer, then megabytes of binary junk.
    std::string junk(4 * 1024 * 1024, '\0');
    unsigned seed = 99;
    for (char &c : junk) {
        seed = seed * 1103515245 + 12345;
        c = (char)(seed >> 16);
    }
    junk = "start:\n7:00\nends:\n" + std::string(100000, 'x') + "\n" + junk;
    WriteBytes(kFile, junk);
    Shown shown = OpenAndLook();
    EXPECT_EQ(L"7:00", shown.start);
    EXPECT_EQ(L"17:00", shown.end);
    EXPECT_EQ(junk.size(), FileBytes().size());
}

TEST_F(CalendarDialog, TheShellsDoneKeySavesAndTurningTheScreenKeepsWhatWasEntered)
{
    WriteBytes(kFile, kDefaultFile);
    EXPECT_EQ(1, RunCalendar([](HWND d) {
        Enter(d, L"6:00", L"17:30", kSunday | kFriday);
        // Where each layout puts two of the controls, in dialog units.
        struct { int shape; RECT end, thursday; } turns[] = {
            {SIM_LANDSCAPE, {328, 10, 40, 14}, {224, 54, 120, 14}},
            {SIM_SQUARE, {128, 34, 44, 14}, {24, 152, 150, 14}},
            {SIM_PORTRAIT, {124, 30, 40, 14}, {20, 136, 150, 14}},
        };
        for (auto &turn : turns) {
            ScreenTurn screen(turn.shape);
            ASSERT_TRUE(screen.turned());
            SCOPED_TRACE(testing::Message() << "shape " << turn.shape);
            ExpectAt(d, IDC_CAL_END, turn.end.left, turn.end.top, turn.end.right, turn.end.bottom);
            ExpectAt(d, IDC_CAL_THURSDAY, turn.thursday.left, turn.thursday.top, turn.thursday.right,
                     turn.thursday.bottom);
            EXPECT_EQ(L"6:00", Start(d));
            EXPECT_EQ(L"17:30", End(d));
            EXPECT_EQ(kSunday | kFriday, Days(d));
        }
        Click(ShellDoneKey());
    }));
    EXPECT_EQ("start:\n6:00\nends:\n17:30\nSunday\nFriday\n", FileLines());
}

TEST_F(CalendarDialog, TheMainWindowsCalendarCommandOpensIt)
{
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(L"Calendar", TitleOfDialogOpenedBy(WM_COMMAND, IDM_CALENDAR, 0));
}
