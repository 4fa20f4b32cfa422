#include "testkit.h"
#include "tools/tools.h"

// Connections and lines left open, together.
static int OpenTelephony()
{
    int lines = 0;
    int connections = SimOpenTelephonyCount(&lines);
    return connections + lines;
}

using PhoneDetection = DeviceTest;

TEST_F(PhoneDetection, NeedsAUsableLineNamedCellularLine)
{
    EXPECT_TRUE(HasCellularLine()) << "the factory device is a Phone Edition";
    struct {
        std::vector<SimLine> lines;
        bool phone;
    } cases[] = {
        // Compared whole but in any case; a line that cannot be opened is passed over.
        {{{L"Modem", FALSE}, {L"Cellular Line", TRUE}, {L"CELLULAR LINE", FALSE}}, true},
        {{{L"Cellular Line 2", FALSE}, {L"Cellular", FALSE}, {L"Cellular Line", TRUE}}, false},
    };
    for (auto &c : cases) {
        SimSetLines(c.lines.data(), (int)c.lines.size());
        EXPECT_EQ(c.phone, HasCellularLine() != FALSE) << c.lines.size();
        EXPECT_EQ(0, OpenTelephony());
    }

    SimLine line = {L"Cellular Line", FALSE};
    SimSetLines(&line, 1);
    SimSetFailure(SIM_FAIL_TELEPHONY, 1);
    EXPECT_FALSE(HasCellularLine());
    EXPECT_EQ(0, OpenTelephony());
}
