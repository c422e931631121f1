#include "answers/NameAnswers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Names as the Start Menu gives them, added in this order (the list meets
// the last first).
void AddNames(Catalogue& catalogue, const std::vector<const char*>& names) {
    for (const char* name : names) {
        std::string path = std::string("C:\\Menu\\") + name + ".lnk";
        ASSERT_EQ(catalogue.AddName(path.c_str(), name, CatalogueEntry::kShellItem), 1) << name;
    }
}

// The names Down walks from the first answer, round to it again.
std::vector<std::string> Walk(Catalogue& catalogue, const char* text, CatalogueEntry* pick = nullptr) {
    NameAnswers answers;
    int mode = Catalogue::kPrefixMatch;
    CatalogueEntry* first = pick ? pick : catalogue.FindMatch(text, static_cast<int>(strlen(text)), &mode);
    std::vector<std::string> names;
    if (!first || !answers.Gather(catalogue, text, static_cast<int>(strlen(text)), pick, first)) return names;
    names.push_back(first->Name());
    for (int i = 1; i < answers.Count(); ++i) {
        CatalogueEntry* entry = answers.Step(1, &mode);
        const char* kind = mode == Catalogue::kPrefixMatch ? "" : mode == Catalogue::kWordMatch ? " (word)" : " (initials)";
        names.push_back(std::string(entry->Name()) + kind);
        EXPECT_EQ(answers.Place(), i + 1);
    }
    // Round past the end to the first, and back past the start to the last.
    EXPECT_STREQ(answers.Step(1, &mode)->Name(), first->Name());
    EXPECT_EQ(answers.Step(0, &mode), answers.At(answers.Count() - 1, &mode));
    return names;
}

TEST(NameAnswers, EveryNameOnceNamesFirstThenLaterWordsAndInitialsShortestFirst) {
    Catalogue catalogue;
    catalogue.words = 1;
    AddNames(catalogue, {"Visual Studio Code Insiders", "Codec Tool", "VS Code", "Code", "Visual Studio Code",
                         "Color Dialog", "Notepad"});
    typedef std::vector<std::string> Names;
    // Every name with "code" reachable: none hidden behind the names that
    // begin with it, each once.
    EXPECT_EQ(Walk(catalogue, "code"), (Names{"Code", "Codec Tool", "VS Code (word)", "Visual Studio Code (word)",
                                              "Visual Studio Code Insiders (word)"}));
    EXPECT_EQ(Walk(catalogue, "vsc"), (Names{"Visual Studio Code", "Visual Studio Code Insiders (initials)"}));
    EXPECT_EQ(Walk(catalogue, "c"), (Names{"Color Dialog", "Code", "Codec Tool", "VS Code (word)",
                                           "Visual Studio Code (word)", "Visual Studio Code Insiders (word)"}));
    // A pick leads, and is not met again.
    CatalogueEntry* pick = catalogue.FindEntry("C:\\Menu\\VS Code.lnk", "VS Code");
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(Walk(catalogue, "code", pick), (Names{"VS Code", "Code", "Codec Tool", "Visual Studio Code (word)",
                                                    "Visual Studio Code Insiders (word)"}));
}

TEST(NameAnswers, WithoutWordsDownAndUpWalkTheNamesThatBeginWithTheTextInListOrder) {
    Catalogue catalogue;
    catalogue.Add("C:\\a\\note1.exe");
    catalogue.Add("C:\\a\\other.exe");
    catalogue.Add("C:\\a\\NOTE2.exe");
    catalogue.Add("C:\\a\\note3.exe");
    // List order: note3, NOTE2, other, note1.
    CatalogueEntry* first = catalogue.FindPrefix("note", 4, nullptr);
    std::vector<std::string> down, up;
    int mode;
    for (int forward : {1, 0}) {
        NameAnswers answers;
        ASSERT_EQ(answers.Gather(catalogue, "note", 4, nullptr, first), 1);
        for (int i = 0; i < 4; ++i) (forward ? down : up).push_back(answers.Step(forward, &mode)->Name());
    }
    EXPECT_EQ(down, (std::vector<std::string>{"NOTE2.exe", "note1.exe", "note3.exe", "NOTE2.exe"}));
    EXPECT_EQ(up, (std::vector<std::string>{"note1.exe", "NOTE2.exe", "note3.exe", "note1.exe"}));
    // A single answer stays; none gives none.
    NameAnswers answers;
    CatalogueEntry* other = catalogue.FindPrefix("oth", 3, nullptr);
    ASSERT_EQ(answers.Gather(catalogue, "oth", 3, nullptr, other), 1);
    EXPECT_EQ(answers.Step(1, &mode), other);
    EXPECT_EQ(answers.Step(0, &mode), other);
    ASSERT_EQ(answers.Gather(catalogue, "zz", 2, nullptr, nullptr), 1);
    EXPECT_EQ(answers.Step(1, &mode), nullptr);
}

TEST(NameAnswers, AWalkForTheFirstAnswersHoldsExactlyTheFirstOfTheWholeList) {
    Catalogue catalogue;
    catalogue.words = 1;
    AddNames(catalogue, {"Code One", "VS Code", "Code Two", "Visual Code", "Code Three", "Code Four", "Codec"});
    NameAnswers whole;
    CatalogueEntry* first = catalogue.FindPrefix("code", 4, nullptr);
    ASSERT_EQ(whole.Gather(catalogue, "code", 4, nullptr, first), 1);
    ASSERT_EQ(whole.Count(), 7);
    int mode;
    // Stopped after that many names beginning with the text: those, in the
    // whole list's order, and no later word met on the way.
    for (int wanted : {1, 3, 5}) {
        NameAnswers some;
        ASSERT_EQ(some.Gather(catalogue, "code", 4, nullptr, first, wanted), 1);
        EXPECT_FALSE(some.Complete());
        ASSERT_EQ(some.Count(), wanted);
        for (int i = 0; i < wanted; ++i) EXPECT_EQ(some.At(i, &mode), whole.At(i, &mode)) << wanted << " " << i;
    }
    // Asked for more than begin with the text: the whole list.
    NameAnswers all;
    ASSERT_EQ(all.Gather(catalogue, "code", 4, nullptr, first, 6), 1);
    EXPECT_TRUE(all.Complete());
    ASSERT_EQ(all.Count(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(all.At(i, &mode), whole.At(i, &mode)) << i;
}

}  // namespace
