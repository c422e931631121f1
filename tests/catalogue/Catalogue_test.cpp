#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Paths(Catalogue& catalogue) {
    std::vector<std::string> paths;
    for (CatalogueEntry* e = catalogue.head; e; e = e->next) paths.push_back(e->path);
    return paths;
}

TEST(Catalogue, EntryAddedLastComesFirstAndDuplicatesAreExact) {
    Catalogue catalogue;
    EXPECT_EQ(catalogue.Count(), 0);
    catalogue.Add("C:\\A\\x.exe");
    catalogue.Add("C:\\B\\y.exe");
    catalogue.Add("C:\\A\\x.exe");  // keeps its first place
    catalogue.Add("c:\\a\\x.exe");  // another path: case counts
    EXPECT_EQ(Paths(catalogue),
              (std::vector<std::string>{"c:\\a\\x.exe", "C:\\B\\y.exe", "C:\\A\\x.exe"}));
    EXPECT_EQ(catalogue.Count(), 3);
    catalogue.Clear();
    EXPECT_EQ(catalogue.Count(), 0);
    EXPECT_EQ(catalogue.head, nullptr);
    // The index is emptied with the list: a path added before is new again.
    catalogue.Add("C:\\A\\x.exe");
    EXPECT_EQ(catalogue.Count(), 1);
}

TEST(Catalogue, DuplicatesAreFoundAcrossIndexGrowth) {
    Catalogue catalogue;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5000; ++i) catalogue.Add(("C:\\d\\f" + std::to_string(i) + ".exe").c_str());
    }
    EXPECT_EQ(catalogue.Count(), 5000);
    EXPECT_STREQ(catalogue.head->path, "C:\\d\\f4999.exe");
}

TEST(Catalogue, NameIsAfterTheLastBackslash) {
    Catalogue catalogue;
    catalogue.Add("noslash.exe");
    EXPECT_EQ(catalogue.head->Name(), nullptr);
    catalogue.Add("C:\\folder\\");
    EXPECT_STREQ(catalogue.head->Name(), "");
    catalogue.Add("C:\\a\\b\\c.exe");
    EXPECT_EQ(catalogue.head->Name(), catalogue.head->path + 7);
    EXPECT_EQ(catalogue.head->program, nullptr);
}

TEST(FindPrefix, FoldsOnlyAToZAndPrefersTheLatestEntry) {
    Catalogue catalogue;
    catalogue.Add("C:\\P\\notepad.exe");
    catalogue.Add("C:\\Q\\NOTEPAD2.EXE");
    const char* name = nullptr;
    CatalogueEntry* found = catalogue.FindPrefix("note", 4, &name);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->path, "C:\\Q\\NOTEPAD2.EXE");
    EXPECT_EQ(name, found->Name());

    // Bytes above 127 compare unchanged: no folding of accented letters.
    catalogue.Add("C:\\x\\\xC9t\xE9.exe");  // "Été" in Windows-1252
    EXPECT_NE(catalogue.FindPrefix("\xC9T", 2, nullptr), nullptr);
    EXPECT_EQ(catalogue.FindPrefix("\xE9t", 2, nullptr), nullptr);
    // '[' and '{' differ by 0x20 as 'A' and 'a' do, but are no letters.
    catalogue.Add("C:\\x\\[x].exe");
    EXPECT_EQ(catalogue.FindPrefix("{", 1, nullptr), nullptr);
}

TEST(FindPrefix, LengthBeyondTheTextAsksForTheWholeName) {
    Catalogue catalogue;
    catalogue.Add("C:\\a\\Excel.exe");
    catalogue.Add("C:\\b\\excel.exe.bak");
    CatalogueEntry* found = catalogue.FindPrefix("excel.exe", 11, nullptr);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->path, "C:\\a\\Excel.exe");
    EXPECT_STREQ(catalogue.FindPrefix("excel.exe", 9, nullptr)->path, "C:\\b\\excel.exe.bak");
}

TEST(FindPrefix, NamelessAndEmptyNamesAndMisses) {
    Catalogue catalogue;
    catalogue.Add("C:\\named.exe");
    catalogue.Add("C:\\folder\\");
    catalogue.Add("nobackslash");
    // Length 0 matches the first entry that has a name, even an empty one.
    EXPECT_STREQ(catalogue.FindPrefix("", 0, nullptr)->path, "C:\\folder\\");
    EXPECT_STREQ(catalogue.FindPrefix("n", 1, nullptr)->path, "C:\\named.exe");
    const char* name = "untouched";
    EXPECT_EQ(catalogue.FindPrefix("zzz", 3, &name), nullptr);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(Catalogue().FindPrefix("a", 1, nullptr), nullptr);
}

