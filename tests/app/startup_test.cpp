#include "testkit.h"
#include "app/rudore.h"

TEST(PlatformGeneration, FollowsTheOsVersion)
{
    EXPECT_EQ(1u, PlatformGenerationFromVersion(3, 0));
    EXPECT_EQ(1u, PlatformGenerationFromVersion(4, 0));
    EXPECT_EQ(1u, PlatformGenerationFromVersion(4, 19));
    EXPECT_EQ(3u, PlatformGenerationFromVersion(4, 20));
    EXPECT_EQ(3u, PlatformGenerationFromVersion(4, 21));
    EXPECT_EQ(5u, PlatformGenerationFromVersion(5, 1));
    EXPECT_EQ(5u, PlatformGenerationFromVersion(6, 0));
}
