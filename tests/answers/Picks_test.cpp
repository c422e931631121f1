#include "answers/Picks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Text(const Picks& picks) {
    size_t length = 0;
    char* text = picks.Format(&length);
    std::string s(text ? text : "", length);
    free(text);
    return s;
}

TEST(Picks, APickBeatsTheFirstMatchAndIsFoundThroughAShorterPrefix) {
    Catalogue catalogue;
    catalogue.Add("C:\\a\\notepad.exe");
    catalogue.Add("C:\\b\\notes.exe");  // the first match of "no"
    Picks picks;
    EXPECT_EQ(picks.Find(catalogue, "no", 2), nullptr);
    ASSERT_EQ(picks.Remember("NO", 2, "C:\\a\\notepad.exe"), 1);
    EXPECT_STREQ(picks.Find(catalogue, "no", 2)->path, "C:\\a\\notepad.exe");
    // "note" has no pick of its own: the one of "no" still fits it.
    EXPECT_STREQ(picks.Find(catalogue, "note", 4)->path, "C:\\a\\notepad.exe");
    // A pick whose name no longer starts with the text, or whose entry is
    // gone, is no completion; a shorter prefix's pick may still be.
    EXPECT_EQ(picks.Find(catalogue, "notes", 5), nullptr);
    picks.Remember("notes", 5, "C:\\gone\\notes.exe");
    EXPECT_EQ(picks.Find(catalogue, "notes", 5), nullptr);
    picks.Remember("n", 1, "C:\\b\\notes.exe");
    EXPECT_STREQ(picks.Find(catalogue, "notes", 5)->path, "C:\\b\\notes.exe");
    catalogue.Clear();
    EXPECT_EQ(picks.Find(catalogue, "no", 2), nullptr);
}

TEST(Picks, NewestKeptOldestDroppedAndTheFileTextRoundTrips) {
    Picks picks;
    for (int i = 0; i < Picks::kMaxPicks + 10; ++i) {
        std::string typed = "t" + std::to_string(i);
        picks.Remember(typed.c_str(), static_cast<int>(typed.size()), ("C:\\p" + std::to_string(i)).c_str());
    }
    EXPECT_EQ(picks.Count(), Picks::kMaxPicks);
    picks.Remember("T10", 3, "C:\\again");  // the same text, letter case aside: moved to the end
    EXPECT_EQ(picks.Count(), Picks::kMaxPicks);
    std::string text = Text(picks);
    EXPECT_EQ(text.find("t9\t"), std::string::npos);  // the oldest went first
    EXPECT_EQ(text.substr(0, 10), "t11\tC:\\p11");
    EXPECT_EQ(text.substr(text.size() - 14), "T10\tC:\\again\r\n");

    Picks loaded;
    loaded.Parse(text.data(), text.size());
    EXPECT_EQ(Text(loaded), text);
}

TEST(Picks, MalformedLinesAreSkippedAndTheRestKept) {
    std::string longTyped(kMaxTypedLength + 1, 'x'), longPath(kPathSize, 'p');
    std::string file = "no\tC:\\a\\notepad.exe\r\n"
                       "no tab here\n"
                       "\tC:\\empty-typed.exe\n"
                       "empty-path\t\n" +
                       longTyped + "\tC:\\x.exe\n" + "lp\t" + longPath + "\n" +
                       "ctl\tC:\\a\x01.exe\n" + std::string("nul\0\tC:\\n.exe\n", 14) +
                       "no\tC:\\later.exe\n"
                       "last\tC:\\last.exe";  // no line end: still a pick
    Picks picks;
    picks.Parse(file.data(), file.size());
    EXPECT_EQ(Text(picks), "no\tC:\\later.exe\r\nlast\tC:\\last.exe\r\n");
    EXPECT_EQ(picks.Remember("a\tb", 3, "C:\\x.exe"), 0);
    EXPECT_EQ(picks.Remember("", 0, "C:\\x.exe"), 0);
    EXPECT_EQ(picks.Count(), 2);
}

}  // namespace
