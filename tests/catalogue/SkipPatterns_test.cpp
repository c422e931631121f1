#include "catalogue/SkipPatterns.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MatchesWildcard, StarsAndQuestionMarksLetterCaseAside) {
    EXPECT_EQ(MatchesWildcard("unins*.exe", "unins000.exe"), 1);
    EXPECT_EQ(MatchesWildcard("unins*.exe", "UNINS.EXE"), 1);
    EXPECT_EQ(MatchesWildcard("*setup*.exe", "MySetupTool.exe"), 1);
    EXPECT_EQ(MatchesWildcard("a?c", "abc"), 1);
    EXPECT_EQ(MatchesWildcard("*", ""), 1);
    EXPECT_EQ(MatchesWildcard("*.*", "x.y.z"), 1);
    EXPECT_EQ(MatchesWildcard("unins*.exe", "uninstall.exe.bak"), 0);
    EXPECT_EQ(MatchesWildcard("a?c", "ac"), 0);
    EXPECT_EQ(MatchesWildcard("abc", "abcd"), 0);
    EXPECT_EQ(MatchesWildcard("", "a"), 0);
    // A pattern that would backtrack without end finishes at once.
    std::string many(40, 'a');
    EXPECT_EQ(MatchesWildcard("*a*a*a*a*a*a*a*a*a*a*b", many.c_str()), 0);
}

TEST(SkipPatterns, KeysOfTheSectionWithoutTheMalformedOnes) {
    SkipPatterns skip;
    EXPECT_EQ(skip.Matches("unins000.exe"), 0);
    std::string tooLong(260, '*');
    std::string section = std::string("unins*.exe=\0=\0bad\tkey=\0;x*=\0", 28) + tooLong + '\0' +
                          "*setup*.exe" + '\0' + '\0';
    skip.Take(&section[0]);
    EXPECT_EQ(skip.Matches("unins000.exe"), 1);
    EXPECT_EQ(skip.Matches("Setup.exe"), 1);
    EXPECT_EQ(skip.Matches("tool.exe"), 0);  // the too long "*..." pattern was dropped
    EXPECT_EQ(skip.Matches("bad\tkey"), 0);
    EXPECT_EQ(skip.Matches("xylo.exe"), 0);  // ";x*" is a comment
}

}  // namespace
