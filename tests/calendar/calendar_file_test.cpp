// The calendar file's reader and writer and the half-hour steps, without a window: what
// they make of a file and of a time, and the fuzzer's checks replayed over every byte in
// every place of one.
#include <gtest/gtest.h>
#include "fuzz/calendar/calendar_checks.h"

// "start|end|days" as read from the bytes.
static std::wstring Read(const std::string &bytes)
{
    CalendarSettings s;
    ParseCalendarFile((const unsigned char *)bytes.data(), bytes.size(), &s);
    return std::wstring(s.start) + L"|" + s.end + L"|" + std::to_wstring(s.days);
}

TEST(CalendarFile, ReadsTimesOnTheHourOrHalfHourAndTheFirstSevenDayLines)
{
    for (std::string time : {"0:00", "00:00", "29:30", "9:30", "20:30", "8:00X", "8:300"})
        EXPECT_EQ(std::wstring(time.begin(), time.end()) + L"|" + std::wstring(time.begin(), time.end()) + L"|0",
                  Read("start:\n" + time + "\nends:\n" + time + "\n"));
    for (std::string time : {"8:15", "30:00", "8:3", "800", "08:00X", "24:01", "\xB8:00", "9:40", "8:01", "23:40", "23:31", "/:00", ":00"})
        EXPECT_EQ(L"8:00|17:00|0", Read("start:\n" + time + "\nends:\n" + time + "\n")) << time;
    // Empty lines are skipped, labels taken whatever they hold, an unterminated last line ignored.
    EXPECT_EQ(L"7:30|18:00|65", Read("\n\nanything\n\n7:30\n\n\nat all\n18:00\n\nSunday\n\nSaturday\nMonday"));
    // Whole names only: a carriage return or a null is part of the line.
    const std::string head = "start:\n8:00\nends:\n17:00\n";
    EXPECT_EQ(L"8:00|17:00|0", Read(head + "monday\nMonday \nFriday\r\n" + std::string("Mon\0day\n", 8)));
    EXPECT_EQ(L"8:00|17:00|18", Read(head + "Monday\na\nb\nc\nd\ne\nThursday\nFriday\n"));
    // The longest line that can hold a value is nine characters long.
    EXPECT_EQ(L"8:00|17:00|8", Read(head + "Wednesday\nWednesdays\nTuesday \n"));
}

// Half an hour forward (the up arrow) or back, at both ends of the day: 24:00 is the
// day's last value and 0:00 its first; hours above 24 fall back to 8:00 before the
// step, and 24 hours keep no minutes.
TEST(CalendarFile, StepsHalfHoursAndWrapsAtBothEndsOfTheDay)
{
    const struct { const wchar_t *from, *forward, *back; } cases[] = {
        {L"23:00", L"23:30", L"22:30"}, {L"23:29", L"23:30", L"22:30"}, {L"23:30", L"24:00", L"23:00"},
        {L"23:31", L"0:00", L"23:30"},  {L"24:00", L"0:00", L"23:30"},  {L"24:45", L"0:00", L"23:30"},
        {L"25:00", L"8:30", L"7:30"},   {L"0:00", L"0:30", L"24:00"},   {L"0:29", L"0:30", L"24:00"},
        {L"0:30", L"1:00", L"0:00"},    {L"0:31", L"1:30", L"0:30"},    {L"1:00", L"1:30", L"0:30"},
        {L"8:45", L"9:30", L"8:30"},    {L"", L"0:30", L"24:00"}};
    for (auto &c : cases) {
        CalChar forward[CAL_TIME_MAX + 1], back[CAL_TIME_MAX + 1];
        StepCalendarTime(c.from, true, forward);
        StepCalendarTime(c.from, false, back);
        EXPECT_STREQ(c.forward, forward) << c.from;
        EXPECT_STREQ(c.back, back) << c.from;
    }
}

TEST(CalendarFile, WritesTheTimesAsTyped)
{
    char bytes[CAL_FILE_MAX];
    auto write = [&](const wchar_t *start, const wchar_t *end, unsigned days) {
        return std::string(bytes, FormatCalendarFile(start, end, days, bytes, sizeof bytes));
    };
    EXPECT_EQ("start:\n8:15\nends:\nabc\nSunday\nMonday\nTuesday\nWednesday\nThursday\nFriday\nSaturday\n",
              write(L"8:15", L"abc", 0x7F));
    // Each character as its low byte, at most five; an empty time as the default, so that
    // no line moves up; bytes that would end a line or the text become '?', a Ctrl-Z is kept.
    EXPECT_EQ("start:\n12345\nends:\nA:00\n", write(L"1234567", L"\x0141:00", 0));
    EXPECT_EQ("start:\n8:00\nends:\n17:00\nMonday\n", write(L"", L"", 2));
    EXPECT_EQ("start:\n8:?0\nends:\n1\x1A:0?\n", write(L"8:\x010A" L"0", L"1\x1A:0\x0100", 0));
}

TEST(CalendarFile, EveryByteInEveryPlaceOfAFilePassesTheFuzzerChecks)
{
    const std::string valid = "start:\n7:30\nends:\n18:00\nSunday\n";
    for (size_t at = 0; at < valid.size(); at++)
        for (int byte = 0; byte < 256; byte++) {
            std::string changed = valid;
            changed[at] = (char)byte;
            EXPECT_TRUE(CalendarBytesHoldUp((const uint8_t *)changed.data(), changed.size())) << at << ": " << byte;
        }
}