TEST(AddAlias, CompletesLikeANameBesideTheFileOfItsTarget) {
    Catalogue catalogue;
    catalogue.Add("C:\\Tools\\fox.exe");
    ASSERT_EQ(catalogue.AddAlias("ff", "C:\\Tools\\fox.exe"), 1);
    const char* name = nullptr;
    CatalogueEntry* alias = catalogue.FindPrefix("f", 1, &name);
    ASSERT_NE(alias, nullptr);
    EXPECT_STREQ(name, "ff");
    EXPECT_STREQ(alias->path, "C:\\Tools\\fox.exe");
    EXPECT_EQ(alias->kind, CatalogueEntry::kAlias);
    // The file keeps its own entry, and the path index finds the file.
    EXPECT_EQ(catalogue.Count(), 2);
    EXPECT_EQ(catalogue.FindPath("C:\\Tools\\fox.exe")->kind, CatalogueEntry::kFile);
    EXPECT_EQ(catalogue.FindPath("C:\\Tools\\none.exe"), nullptr);

    const std::string longest(Catalogue::kMaxAliasName, 'n'), target(259, 't');
    EXPECT_EQ(catalogue.AddAlias(longest.c_str(), target.c_str()), 1);
    for (const std::pair<std::string, std::string>& bad :
         std::vector<std::pair<std::string, std::string>>{{"", "x"},
                                                          {longest + "n", "x"},
                                                          {"a\\b", "x"},
                                                          {"a\tb", "x"},
                                                          {"mail", ""},
                                                          {"mail", target + "t"},
                                                          {"mail", "https://a\nb"}}) {
        EXPECT_EQ(catalogue.AddAlias(bad.first.c_str(), bad.second.c_str()), 0) << bad.first;
    }
    EXPECT_EQ(catalogue.Count(), 3);
}

TEST(AddAliases, SplitsAtTheFirstEqualsSignAndTrimsBlanks) {
    Catalogue catalogue;
    char section[] = "mail = https://m.example/?a=b\0noequals\0;c=C:\\c.exe\0ff=C:\\f.exe\0\0";
    catalogue.AddAliases(section);
    ASSERT_EQ(catalogue.Count(), 2);
    EXPECT_STREQ(catalogue.head->Name(), "ff");
    EXPECT_STREQ(catalogue.head->next->Name(), "mail");
    EXPECT_STREQ(catalogue.head->next->path, "https://m.example/?a=b");
}

TEST(Associate, SuffixOverTheWholeListReachingIntoTheFolder) {
    Catalogue catalogue;
    catalogue.Add("C:\\Office\\winword.exe");
    CatalogueEntry* word = catalogue.head;
    catalogue.Add("C:\\a\\b.DOC");
    catalogue.Add("C:\\a\\x.doc");
    catalogue.Add("C:\\a\\b.docx");
    catalogue.Add("C:\\a\\doc");
    catalogue.Add("oc");  // no name, and shorter than the suffix
    catalogue.Associate(".doc", 4, word);
    for (CatalogueEntry* e = catalogue.head; e; e = e->next) {
        bool expected = std::string(e->path) == "C:\\a\\b.DOC" || std::string(e->path) == "C:\\a\\x.doc";
        EXPECT_EQ(e->program == word, expected) << e->path;
    }

    // A name shorter than the suffix: the suffix reaches over the backslash.
    catalogue.Add("C:\\ab\\c");
    catalogue.Associate("b\\c", 3, word);
    EXPECT_EQ(catalogue.head->program, word);

    // A later association overrides, and a program may open itself.
    catalogue.Associate(".exe", 4, word);
    EXPECT_EQ(word->program, word);
    CatalogueEntry* other = catalogue.head;
    catalogue.Associate(".DOC", 4, other);
    EXPECT_EQ(catalogue.FindPrefix("x.doc", 5, nullptr)->program, other);
}

TEST(ExtensionNode, CutToFourCharactersAndMatchesTheEnd) {
    ExtensionNode html(".html", nullptr);
    EXPECT_STREQ(html.ext, ".htm");
    EXPECT_EQ(html.Matches("C:\\a\\x.html", 11), 0);
    EXPECT_EQ(html.Matches("C:\\a\\x.HTM", 10), 1);

    ExtensionNode empty("", nullptr);
    EXPECT_EQ(empty.ext[0], '\0');
    EXPECT_EQ(empty.Matches("anything", 8), 1);
    EXPECT_EQ(empty.Matches("", 0), 1);
}

TEST(ExtensionNode, ChainIsWalkedAndShortPathsSkipANode) {
    ExtensionNode exe(".exe", nullptr);
    ExtensionNode x("x", &exe);
    ExtensionNode doc(".doc", &x);
    EXPECT_EQ(doc.Matches("a.EXE", 5), 1);
    EXPECT_EQ(doc.Matches("ab", 2), 0);  // shorter than ".doc" and ".exe"
    EXPECT_EQ(doc.Matches("ex", 2), 1);   // the middle node still matches
    EXPECT_EQ(doc.Matches("a.xls", 5), 0);
    EXPECT_EQ(doc.next, &x);
}

}  // namespace

TEST(Catalogue, APathNoPathBufferHoldsIsLeftOut) {
    Catalogue catalogue;
    std::string longest = "C:\\" + std::string(kPathSize - 4, 'a');  // 259 characters
    catalogue.Add(longest.c_str());
    catalogue.Add((longest + "b").c_str());
    EXPECT_EQ(catalogue.Count(), 1);
    EXPECT_STREQ(catalogue.head->path, longest.c_str());
    EXPECT_EQ(catalogue.FindPath(longest.c_str()), catalogue.head);
}
