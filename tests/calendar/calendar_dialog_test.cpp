// The calendar work-week dialog and the file it reads and writes, on the device's
// C: drive. Each test puts back the file it found.
#include <windows.h>
#include <commctrl.h>
#include "testkit.h"
#include "tests/hosts/host_kit.h"
#include "aygshell.h"
#include "app/rudore.h"
#include "calendar/calendar.h"
#include "resource.h"

namespace {

const wchar_t kFile[] = L"C:\\windows\\Calendar.cal";
const wchar_t kNewFile[] = L"C:\\windows\\Calendar.cal.new";
const char kDefaultFile[] = "start:\n8:00\nends:\n17:00\nMonday\nTuesday\nWednesday\nThursday\nFriday\n";
const unsigned kSunday = 1, kMonday = 2, kFriday = 32, kSaturday = 64, kMondayToFriday = 0x3E;

bool ReadBytes(const wchar_t *path, std::string *bytes)
{
    bytes->clear();
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    char chunk[65536];
    DWORD got;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got) bytes->append(chunk, got);
    CloseHandle(file);
    return true;
}

void WriteBytes(const wchar_t *path, const std::string &bytes)
{
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

std::string FileBytes()
{
    std::string bytes;
    EXPECT_TRUE(ReadBytes(kFile, &bytes)) << "no calendar file";
    return bytes;
}

// The file's lines as the device's 8-bit streams read them back.
std::string FileLines()
{
    std::string bytes = FileBytes(), lines;
    for (size_t i = 0; i < bytes.size(); i++)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) lines.push_back(bytes[i]);
    return lines;
}

bool Exists(const wchar_t *path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Start(HWND d)
{
    return WindowText(GetDlgItem(d, IDC_CAL_START));
}

std::wstring End(HWND d)
{
    return WindowText(GetDlgItem(d, IDC_CAL_END));
}

unsigned Days(HWND d)
{
    unsigned days = 0;
    for (int day = 0; day < 7; day++)
        if (IsDlgButtonChecked(d, IDC_CAL_SUNDAY + day) == BST_CHECKED) days |= 1u << day;
    return days;
}

void SetDays(HWND d, unsigned days)
{
    for (int day = 0; day < 7; day++) {
        bool want = (days >> day) & 1;
        if ((IsDlgButtonChecked(d, IDC_CAL_SUNDAY + day) == BST_CHECKED) != want)
            SendMessageW(GetDlgItem(d, IDC_CAL_SUNDAY + day), BM_CLICK, 0, 0);
    }
}

// A tap on the upper or lower arrow of an up-down control.
void TapArrow(HWND d, int spinId, bool up)
{
    PressSpinnerArrow(d, spinId, up);
}

void Done(HWND d)
{
    SendMessageW(d, WM_COMMAND, IDOK, 0);
}

void Close(HWND d)
{
    SendMessageW(d, WM_CLOSE, 0, 0);
}

// The Done key on the shell's navigation bar of this process.
HWND DoneKey()
{
    HWND nav = NULL;
    while ((nav = FindWindowExW(NULL, nav, SIM_NAVBAR_CLASS, NULL)) != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(nav, &process);
        if (process == GetCurrentProcessId()) return GetDlgItem(nav, IDOK);
    }
    return NULL;
}

bool At(HWND dialog, int id, int x, int y, int cx, int cy)
{
    RECT expected = Pixels(dialog, x, y, cx, cy), place = PlaceOf(dialog, id);
    return EqualRect(&expected, &place) != FALSE;
}

INT_PTR RunCalendar(const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_CALENDAR, CalendarDialogProc, script);
}

}  // namespace

class CalendarDialog : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_attributes = GetFileAttributesW(kFile);
        m_had = m_attributes != INVALID_FILE_ATTRIBUTES && ReadBytes(kFile, &m_bytes);
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
        DeviceTest::TearDown();
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
    INT_PTR result = RunCalendar([](HWND d) {
        EXPECT_EQ(L"Calendar", WindowText(d));
        EXPECT_EQ(L"8:00", Start(d));
        EXPECT_EQ(L"17:00", End(d));
        EXPECT_EQ(kMondayToFriday, Days(d));
        EXPECT_EQ(L"Working day starts at ", WindowText(GetDlgItem(d, IDC_CAL_START_LABEL)));
        EXPECT_EQ(L"Wednesday", WindowText(GetDlgItem(d, IDC_CAL_WEDNESDAY)));
        Close(d);
    });
    EXPECT_EQ(16, result);
    EXPECT_EQ(kDefaultFile, FileLines());
    DWORD attributes = GetFileAttributesW(kFile);
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(Exists(kNewFile));
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(CalendarDialog, SavedSettingsReopenExactlyAsSaved)
{
    WriteBytes(kFile, kDefaultFile);
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_HIDDEN);
    INT_PTR result = RunCalendar([](HWND d) {
        SetDlgItemTextW(d, IDC_CAL_START, L"7:30");
        SetDlgItemTextW(d, IDC_CAL_END, L"18:00");
        SetDays(d, kSaturday | kSunday);
        Done(d);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("start:\n7:30\nends:\n18:00\nSunday\nSaturday\n", FileLines());
    EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_HIDDEN);  // kept through the rewrite
    EXPECT_FALSE(Exists(kNewFile));

    result = RunCalendar([](HWND d) {
        EXPECT_EQ(L"7:30", Start(d));
        EXPECT_EQ(L"18:00", End(d));
        EXPECT_EQ(kSaturday | kSunday, Days(d));
        // Texts are saved as typed, and no day at all leaves only the time lines.
        SetDlgItemTextW(d, IDC_CAL_START, L"8:15");
        SetDlgItemTextW(d, IDC_CAL_END, L"21:30");
        SetDays(d, 0);
        Done(d);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("start:\n8:15\nends:\n21:30\n", FileLines());

    RunCalendar([](HWND d) {
        EXPECT_EQ(L"8:00", Start(d));  // validated on reading
        EXPECT_EQ(L"21:30", End(d));
        EXPECT_EQ(0u, Days(d));
        // An emptied time is saved as the time that would be shown for it, so that the
        // lines after it keep their places.
        SetDlgItemTextW(d, IDC_CAL_START, L"");
        SetDays(d, kMonday | kFriday);
        Done(d);
    });
    EXPECT_EQ("start:\n8:00\nends:\n21:30\nMonday\nFriday\n", FileLines());
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"21:30", End(d));
        EXPECT_EQ(kMonday | kFriday, Days(d));
        Close(d);
    });
}

