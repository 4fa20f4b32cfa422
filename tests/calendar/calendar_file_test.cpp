// The calendar file's reader, writer and time steps, without a window.
#include <windows.h>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "calendar/calendar_file.h"

namespace {

std::wstring Text(const CalChar *text)
{
    return std::wstring(text);
}

CalendarSettings Parse(const std::string &bytes)
{
    CalendarSettings settings;
    ParseCalendarFile((const unsigned char *)bytes.data(), bytes.size(), &settings);
    return settings;
}

std::string Format(const wchar_t *start, const wchar_t *end, unsigned days)
{
    char bytes[CAL_FILE_MAX];
    size_t n = FormatCalendarFile(start, end, days, bytes, sizeof bytes);
    return std::string(bytes, n);
}

std::wstring Step(const wchar_t *text, bool forward)
{
    CalChar out[CAL_TIME_MAX + 1];
    StepCalendarTime(text, forward, out);
    return out;
}

const unsigned kSunday = 1, kMonday = 2, kTuesday = 4, kThursday = 16, kFriday = 32, kSaturday = 64;

std::string TimeFile(const std::string &start, const std::string &end = "17:00")
{
    return "start:\n" + start + "\nends:\n" + end + "\n";
}

}  // namespace

TEST(CalendarFile, TimesOnTheHourOrHalfHourAreKeptOthersReplaced)
{
    const char *kept[] = {"0:00", "9:30", "00:00", "29:30", "25:00", "19:30", "8:00X", "1::30", "8:300"};
    for (const char *time : kept) {
        EXPECT_EQ(std::wstring(time, time + strlen(time)), Text(Parse(TimeFile(time)).start)) << time;
        EXPECT_EQ(std::wstring(time, time + strlen(time)), Text(Parse(TimeFile("8:00", time)).end)) << time;
    }
    const char *replaced[] = {"8:15", "12:45", "30:00", "8:3", "8:", "800", "8000", "a:00", ":00",
                              "08:00X", "123456", "8.00", "24:01", "Wednesday"};
    for (const char *time : replaced) {
        EXPECT_EQ(L"8:00", Text(Parse(TimeFile(time)).start)) << time;
        EXPECT_EQ(L"17:00", Text(Parse(TimeFile("8:00", time)).end)) << time;
    }
    // Longer than any line can hold, and longer than the buffer of a line.
    EXPECT_EQ(L"8:00", Text(Parse(TimeFile("8:00:00:00:00")).start));
    EXPECT_EQ(L"17:00", Text(Parse(TimeFile("8:00", std::string(100000, '1'))).end));
}

TEST(CalendarFile, LinesAreCountedSkippingEmptyOnesAndIgnoringAnUnterminatedLast)
{
    CalendarSettings settings = Parse("\n\nstart:\n\n7:30\n\n\nends:\n18:00\n\nSunday\n\nSaturday\n");
    EXPECT_EQ(L"7:30", Text(settings.start));
    EXPECT_EQ(L"18:00", Text(settings.end));
    EXPECT_EQ(kSunday | kSaturday, settings.days);

    // The labels are taken whatever they hold.
    settings = Parse("anything\n9:00\nat all\n10:30\nMonday\n");
    EXPECT_EQ(L"9:00", Text(settings.start));
    EXPECT_EQ(L"10:30", Text(settings.end));
    EXPECT_EQ(kMonday, settings.days);

    settings = Parse("start:\n7:30\nends:\n18:00\nSunday\nMonday");
    EXPECT_EQ(kSunday, settings.days);
    settings = Parse("start:\n7:30");
    EXPECT_EQ(L"", Text(settings.start));
    settings = Parse("start:\n7:30\nends:\n");
    EXPECT_EQ(L"7:30", Text(settings.start));
    EXPECT_EQ(L"", Text(settings.end));
    settings = Parse("");
    EXPECT_EQ(L"", Text(settings.start));
    EXPECT_EQ(L"", Text(settings.end));
    EXPECT_EQ(0u, settings.days);
}

TEST(CalendarFile, DayLinesMatchWholeNamesOnlyAndOnlyTheFirstSevenCount)
{
    std::string head = TimeFile("8:00");
    EXPECT_EQ(0u, Parse(head + "monday\nMONDAY\nMonday \n Monday\nMon\nWednesdays\nWednesdayWednesday\n").days);
    EXPECT_EQ(kTuesday, Parse(head + "Tuesday\nTuesday\nFunday\n").days);
    // A carriage return that reaches the reader is part of the line.
    EXPECT_EQ(0u, Parse(head + "Friday\r\n").days);
    // An embedded null does not shorten a line to a day name.
    EXPECT_EQ(0u, Parse(head + std::string("Mon\0day\n", 8)).days);
    // Seven junk lines leave no room for an eighth.
    EXPECT_EQ(0u, Parse(head + "a\nb\nc\nd\ne\nf\ng\nThursday\n").days);
    EXPECT_EQ(kThursday, Parse(head + "a\nb\nc\nd\ne\nf\nThursday\nFriday\n").days);
}

