// The calendar work-week dialog and the file it reads and writes, on the device's C: drive.
#include <fstream>
#include "tests/hosts/host_kit.h"
#include "aygshell.h"
#include "calendar/calendar.h"

namespace {

const wchar_t kFile[] = L"C:\\windows\\Calendar.cal", kNewFile[] = L"C:\\windows\\Calendar.cal.new";
const unsigned kSunday = 1, kSaturday = 64;
const wchar_t kUsualWeek[] = L"8:00|17:00|62";

void WriteBytes(const std::string &bytes)
{
    SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
    std::ofstream(kFile, std::ios::binary | std::ios::trunc) << bytes;
}

std::string FileBytes()
{
    std::ifstream file(kFile, std::ios::binary);
    return file.good() ? std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()) : "no file";
}

// The file's lines as the device's 8-bit streams read them back.
std::string FileLines()
{
    std::string bytes = FileBytes(), lines;
    for (size_t i = 0; i < bytes.size(); i++)
        if (bytes.compare(i, 2, "\r\n") != 0) lines.push_back(bytes[i]);
    return lines;
}

bool NewFileLeft() { return GetFileAttributesW(kNewFile) != INVALID_FILE_ATTRIBUTES; }

INT_PTR RunCalendar(const std::function<void(HWND)> &script) { return RunDialog(IDD_CALENDAR_PORTRAIT, CalendarDialogProc, script); }

// Types both times (NULL leaves one as it is) and ticks exactly these days.
void Enter(HWND d, const wchar_t *start, const wchar_t *end, unsigned days)
{
    if (start) SetField(d, IDC_CAL_START, start);
    if (end) SetField(d, IDC_CAL_END, end);
    for (int day = 0; day < 7; day++)
        if (IsTicked(d, IDC_CAL_SUNDAY + day) != (((days >> day) & 1) != 0)) Tap(d, IDC_CAL_SUNDAY + day);
}

// "start|end|days" as the dialog shows them (days as bits, Sunday first); closed without saving.
std::wstring OpenAndLook()
{
    std::wstring shown = L"not opened";
    RunCalendar([&](HWND d) {
        unsigned days = 0;
        for (int day = 0; day < 7; day++) days |= IsTicked(d, IDC_CAL_SUNDAY + day) << day;
        shown = FieldText(d, IDC_CAL_START) + L"|" + FieldText(d, IDC_CAL_END) + L"|" + std::to_wstring(days);
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    return shown;
}

// Makes the program's file flushes fail, or work again, by taking the place of
// FlushFileBuffers in this executable's imports, through which the program calls it.
BOOL WINAPI FailToFlush(HANDLE) { return SetLastError(ERROR_WRITE_FAULT), FALSE; }
void FlushesFail(bool fail)
{
    static const void *real = (void *)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "FlushFileBuffers");
    ASSERT_TRUE(SwapImport(L"kernel32.dll", "FlushFileBuffers", fail ? (void *)FailToFlush : (void *)real))
        << "no FlushFileBuffers among the imports";
}

}  // namespace

// Each test starts and ends without the file (a missing one is made anew when needed).
class CalendarDialog : public DeviceTest {
protected:
    void SetUp() override { DeviceTest::SetUp(), RemoveFiles(); }
    void TearDown() override { FlushesFail(false), RemoveFiles(), DeviceTest::TearDown(); }
    static void RemoveFiles()
    {
        for (const wchar_t *file : {kFile, kNewFile}) SetFileAttributesW(file, FILE_ATTRIBUTE_NORMAL), DeleteFileW(file);
        RemoveDirectoryW(kNewFile);
    }
};