TEST_F(CalendarDialog, TimesInTheFileAreValidatedButTheFileIsLeftAlone)
{
    const std::string file = "start:\n8:15\nends:\n25:00\nSunday\nmonday\nSunday\nHoliday\n";
    WriteBytes(kFile, file);
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"8:00", Start(d));
        EXPECT_EQ(L"25:00", End(d));
        EXPECT_EQ(kSunday, Days(d));
        Close(d);
    });
    EXPECT_EQ(file, FileBytes());

    // Lines ended the desktop way, as another tool may write them.
    WriteBytes(kFile, "start:\r\n6:30\r\nends:\r\n15:00\r\nMonday\r\nFriday\r\n");
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"6:30", Start(d));
        EXPECT_EQ(L"15:00", End(d));
        EXPECT_EQ(kMonday | kFriday, Days(d));
        Close(d);
    });

    // No time lines at all: the edits stay empty.
    WriteBytes(kFile, "start:\n");
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"", Start(d));
        EXPECT_EQ(L"", End(d));
        EXPECT_EQ(0u, Days(d));
        Close(d);
    });
    EXPECT_EQ("start:\n", FileBytes());
}

TEST_F(CalendarDialog, ArrowsStepTheTimesByHalfHours)
{
    WriteBytes(kFile, "start:\n8:00\nends:\n25:00\nMonday\n");
    RunCalendar([](HWND d) {
        TapArrow(d, IDC_CAL_END_SPIN, true);
        EXPECT_EQ(L"8:30", End(d));  // past 24 falls back to 8:00 before the step
        EXPECT_EQ(L"8:00", Start(d));

        SetDlgItemTextW(d, IDC_CAL_END, L"23:30");
        TapArrow(d, IDC_CAL_END_SPIN, true);
        EXPECT_EQ(L"24:00", End(d));
        TapArrow(d, IDC_CAL_END_SPIN, true);
        EXPECT_EQ(L"0:00", End(d));
        TapArrow(d, IDC_CAL_END_SPIN, false);
        EXPECT_EQ(L"24:00", End(d));

        SetDlgItemTextW(d, IDC_CAL_START, L"0:30");
        TapArrow(d, IDC_CAL_START_SPIN, false);
        EXPECT_EQ(L"0:00", Start(d));
        SetDlgItemTextW(d, IDC_CAL_START, L"8:45");
        TapArrow(d, IDC_CAL_START_SPIN, true);
        EXPECT_EQ(L"9:30", Start(d));
        TapArrow(d, IDC_CAL_START_SPIN, false);
        EXPECT_EQ(L"9:00", Start(d));
        EXPECT_EQ(L"24:00", End(d));
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
    INT_PTR result = RunCalendar([&](HWND d) {
        SetDlgItemTextW(d, IDC_CAL_START, L"7:00");
        SetDays(d, kSaturday);

        auto expectRefused = [&](const char *why, int count) {
            Done(d);
            EXPECT_TRUE(IsWindow(d)) << why;
            ASSERT_EQ(count, SimMessageBoxCount()) << why;
            SimMessageBox box = LastMessageBox();
            EXPECT_EQ(L"Error while set the Calendar file", std::wstring(box.text)) << why;
            EXPECT_EQ(L"Calender", std::wstring(box.caption)) << why;
            EXPECT_EQ((UINT)MB_OK, box.flags) << why;
            EXPECT_TRUE(box.owner == NULL) << why;
            if (held == INVALID_HANDLE_VALUE) EXPECT_EQ(old, FileBytes()) << why;
            EXPECT_FALSE(GetFileAttributesW(kNewFile) != INVALID_FILE_ATTRIBUTES &&
                         !(GetFileAttributesW(kNewFile) & FILE_ATTRIBUTE_DIRECTORY))
                << why << ": the new version was left behind";
        };

        SetFileAttributesW(kFile, FILE_ATTRIBUTE_READONLY);
        expectRefused("read-only", 1);
        EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);

        held = CreateFileW(kFile, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        expectRefused("held open", 2);
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
        EXPECT_EQ(old, FileBytes());

        // Nothing can be written beside the file.
        ASSERT_TRUE(CreateDirectoryW(kNewFile, NULL));
        expectRefused("no room beside it", 3);
        RemoveDirectoryW(kNewFile);

        // Once nothing stands in the way, the same Done saves.
        Done(d);
    });
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(1, result);
    EXPECT_EQ("start:\n7:00\nends:\n17:30\nSaturday\n", FileLines());
    EXPECT_EQ(3, SimMessageBoxCount());
}

TEST_F(CalendarDialog, FilesThatCannotOrShouldNotBeReadDoNoHarm)
{
    // Held open by another program: the defaults are shown, the file is not replaced.
    const std::string old = "start:\n9:00\nends:\n17:30\nTuesday\n";
    WriteBytes(kFile, old);
    HANDLE held = CreateFileW(kFile, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"8:00", Start(d));
        EXPECT_EQ(L"17:00", End(d));
        EXPECT_EQ(kMondayToFriday, Days(d));
        Close(d);
    });
    CloseHandle(held);
    EXPECT_EQ(old, FileBytes());

    // A huge line with no line feed, then binary junk of several megabytes.
    WriteBytes(kFile, std::string(8 * 1024 * 1024, '7'));
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"", Start(d));
        EXPECT_EQ(L"", End(d));
        EXPECT_EQ(0u, Days(d));
        Close(d);
    });
    std::string junk(4 * 1024 * 1024, '\0');
    unsigned seed = 99;
    for (char &c : junk) {
        seed = seed * 1103515245 + 12345;
        c = (char)(seed >> 16);
    }
    junk = "start:\n7:00\nends:\n" + std::string(100000, 'x') + "\n" + junk;
    WriteBytes(kFile, junk);
    RunCalendar([](HWND d) {
        EXPECT_EQ(L"7:00", Start(d));
        EXPECT_EQ(L"17:00", End(d));
        Close(d);
    });
    EXPECT_EQ(junk.size(), FileBytes().size());
}

