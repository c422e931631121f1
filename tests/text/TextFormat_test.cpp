#include "text/TextFormat.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(TextFormat, FitsWholeOrReportsTheCutAndAlwaysTerminates) {
    char out[8];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(FormatText(out, sizeof out, "%s-%d", "ab", 1234), 7);  // exactly fills it
    EXPECT_STREQ(out, "ab-1234");

    memset(out, 'x', sizeof out);
    EXPECT_EQ(FormatText(out, sizeof out, "%s-%d", "ab", 12345), -1);  // one too many
    EXPECT_STREQ(out, "ab-1234");

    EXPECT_EQ(FormatText(out, sizeof out, "$0x%04X", 0x25u), 7);
    EXPECT_STREQ(out, "$0x0025");

    char one[1] = {'x'};
    EXPECT_EQ(FormatText(one, sizeof one, "%s", ""), 0);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(FormatText(one, 0, "%s", "a"), -1);
    EXPECT_EQ(one[0], '\0');  // a size of 0 writes nothing
}
