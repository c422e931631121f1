#include <gtest/gtest.h>

#include <string>

#include "support/LaunchTest.h"

namespace {

using test::ClassKey;

class StripAliasWordsTest : public test::LaunchTest {};

TEST_F(StripAliasWordsTest, WordsAfterAnAliasGoIntoItsAddressEncodedOrIntoItsCommandLine) {
    // The shell hands https addresses to the recorder here.
    const std::string quoted = "\"" + recorder_ + "\"";
    ClassKey https("https\\shell\\open\\command", quoted + " \"%1\"");
    ASSERT_EQ(l_.catalogue.AddAlias("g", "https://search.kwivo.example/?q=%s&l=en"), 1);
    ASSERT_EQ(l_.catalogue.AddAlias("n", (quoted + " %s").c_str()), 1);
    ASSERT_EQ(l_.catalogue.AddAlias("two", "https://search.kwivo.example/%s/%s"), 1);

    // Shown as it will go, then opened.
    l_.input.PutText("G caf\xC3\xA9 & co");
    l_.UpdateCompletion();
    const std::string address = "https://search.kwivo.example/?q=caf%C3%A9%20%26%20co&l=en";
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_EQ(std::string(l_.completion), std::string(LauncherWindow::kWordMatchSeparator) + address);
    l_.OnChar('\r');
    std::string recorded = Recorded(1);
    EXPECT_NE(recorded.find(address), std::string::npos) << recorded;
    EXPECT_TRUE(Dismissed());

    // A command line takes the words as typed, started as a program is.
    l_.Type("n my notes.txt");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(2).substr(recorded.size()), recorder_ + "|" + quoted + " my notes.txt\n");
    EXPECT_TRUE(Dismissed());

    // No words: the place is left empty.
    l_.Type("g ");
    EXPECT_EQ(std::string(l_.completion), std::string(LauncherWindow::kWordMatchSeparator) +
                                              "https://search.kwivo.example/?q=&l=en");
    l_.input.Clear();

    // Two places for the words, or words that make the address too long:
    // refused, the strip and the text stay.
    for (const std::string& text : {std::string("two x"), "g " + std::string(100, '&')}) {
        l_.input.Clear();
        l_.Type(text.c_str());
        EXPECT_EQ(l_.completion, nullptr) << text;
        l_.OnChar('\r');
        EXPECT_STREQ(l_.input.text, text.c_str());
    }
}

}  // namespace
