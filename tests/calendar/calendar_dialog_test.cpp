// The calendar work-week dialog and the file it reads and writes, on the device's
// C: drive. Each test puts back the file it found.
#include <fstream>
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"
#include "calendar/calendar.h"

namespace {

const wchar_t kFile[] = L"C:\\windows\\Calendar.cal";
const wchar_t kNewFile[] = L"C:\\windows\\Calendar.cal.new";
const char kDefaultFile[] = "start:\n8:00\nends:\n17:00\nMonday\nTuesday\nWednesday\nThursday\nFriday\n";
const unsigned kSunday = 1, kMonday = 2, kFriday = 32, kSaturday = 64, kMondayToFriday = 0x3E;

void WriteBytes(const std::string &bytes)
{
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
    std::ofstream file(kFile, std::ios::binary | std::ios::trunc);
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

bool NewFileLeft()
{
    DWORD attributes = GetFileAttributesW(kNewFile);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveNewFile()
{
    SetFileAttributesW(kNewFile, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(kNewFile);
    RemoveDirectoryW(kNewFile);
}

unsigned Days(HWND d)
{
    unsigned days = 0;
    for (int day = 0; day < 7; day++)
        if (IsTicked(d, IDC_CAL_SUNDAY + day)) days |= 1u << day;
    return days;
}

// Types both times (NULL leaves one as it is) and ticks exactly these days.
void Enter(HWND d, const wchar_t *start, const wchar_t *end, unsigned days)
{
    if (start) SetField(d, IDC_CAL_START, start);
    if (end) SetField(d, IDC_CAL_END, end);
    for (int day = 0; day < 7; day++)
        if (IsTicked(d, IDC_CAL_SUNDAY + day) != (((days >> day) & 1) != 0)) Tap(d, IDC_CAL_SUNDAY + day);
}

void Done(HWND d) { SendMessageW(d, WM_COMMAND, IDOK, 0); }
INT_PTR RunCalendar(const std::function<void(HWND)> &script) { return RunDialog(IDD_CALENDAR, CalendarDialogProc, script); }

// Start, end and days as the dialog shows them, "start|end|days"; closed without saving.
std::wstring OpenAndLook()
{
    std::wstring shown = L"not opened";
    RunCalendar([&](HWND d) {
        shown = FieldText(d, IDC_CAL_START) + L"|" + FieldText(d, IDC_CAL_END) + L"|" + std::to_wstring(Days(d));
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    return shown;
}

std::wstring Shows(const wchar_t *start, const wchar_t *end, unsigned days)
{
    return std::wstring(start) + L"|" + end + L"|" + std::to_wstring(days);
}

}  // namespace

class CalendarDialog : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_attributes = GetFileAttributesW(kFile);
        if (m_attributes != INVALID_FILE_ATTRIBUTES) m_bytes = FileBytes();
        RemoveNewFile();
    }

    void TearDown() override
    {
        RemoveNewFile();
        SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(kFile);
        if (m_attributes != INVALID_FILE_ATTRIBUTES) {
            WriteBytes(m_bytes);
            SetFileAttributesW(kFile, m_attributes);
        }
        DeviceTest::TearDown();
    }

private:
    DWORD m_attributes = INVALID_FILE_ATTRIBUTES;
    std::string m_bytes;
};

TEST_F(CalendarDialog, AMissingFileIsCreatedHiddenWithTheUsualWorkWeek)
{
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(kFile);
    EXPECT_EQ(Shows(L"8:00", L"17:00", kMondayToFriday), OpenAndLook());
    EXPECT_EQ(kDefaultFile, FileLines());
    DWORD attributes = GetFileAttributesW(kFile);
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(NewFileLeft());
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(CalendarDialog, SavedSettingsReopenExactlyAsSaved)
{
    WriteBytes(kDefaultFile);
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(1, RunCalendar([](HWND d) {
        Enter(d, L"7:30", L"18:00", kSaturday | kSunday);
        Done(d);
    }));
    EXPECT_EQ("start:\n7:30\nends:\n18:00\nSunday\nSaturday\n", FileLines());
    EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_HIDDEN);  // kept through the rewrite
    EXPECT_FALSE(NewFileLeft());
    EXPECT_EQ(Shows(L"7:30", L"18:00", kSaturday | kSunday), OpenAndLook());

    // An emptied time is saved as the time shown for it, so the lines after it keep their places.
    RunCalendar([](HWND d) {
        Enter(d, L"", NULL, kMonday | kFriday);
        Done(d);
    });
    EXPECT_EQ("start:\n8:00\nends:\n18:00\nMonday\nFriday\n", FileLines());
    EXPECT_EQ(Shows(L"8:00", L"18:00", kMonday | kFriday), OpenAndLook());
}

TEST_F(CalendarDialog, AFailedSaveLeavesTheOldFileWholeAndTheDialogOpen)
{
    const std::string old = "start:\n9:00\nends:\n17:30\nTuesday\n";
    WriteBytes(old);
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

TEST_F(CalendarDialog, ReadingAFileNeverChangesItWhateverItHolds)
{
    // Times are validated, not mended in the file; lines may end the desktop way, and a
    // Ctrl-Z is a byte like any other.
    struct { std::string file; std::wstring shown; } cases[] = {
        {"start:\n8:15\nends:\n25:00\nSunday\nmonday\nSunday\nHoliday\n", Shows(L"8:00", L"25:00", kSunday)},
        {"start:\r\n6:30\r\nends:\r\n15:00\r\nMonday\r\nFriday\r\n", Shows(L"6:30", L"15:00", kMonday | kFriday)},
        {"\x1Astart:\n6:30\r\nends:\n15:00\nMon\x1A" "day\r\nFriday\n", Shows(L"6:30", L"15:00", kFriday)},
        {"start:\n", Shows(L"", L"", 0)},
        // A huge line without a line feed.
        {std::string(8 * 1024 * 1024, '7'), Shows(L"", L"", 0)},
    };
    for (auto &c : cases) {
        WriteBytes(c.file);
        EXPECT_EQ(c.shown, OpenAndLook());
        EXPECT_TRUE(c.file == FileBytes()) << "changed by reading: " << c.file.substr(0, 40);
    }

    // A line longer than any buffer, then megabytes of binary junk.
    std::string junk(4 * 1024 * 1024, '\0');
    unsigned seed = 99;
    for (char &c : junk) c = (char)((seed = seed * 1103515245 + 12345) >> 16);
    junk = "start:\n7:00\nends:\n" + std::string(100000, 'x') + "\n" + junk;
    WriteBytes(junk);
    EXPECT_EQ(L"7:00|17:00|", OpenAndLook().substr(0, 11));
    EXPECT_EQ(junk.size(), FileBytes().size());

    // Held open by another program: the defaults are shown, the file is not replaced.
    const std::string old = "start:\n9:00\nends:\n17:30\nTuesday\n";
    WriteBytes(old);
    HANDLE held = CreateFileW(kFile, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(Shows(L"8:00", L"17:00", kMondayToFriday), OpenAndLook());
    CloseHandle(held);
    EXPECT_EQ(old, FileBytes());
}

TEST_F(CalendarDialog, ArrowsStepTheirOwnTimeAndTheShellsDoneKeySaves)
{
    WriteBytes("start:\n8:00\nends:\n25:00\nMonday\n");
    EXPECT_EQ(1, RunCalendar([](HWND d) {
        PressSpinnerArrow(d, IDC_CAL_END_SPIN, true);
        EXPECT_EQ(L"8:30", FieldText(d, IDC_CAL_END));  // past 24 falls back to 8:00 before the step
        PressSpinnerArrow(d, IDC_CAL_START_SPIN, false);
        EXPECT_EQ(L"7:30", FieldText(d, IDC_CAL_START));
        EXPECT_EQ("start:\n8:00\nends:\n25:00\nMonday\n", FileBytes());  // nothing written before Done
        Enter(d, NULL, NULL, kSunday | kFriday);
        Click(ShellDoneKey());
    }));
    EXPECT_EQ("start:\n7:30\nends:\n8:30\nSunday\nFriday\n", FileLines());
}
