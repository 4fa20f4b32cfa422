#include "testkit.h"
#include "tools/tools.h"

using PhoneDetection = DeviceTest;

TEST_F(PhoneDetection, NeedsAUsableLineNamedCellularLine)
{
    EXPECT_TRUE(HasCellularLine()) << "the factory device is a Phone Edition";
    struct { std::vector<SimLine> lines; bool phone; DWORD telephonyFailure; } cases[] = {
        // Compared whole but in any case; a line that cannot be opened is passed over.
        {{{L"Modem", FALSE}, {L"Cellular Line", TRUE}, {L"CELLULAR LINE", FALSE}}, true, 0},
        {{{L"Cellular Line 2", FALSE}, {L"Cellular", FALSE}, {L"Cellular Line", TRUE}}, false, 0},
        {{{L"Cellular Line", FALSE}}, false, 1},
    };
    for (auto &c : cases) {
        SimSetLines(c.lines.data(), (int)c.lines.size());
        SimSetFailure(SIM_FAIL_TELEPHONY, c.telephonyFailure);
        EXPECT_EQ(c.phone, HasCellularLine() != FALSE) << c.lines.size();
        int lines = 0;
        EXPECT_EQ(0, SimOpenTelephonyCount(&lines) + lines) << "connections or lines left open";
    }
}
