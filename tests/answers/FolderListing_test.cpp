#include "answers/FolderListing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every match of the rest, in order.
std::vector<std::string> Matches(const FolderListing& listing, const char* rest) {
    std::vector<std::string> names;
    FolderMatch match;
    for (int i = 0; listing.Find(rest, i, &match); ++i) {
        EXPECT_EQ(match.index, i);
        names.push_back(match.name + std::string(match.isFolder ? "\\" : ""));
    }
    return names;
}

TEST(FolderListing, MatchesNamesAndShortNamesInTheListedOrder) {
    FolderListing listing;
    ASSERT_TRUE(listing.Start("C:\\x\\", 5));
    ASSERT_TRUE(listing.Append("zeta.txt", "", 0));
    ASSERT_TRUE(listing.Append("My Documents", "MYDOCU~1", 1));
    ASSERT_TRUE(listing.Append("Zebra", "", 1));
    ASSERT_TRUE(listing.Append("z", "", 0));

    EXPECT_EQ(Matches(listing, "ze"), (std::vector<std::string>{"zeta.txt", "Zebra\\"}));
    EXPECT_EQ(Matches(listing, "Z"), (std::vector<std::string>{"zeta.txt", "Zebra\\", "z"}));
    EXPECT_EQ(Matches(listing, "mydoc"), (std::vector<std::string>{"My Documents\\"}));
    EXPECT_EQ(Matches(listing, "zebras"), std::vector<std::string>{});
    EXPECT_EQ(Matches(listing, "").size(), 4u);

    FolderMatch match;
    ASSERT_TRUE(listing.Find("z", -1, &match));  // -1: the last
    EXPECT_STREQ(match.name, "z");
    EXPECT_EQ(match.index, 2);
    EXPECT_FALSE(listing.Find("q", -1, &match));
    EXPECT_FALSE(listing.Find("z", 3, &match));
}

TEST(FolderListing, WhatOnlyTheFileSystemCanAnswer) {
    EXPECT_TRUE(FolderListing::CanAnswer(""));
    EXPECT_TRUE(FolderListing::CanAnswer("notes v2.t"));
    for (const char* rest : {"a*", "a?", "a<", "a>", "a\"", "\xC9t\xE9", "notes."}) {
        EXPECT_FALSE(FolderListing::CanAnswer(rest)) << rest;
    }
}

TEST(FolderListing, AFolderBeyondTheBoundIsHeldAsTooBig) {
    FolderListing listing;
    ASSERT_TRUE(listing.Start("C:\\big\\", 7));
    std::string name(250, 'n');
    size_t added = 0;
    while (listing.Append(name.c_str(), "", 0)) ++added;
    // Records of 256 bytes: all that the bound holds, then nothing.
    EXPECT_EQ(added, FolderListing::kMaxBytes / 256);
    EXPECT_TRUE(listing.IsTooBig());
    FolderMatch match;
    EXPECT_FALSE(listing.Find("n", 0, &match));
    EXPECT_FALSE(listing.Append("a", "", 0));

    // A folder text that no path buffer holds is no listing either.
    EXPECT_FALSE(listing.Start(std::string(300, 'f').c_str(), 300));
    EXPECT_TRUE(listing.IsTooBig());
    ASSERT_TRUE(listing.Start("C:\\small\\", 9));
    EXPECT_FALSE(listing.IsTooBig());
    EXPECT_TRUE(listing.Append("a", "", 0));
}

}  // namespace