TEST_F(CalendarDialog, TheFileIsCreatedHiddenAndRewrittenKeepingItsAttributes)
{
    // A new file that cannot be put on the storage never takes the name.
    FlushesFail(true);
    EXPECT_EQ(kUsualWeek, OpenAndLook());
    EXPECT_TRUE(FileBytes() == "no file" && !NewFileLeft());
    FlushesFail(false);

    EXPECT_EQ(kUsualWeek, OpenAndLook());
    EXPECT_EQ("start:\n8:00\nends:\n17:00\nMonday\nTuesday\nWednesday\nThursday\nFriday\n", FileLines());
    EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(0, SimMessageBoxCount());

    EXPECT_EQ(1, RunCalendar([](HWND d) { Enter(d, L"7:30", L"18:00", kSaturday | kSunday), SendMessageW(d, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ("start:\n7:30\nends:\n18:00\nSunday\nSaturday\n", FileLines());
    EXPECT_TRUE(GetFileAttributesW(kFile) & FILE_ATTRIBUTE_HIDDEN);  // kept through the rewrite
    EXPECT_FALSE(NewFileLeft());
    EXPECT_EQ(L"7:30|18:00|65", OpenAndLook());

    // Each arrow steps its own time; nothing is written before Done.
    RunCalendar([](HWND d) {
        PressSpinnerArrow(d, IDC_CAL_END_SPIN, true);
        PressSpinnerArrow(d, IDC_CAL_START_SPIN, false);
        EXPECT_EQ(L"7:00|18:30", FieldText(d, IDC_CAL_START) + L"|" + FieldText(d, IDC_CAL_END));
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ("start:\n7:30\nends:\n18:00\nSunday\nSaturday\n", FileLines());
}

TEST_F(CalendarDialog, AFailedSaveLeavesTheOldFileWholeAndTheDialogOpen)
{
    const std::string old = "start:\n9:00\nends:\n17:30\nTuesday\n";
    WriteBytes(old);
    // Read-only; held by another program alone, or letting others write but not replace
    // it; nothing can be written beside it; the new version cannot be put on the storage.
    HANDLE held = NULL;
    auto hold = [&](DWORD sharing) { held = CreateFileW(kFile, GENERIC_READ, sharing, NULL, OPEN_EXISTING, 0, NULL); };
    std::function<void()> obstacles[] = {
        [] { SetFileAttributesW(kFile, FILE_ATTRIBUTE_READONLY); }, [&] { hold(0); },
        [&] { hold(FILE_SHARE_READ | FILE_SHARE_WRITE); }, [] { CreateDirectoryW(kNewFile, NULL); },
        [] { FlushesFail(true); }};
    EXPECT_EQ(1, RunCalendar([&](HWND d) {
        Enter(d, L"7:00", NULL, kSaturday);
        for (auto &obstacle : obstacles) {
            int before = SimMessageBoxCount();
            obstacle();
            SendMessageW(d, WM_COMMAND, IDOK, 0);
            SetFileAttributesW(kFile, FILE_ATTRIBUTE_NORMAL);
            if (held) CloseHandle(held), held = NULL;
            RemoveDirectoryW(kNewFile);
            FlushesFail(false);
            EXPECT_TRUE(IsWindowVisible(d));
            ExpectOneBox(before, NULL, L"Calender", MB_OK, L"Error while set the Calendar file");
            EXPECT_EQ(old, FileBytes());
            EXPECT_FALSE(NewFileLeft()) << "the new version was left behind";
        }
        // Once nothing stands in the way, the shell's Done key saves.
        SendMessageW(GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ("start:\n7:00\nends:\n17:30\nSaturday\n", FileLines());
}

TEST_F(CalendarDialog, ReadingAFileNeverChangesItWhateverItHolds)
{
    // Lines may end the desktop way, a Ctrl-Z is a byte like any other, a line may be huge.
    struct { std::string file; std::wstring shown; } cases[] = {
        {"start:\r\n6:30\r\nends:\r\n15:00\r\nMonday\r\nFriday\r\n", L"6:30|15:00|34"},
        {"\x1Astart:\n6:30\r\nends:\n15:00\nMon\x1A" "day\r\nFriday\n", L"6:30|15:00|32"},
        {std::string(8 * 1024 * 1024, '7'), L"||0"},
    };
    for (auto &c : cases) {
        WriteBytes(c.file);
        EXPECT_EQ(c.shown, OpenAndLook());
        EXPECT_TRUE(c.file == FileBytes()) << "changed by reading: " << c.file.substr(0, 40);
    }
    // Held open by another program: the defaults are shown, the file is not replaced.
    HANDLE held = CreateFileW(kFile, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(kUsualWeek, OpenAndLook());
    CloseHandle(held);
    EXPECT_TRUE(cases[2].file == FileBytes());
}