TEST(CalendarFile, BytesWidenAsSignedCharacters)
{
    CalendarSettings settings = Parse(TimeFile("8:00\xE9"));
    ASSERT_EQ(5u, Text(settings.start).size());
    EXPECT_EQ((wchar_t)0xFFE9, settings.start[4]);
    EXPECT_EQ(L"8:00", Text(Parse(TimeFile("\xB8:00")).start));  // no digit once widened
}

TEST(CalendarFile, ReadingStopsOnceNoLaterLineCanMatter)
{
    CalendarReader reader;
    CalendarReadBegin(&reader);
    std::string seven = TimeFile("8:00") + "1\n2\n3\n4\n5\n6\n";
    EXPECT_TRUE(CalendarReadBytes(&reader, (const unsigned char *)seven.data(), seven.size()));
    EXPECT_FALSE(CalendarReadBytes(&reader, (const unsigned char *)"7\n", 2));
}

TEST(CalendarFile, WritesTheTimesAsTypedAndTheCheckedDaysSundayFirst)
{
    EXPECT_EQ("start:\n8:15\nends:\nabc\n", Format(L"8:15", L"abc", 0));
    EXPECT_EQ("start:\n8:00\nends:\n17:00\nSunday\nMonday\nTuesday\nWednesday\nThursday\nFriday\nSaturday\n",
              Format(L"8:00", L"17:00", 0x7F));
    // Each character as its low byte, at most five of them.
    EXPECT_EQ("start:\n8:00\xE9\nends:\n12345\n", Format(L"8:00\xE9", L"12345", 0));
    EXPECT_EQ("start:\n12345\nends:\n9:00\n", Format(L"1234567", L"9:00", 0));
    EXPECT_EQ("start:\nA:00\nends:\n9:00\n", Format(L"\x0141:00", L"9:00", 0));
}

TEST(CalendarFile, WrittenFilesKeepTheirLinesWhateverWasTyped)
{
    // An empty time would leave an empty line, and every later line would move up one.
    std::string file = Format(L"", L"", kMonday | kFriday);
    EXPECT_EQ("start:\n8:00\nends:\n17:00\nMonday\nFriday\n", file);
    EXPECT_EQ(kMonday | kFriday, Parse(file).days);
    // Characters whose low byte would end a line, the text or the file.
    file = Format(L"8:\x010A" L"0", L"1\x1A:00", kSunday);
    EXPECT_EQ("start:\n8:?0\nends:\n1?:00\nSunday\n", file);
    EXPECT_EQ(kSunday, Parse(file).days);
    // Too little room: nothing.
    char small[10];
    EXPECT_EQ(0u, FormatCalendarFile(L"8:00", L"17:00", 0, small, sizeof small));
    // The longest file fits the stated room.
    char bytes[CAL_FILE_MAX];
    EXPECT_GT(FormatCalendarFile(L"88:88", L"88:88", 0x7F, bytes, sizeof bytes), 0u);
}

TEST(CalendarFile, StepsByHalfHoursAroundTheDay)
{
    struct { const wchar_t *from; const wchar_t *forward; const wchar_t *back; } cases[] = {
        {L"8:00", L"8:30", L"7:30"},
        {L"23:30", L"24:00", L"23:00"},
        {L"24:00", L"0:00", L"23:30"},
        {L"24:30", L"0:00", L"23:30"},   // at 24 the minutes do not count
        {L"0:30", L"1:00", L"0:00"},
        {L"0:00", L"0:30", L"24:00"},
        {L"8:45", L"9:30", L"8:30"},     // not a whole hour: always :30
        {L"25:00", L"8:30", L"7:30"},    // past 24: back to 8:00 first
        {L"99:99", L"8:30", L"7:30"},
        {L"", L"0:30", L"24:00"},
        {L"abc", L"0:30", L"24:00"},
        {L"12", L"12:30", L"11:30"},
        {L"-5:00", L"8:30", L"7:30"},   // before the day: as past it
        {L"7:-30", L"7:30", L"6:30"},
        {L"23:99", L"0:00", L"24:30"},
    };
    for (auto &c : cases) {
        EXPECT_EQ(c.forward, Step(c.from, true)) << c.from;
        EXPECT_EQ(c.back, Step(c.from, false)) << c.from;
    }
    // Only the edit's five characters are looked at, each by its low byte.
    EXPECT_EQ(L"10:30", Step(L"10:00999", true));
    EXPECT_EQ(L"9:30", Step(L"\x0139:00", true));
}
