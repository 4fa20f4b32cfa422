// The calendar file's reader, writer and time steps, without a window. The fuzzer's
// replay keeps them inside their buffers and agreeing with each other; these pin down
// what they make of a file.
#include <windows.h>
#include <string>
#include <gtest/gtest.h>
#include "calendar/calendar_file.h"

namespace {

CalendarSettings Parse(const std::string &bytes)
{
    CalendarSettings settings;
    ParseCalendarFile((const unsigned char *)bytes.data(), bytes.size(), &settings);
    return settings;
}

std::string Format(const wchar_t *start, const wchar_t *end, unsigned days)
{
    char bytes[CAL_FILE_MAX];
    return std::string(bytes, FormatCalendarFile(start, end, days, bytes, sizeof bytes));
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
    for (const char *time : {"0:00", "00:00", "29:30", "8:00X", "8:300"}) {
        std::wstring wide(time, time + strlen(time));
        EXPECT_EQ(wide, std::wstring(Parse(TimeFile(time)).start)) << time;
        EXPECT_EQ(wide, std::wstring(Parse(TimeFile("8:00", time)).end)) << time;
    }
    for (const char *time : {"8:15", "30:00", "8:3", "800", "08:00X", "24:01", "8:00:00:00:00"}) {
        EXPECT_EQ(L"8:00", std::wstring(Parse(TimeFile(time)).start)) << time;
        EXPECT_EQ(L"17:00", std::wstring(Parse(TimeFile("8:00", time)).end)) << time;
    }
    // Bytes widen as signed characters: a high byte widened is no digit.
    EXPECT_EQ((wchar_t)0xFFE9, Parse(TimeFile("8:00\xE9")).start[4]);
    EXPECT_EQ(L"8:00", std::wstring(Parse(TimeFile("\xB8:00")).start));
}

TEST(CalendarFile, LinesAreCountedSkippingEmptyOnesAndIgnoringAnUnterminatedLast)
{
    // The labels are taken whatever they hold.
    CalendarSettings settings = Parse("\n\nanything\n\n7:30\n\n\nat all\n18:00\n\nSunday\n\nSaturday\nMonday");
    EXPECT_EQ(L"7:30", std::wstring(settings.start));
    EXPECT_EQ(L"18:00", std::wstring(settings.end));
    EXPECT_EQ(kSunday | kSaturday, settings.days);
    EXPECT_EQ(L"", std::wstring(Parse("start:\n7:30").start));

    // Day lines match whole names only; a carriage return that reaches the reader, or
    // an embedded null, is part of the line.
    std::string head = TimeFile("8:00");
    EXPECT_EQ(0u, Parse(head + "monday\nMonday \nWednesdayWednesday\nFriday\r\n" + std::string("Mon\0day\n", 8)).days);
    EXPECT_EQ(kTuesday, Parse(head + "Tuesday\nTuesday\nFunday\n").days);
    // Only the first seven day lines count, and reading stops after them.
    EXPECT_EQ(0u, Parse(head + "a\nb\nc\nd\ne\nf\ng\nThursday\n").days);
    EXPECT_EQ(kThursday, Parse(head + "a\nb\nc\nd\ne\nf\nThursday\n").days);
    CalendarReader reader;
    CalendarReadBegin(&reader);
    std::string seven = head + "1\n2\n3\n4\n5\n6\n";
    EXPECT_TRUE(CalendarReadBytes(&reader, (const unsigned char *)seven.data(), seven.size()));
    EXPECT_FALSE(CalendarReadBytes(&reader, (const unsigned char *)"7\n", 2));
}

TEST(CalendarFile, WritesTheTimesAsTypedAndTheCheckedDaysSundayFirst)
{
    EXPECT_EQ("start:\n8:15\nends:\nabc\nSunday\nMonday\nTuesday\nWednesday\nThursday\nFriday\nSaturday\n",
              Format(L"8:15", L"abc", 0x7F));
    // Each character as its low byte, at most five of them.
    EXPECT_EQ("start:\n12345\nends:\nA:00\n", Format(L"1234567", L"\x0141:00", 0));
    // An empty time would leave an empty line, and every later line would move up one;
    // bytes that would end a line or the text become '?', and a Ctrl-Z is kept.
    EXPECT_EQ("start:\n8:00\nends:\n17:00\nMonday\n", Format(L"", L"", kMonday));
    EXPECT_EQ("start:\n8:?0\nends:\n1\x1A:0?\n", Format(L"8:\x010A" L"0", L"1\x1A:0\x0100", 0));
    // Too little room: nothing; the longest file fits the stated room.
    char bytes[CAL_FILE_MAX];
    EXPECT_EQ(0u, FormatCalendarFile(L"8:00", L"17:00", 0, bytes, 10));
    EXPECT_GT(FormatCalendarFile(L"88:88", L"88:88", 0x7F, bytes, sizeof bytes), 0u);
}

TEST(CalendarFile, StepsByHalfHoursAroundTheDay)
{
    struct { const wchar_t *from; const wchar_t *forward; const wchar_t *back; } cases[] = {
        {L"23:30", L"24:00", L"23:00"},
        {L"24:30", L"0:00", L"23:30"},     // at 24 the minutes do not count
        {L"0:00", L"0:30", L"24:00"},
        {L"8:45", L"9:30", L"8:30"},       // not a whole hour: always :30
        {L"-5:00", L"8:30", L"7:30"},      // outside the day: from 8:00
        {L"abc", L"0:30", L"24:00"},
        {L"7:-30", L"7:30", L"6:30"},
        {L"10:00999", L"10:30", L"9:30"},  // only the edit's five characters count
        {L"\x0139:00", L"9:30", L"8:30"},  // each by its low byte
    };
    for (auto &c : cases) {
        EXPECT_EQ(c.forward, Step(c.from, true)) << c.from;
        EXPECT_EQ(c.back, Step(c.from, false)) << c.from;
    }
}
