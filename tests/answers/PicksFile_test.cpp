#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "answers/Picks.h"
#include "support/Win32Test.h"

namespace {

std::string PickLine(int i) {
    return "t" + std::to_string(i) + "\tC:\\Tools\\p" + std::to_string(i) + ".exe\r\n";
}

TEST(PicksFile, AnOversizedFileGivesItsNewestPicks) {
    // 100,001 lines, as a hand-merged or synced file can be: the newest
    // are the last, beyond the bound that is read.
    test::TempFolder folder;
    const std::string file = folder.File("kwivo-picks.txt");
    const int lines = 100001;
    std::string text;
    for (int i = 0; i < lines; ++i) text += PickLine(i);
    ASSERT_GT(text.size(), Picks::kMaxFileBytes);
    test::WriteTextFile(file, text.c_str());

    Picks picks;
    ASSERT_EQ(picks.Load(file.c_str()), 1);
    ASSERT_EQ(picks.Count(), Picks::kMaxPicks);
    size_t length = 0;
    char* formatted = picks.Format(&length);
    ASSERT_NE(formatted, nullptr);
    std::string expected;
    for (int i = lines - Picks::kMaxPicks; i < lines; ++i) expected += PickLine(i);
    EXPECT_EQ(std::string(formatted, length), expected);
    free(formatted);
}

TEST(PicksFile, LinesOfAnEarlierVersionInTheAnsiCodePageAreKept) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the ANSI code page 1252";
    test::TempFolder folder;
    const std::string file = folder.File("kwivo-picks.txt");
    // "café" once as an earlier version wrote it, once in UTF-8.
    test::WriteTextFile(file, "caf\xE9\tC:\\caf\xE9.exe\r\nth\xC3\xA9\tC:\\th\xC3\xA9.exe\r\n");
    Picks picks;
    ASSERT_EQ(picks.Load(file.c_str()), 1);
    size_t length = 0;
    char* formatted = picks.Format(&length);
    ASSERT_NE(formatted, nullptr);
    EXPECT_EQ(std::string(formatted, length),
              "caf\xC3\xA9\tC:\\caf\xC3\xA9.exe\r\nth\xC3\xA9\tC:\\th\xC3\xA9.exe\r\n");
    free(formatted);
}

}  // namespace