TEST_F(CalendarDialog, TheShellsDoneKeySavesAndTurningTheScreenKeepsWhatWasEntered)
{
    struct PortraitAtExit {
        ~PortraitAtExit() { SimRotate(SIM_PORTRAIT); PumpMessages(50); }
    } portrait;
    WriteBytes(kFile, kDefaultFile);
    INT_PTR result = RunCalendar([](HWND d) {
        SetDlgItemTextW(d, IDC_CAL_START, L"6:00");
        TapArrow(d, IDC_CAL_END_SPIN, true);
        SetDays(d, kSunday | kFriday);

        struct { int shape; RECT end, thursday; } layouts[] = {
            {SIM_LANDSCAPE, {328, 10, 40, 14}, {224, 54, 120, 14}},
            {SIM_SQUARE, {128, 34, 44, 14}, {24, 152, 150, 14}},
            {SIM_PORTRAIT, {124, 30, 40, 14}, {20, 136, 150, 14}},
        };
        for (auto &layout : layouts) {
            SCOPED_TRACE(testing::Message() << "shape " << layout.shape);
            EXPECT_TRUE(SimRotate(layout.shape));
            PumpMessages(50);
            const RECT &e = layout.end, &t = layout.thursday;
            EXPECT_TRUE(At(d, IDC_CAL_END, e.left, e.top, e.right, e.bottom));
            EXPECT_TRUE(At(d, IDC_CAL_THURSDAY, t.left, t.top, t.right, t.bottom));
            EXPECT_EQ(L"6:00", Start(d));
            EXPECT_EQ(L"17:30", End(d));
            EXPECT_EQ(kSunday | kFriday, Days(d));
        }
        HWND done = DoneKey();
        EXPECT_TRUE(done != NULL);
        if (done) SendMessageW(done, BM_CLICK, 0, 0);
        else Done(d);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("start:\n6:00\nends:\n17:30\nSunday\nFriday\n", FileLines());
}

TEST_F(CalendarDialog, TheMainWindowsCalendarCommandOpensIt)
{
    WriteBytes(kFile, "start:\n10:00\nends:\n16:00\nWednesday\n");
    ASSERT_TRUE(InitMainWindow(GetModuleHandleW(NULL), SW_SHOW));
    std::wstring title, start;
    EXPECT_TRUE(DriveModal([] { SendMessageW(g_hMainWnd, WM_COMMAND, IDM_CALENDAR, 0); }, [&](HWND d) {
        title = WindowText(d);
        start = Start(d);
        Close(d);
    }));
    EXPECT_EQ(L"Calendar", title);
    EXPECT_EQ(L"10:00", start);
    DestroyWindow(g_hMainWnd);
    g_hMainWnd = NULL;
    UnregisterClassW(L"ZEZARIVERARURIDOZ", GetModuleHandleW(NULL));
}
