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
    if (!first) return names;
    answers.Start(catalogue, text, static_cast<int>(strlen(text)), pick, first);
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
        answers.Start(catalogue, "note", 4, nullptr, first);
        for (int i = 0; i < 4; ++i) (forward ? down : up).push_back(answers.Step(forward, &mode)->Name());
    }
    EXPECT_EQ(down, (std::vector<std::string>{"NOTE2.exe", "note1.exe", "note3.exe", "NOTE2.exe"}));
    EXPECT_EQ(up, (std::vector<std::string>{"note1.exe", "NOTE2.exe", "note3.exe", "note1.exe"}));
    // A single answer stays; none gives none.
    NameAnswers answers;
    CatalogueEntry* other = catalogue.FindPrefix("oth", 3, nullptr);
    answers.Start(catalogue, "oth", 3, nullptr, other);
    EXPECT_EQ(answers.Step(1, &mode), other);
    EXPECT_EQ(answers.Step(0, &mode), other);
    answers.Start(catalogue, "zz", 2, nullptr, nullptr);
    EXPECT_EQ(answers.Step(1, &mode), nullptr);
}

TEST(NameAnswers, AnswersReachedInAnyOrderAreThoseOfTheWalkInOrder) {
    Catalogue catalogue;
    catalogue.words = 1;
    AddNames(catalogue, {"Code One", "VS Code", "Code Two", "Visual Code", "Code Three", "Code Four", "Codec"});
    CatalogueEntry* pick = catalogue.FindEntry("C:\\Menu\\Code Two.lnk", "Code Two");
    ASSERT_NE(pick, nullptr);
    std::vector<CatalogueEntry*> inOrder;
    int mode;
    NameAnswers walked;
    walked.Start(catalogue, "code", 4, pick, pick);
    ASSERT_EQ(walked.Count(), 7);
    for (int i = 0; i < 7; ++i) inOrder.push_back(walked.At(i, &mode));
    // The names that begin with the text are found as they are reached,
    // forwards and backwards, across the end of their run and before the
    // count is known; the pick is met once.
    NameAnswers reached;
    reached.Start(catalogue, "code", 4, pick, pick);
    for (int i : {3, 1, 5, 0, 6, 2, 4, 1, 7, 4}) {
        EXPECT_EQ(reached.At(i, &mode), i < 7 ? inOrder[i] : nullptr) << i;
    }
    EXPECT_EQ(reached.Count(), 7);
    EXPECT_EQ(inOrder[0], pick);
    EXPECT_STREQ(inOrder[1]->Name(), "Codec");  // the list meets the last added first
    EXPECT_STREQ(inOrder[4]->Name(), "Code One");
    EXPECT_STREQ(inOrder[5]->Name(), "VS Code");
}

}  // namespace
