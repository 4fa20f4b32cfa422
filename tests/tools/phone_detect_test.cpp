#include "testkit.h"
#include "tools/tools.h"

static void SetLines(std::initializer_list<SimLine> lines)
{
    std::vector<SimLine> list(lines);
    SimSetLines(list.data(), (int)list.size());
}

static SimLine Line(const wchar_t *name, BOOL cannotOpen = FALSE)
{
    SimLine line = {};
    lstrcpynW(line.name, name, 64);
    line.cannotOpen = cannotOpen;
    return line;
}

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
    EXPECT_EQ(0, OpenTelephony());

    SetLines({Line(L"Modem"), Line(L"CELLULAR LINE")});
    EXPECT_TRUE(HasCellularLine());
    SetLines({Line(L"Cellular Line 2"), Line(L"Cellular")});
    EXPECT_FALSE(HasCellularLine());
    SetLines({Line(L"Cellular Line", TRUE)});
    EXPECT_FALSE(HasCellularLine());
    SetLines({Line(L"Cellular Line", TRUE), Line(L"cellular line")});
    EXPECT_TRUE(HasCellularLine());
    EXPECT_TRUE(HasCellularLine());
    EXPECT_EQ(0, OpenTelephony());
    SetLines({});
    EXPECT_FALSE(HasCellularLine());

    SetLines({Line(L"Cellular Line")});
    SimSetFailure(SIM_FAIL_TELEPHONY, 1);
    EXPECT_FALSE(HasCellularLine());
    EXPECT_EQ(0, OpenTelephony());
}
