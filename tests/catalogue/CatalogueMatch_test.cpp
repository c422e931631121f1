#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/NameMatch.h"
#include "text/TextFold.h"

namespace {

TEST(NameMatch, WordStartsAndInitials) {
    struct Case {
        const char* name;
        int isFile;
        const char* text;
        int word;
        int initials;
    };
    const Case cases[] = {
        {"Visual Studio Code", 0, "code", 1, 0},
        {"Visual Studio Code", 0, "studio c", 1, 0},  // on across the next word
        {"Visual Studio Code", 0, "vsc", 0, 1},
        {"Visual Studio Code", 0, "VS", 0, 1},
        {"Visual Studio Code", 0, "vscx", 0, 0},      // more letters than words
        {"Visual Studio Code", 0, "isual", 0, 0},     // inside a word
        {"Visual Studio Code", 0, "visual", 0, 0},    // the first word: a prefix, no later word
        {"devenv.exe", 1, "exe", 0, 0},               // a file's extension is no word
        {"node.js", 0, "js", 1, 0},                   // a shown name has none
        {"my-tool_v2.beta.exe", 1, "tool", 1, 0},
        {"my-tool_v2.beta.exe", 1, "v2", 1, 0},
        {"my-tool_v2.beta.exe", 1, "beta", 1, 0},
        {"my-tool_v2.beta.exe", 1, "mtvb", 0, 1},
        {"my-tool_v2.beta.exe", 1, "mtvbe", 0, 0},
        {"Foo (x86)", 0, "x86", 1, 0},
        {"Foo (x86)", 0, "fx", 0, 1},
        {"camelCaseName", 0, "case", 1, 0},
        {"camelCaseName", 0, "ccn", 0, 1},
        {"NASA Tools", 0, "asa", 0, 0},               // capitals after capitals start nothing
        {"NASA Tools", 0, "nt", 0, 1},
        {"a  b", 0, "b", 1, 0},                       // two blanks, one word start
        {"\xC3\x89t\xC3\xA9 Photo", 0, "\xC3\x89p", 0, 1},  // a two-byte initial whole
        {"\xC3\x89t\xC3\xA9 Photo", 0, "\xC3", 0, 0},        // never half of one
    };
    for (const Case& c : cases) {
        int end = WordsEnd(c.name, c.isFile);
        int n = static_cast<int>(strlen(c.text));
        EXPECT_EQ(WordStartsWith(c.name, end, c.text, n), c.word) << c.name << " / " << c.text;
        EXPECT_EQ(InitialsStartWith(c.name, end, c.text, n), c.initials) << c.name << " / " << c.text;
        // The letters' bits never rule out a word that matches.
        if (c.word) {
            EXPECT_NE(WordLetters(c.name, end) & LetterBit(c.text[0]), 0) << c.name;
        }
    }
}

// The first answer's name, with "?" when it matches another way than mode;
// empty for none. Down's walk from it is NameAnswers_test's.
std::string First(Catalogue& catalogue, const char* text, int mode) {
    int found = -1;
    CatalogueEntry* entry = catalogue.FindMatch(text, static_cast<int>(strlen(text)), &found);
    return entry ? std::string(entry->Name()) + (found == mode ? "" : "?") : "";
}

TEST(FindMatch, PrefixesFirstThenTheShortestWordThenTheShortestInitials) {
    Catalogue catalogue;
    catalogue.words = 1;
    catalogue.Add("C:\\a\\Visual Studio Code.exe");
    catalogue.Add("C:\\a\\code.exe");
    catalogue.Add("C:\\a\\Very Small Computer.exe");
    catalogue.Add("C:\\a\\Source Code Pro.exe");
    // Met first: Source Code Pro, Very Small Computer, code, Visual Studio Code.
    EXPECT_EQ(First(catalogue, "code", Catalogue::kPrefixMatch), "code.exe");
    EXPECT_EQ(First(catalogue, "pro", Catalogue::kWordMatch), "Source Code Pro.exe");
    EXPECT_EQ(First(catalogue, "co", Catalogue::kPrefixMatch), "code.exe");
    // A word match beats an initials match met earlier.
    EXPECT_EQ(First(catalogue, "com", Catalogue::kWordMatch), "Very Small Computer.exe");
    // Among initials (and among words) the shortest name comes first.
    EXPECT_EQ(First(catalogue, "vs", Catalogue::kInitialsMatch), "Visual Studio Code.exe");
    EXPECT_EQ(First(catalogue, "exe", Catalogue::kWordMatch), "");

    // Off, as it is unless words=1: only prefixes, and no letters marked.
    Catalogue plain;
    plain.Add("C:\\a\\Visual Studio Code.exe");
    int mode;
    EXPECT_EQ(plain.FindMatch("code", 4, &mode), nullptr);
    EXPECT_EQ(plain.head->wordLetters, 0);
}

// Folds like the system for the few letters the tests use: "É" and "é" to
// "e", "Â", "â", "Ä" and "ä" to "a", "Ü" to "u", "Б" to "б"; A-Z to a-z.
class SmallFold : public TextFold {
public:
    int Fold(char* out, int size, const char* text, int length) const override {
        static const char* const kLetters[][2] = {
            {"\xC3\x89", "e"}, {"\xC3\xA9", "e"}, {"\xC3\x82", "a"}, {"\xC3\xA2", "a"}, {"\xD0\x91", "\xD0\xB1"},
            {"\xC3\x9C", "u"}, {"\xC3\x84", "a"}, {"\xC3\xA4", "a"}};
        std::string folded;
        for (int i = 0; i < length; ++i) {
            const char* const* letter = nullptr;
            for (const auto& l : kLetters) {
                if (i + 1 < length && text[i] == l[0][0] && text[i + 1] == l[0][1]) letter = l;
            }
            folded += letter ? letter[1] : std::string(1, FoldCase(text[i]));
            i += letter != nullptr;
        }
        if (static_cast<int>(folded.size()) >= size) return -1;
        memcpy(out, folded.c_str(), folded.size() + 1);
        return static_cast<int>(folded.size());
    }
};

TEST(FindMatch, AccentsAsideWithAFoldedFormOnlyWhereFoldingDoesMore) {
    SmallFold fold;
    Catalogue catalogue;
    catalogue.fold = &fold;
    catalogue.words = 1;
    catalogue.Add("C:\\a\\C\xC3\xA2mera.exe");            // Câmera.exe
    catalogue.Add("C:\\a\\\xD0\x91\xD0\xBB\xD0\xBE\xD0\xBA.exe");  // Блок.exe
    catalogue.Add("C:\\a\\Plain.exe");
    catalogue.Add("C:\\a\\Open \xC3\x89t\xC3\xA9.exe");   // Open Été.exe
    CatalogueEntry* open = catalogue.head;
    CatalogueEntry* plain = open->next;
    CatalogueEntry* block = plain->next;
    CatalogueEntry* camera = block->next;
    EXPECT_EQ(plain->folded, 0);
    EXPECT_EQ(camera->folded, 1);
    EXPECT_STREQ(camera->Key(), "camera.exe");
    EXPECT_STREQ(camera->Name(), "C\xC3\xA2mera.exe");

    struct Case {
        const char* text;
        CatalogueEntry* entry;
        const char* completion;
    };
    const Case cases[] = {
        {"cam", camera, "era.exe"},
        {"C\xC3\x82M", camera, "era.exe"},       // typed with the accent, in capitals
        {"ca", camera, "mera.exe"},              // "a" covers "â"
        {"c", camera, "\xC3\xA2mera.exe"},
        {"\xD0\xB1", block, "\xD0\xBB\xD0\xBE\xD0\xBA.exe"},  // б finds Б
        {"PLA", plain, "in.exe"},
    };
    for (const Case& c : cases) {
        int length = static_cast<int>(strlen(c.text));
        int mode;
        EXPECT_EQ(catalogue.FindMatch(c.text, length, &mode), c.entry) << c.text;
        EXPECT_EQ(mode, Catalogue::kPrefixMatch);
        EXPECT_STREQ(c.entry->Name() + catalogue.CoveredLength(c.entry, c.text, length), c.completion) << c.text;
        EXPECT_TRUE(catalogue.StartsWith(c.entry, c.text, length));
    }
    int mode;
    EXPECT_EQ(catalogue.FindMatch("ete", 3, &mode), open);  // a word of a folded name
    EXPECT_EQ(mode, Catalogue::kWordMatch);

    // Without the fold, only A-Z folds, as before.
    Catalogue plainFold;
    plainFold.Add("C:\\a\\C\xC3\xA2mera.exe");
    EXPECT_EQ(plainFold.FindPrefix("cam", 3, nullptr), nullptr);
    EXPECT_EQ(plainFold.head->folded, 0);
}

TEST(FindMatch, WordStartsAndInitialsOfAccentedNamesAreThoseOfTheNameAsWritten) {
    // The capital after a small letter starts a word; folded to small
    // letters, the name would lose it.
    SmallFold fold;
    Catalogue catalogue;
    catalogue.fold = &fold;
    catalogue.words = 1;
    catalogue.Add("C:\\a\\\xC3\x9C" "berBlick.exe");     // ÜberBlick.exe
    catalogue.Add("C:\\a\\\xC3\x84" "rgerMeister.exe");  // ÄrgerMeister.exe
    CatalogueEntry* meister = catalogue.head;
    CatalogueEntry* blick = meister->next;
    struct Case {
        const char* text;
        CatalogueEntry* entry;
        int mode;
    };
    const Case cases[] = {
        {"blick", blick, Catalogue::kWordMatch},
        {"meister", meister, Catalogue::kWordMatch},
        {"am", meister, Catalogue::kInitialsMatch},
        {"\xC3\xA4m", meister, Catalogue::kInitialsMatch},  // äm
        {"\xC3\x84M", meister, Catalogue::kInitialsMatch},  // ÄM
        {"uberb", blick, Catalogue::kPrefixMatch},
    };
    for (const Case& c : cases) {
        int mode = -1;
        EXPECT_EQ(catalogue.FindMatch(c.text, static_cast<int>(strlen(c.text)), &mode), c.entry) << c.text;
        EXPECT_EQ(mode, c.mode) << c.text;
    }
}

TEST(AddName, KeptOnceBesideItsFileAndFoundByPathAndName) {
    Catalogue catalogue;
    CatalogueEntry* file = catalogue.Add("C:\\Office\\WINWORD.EXE");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(catalogue.Add("C:\\Office\\WINWORD.EXE"), file);
    EXPECT_EQ(catalogue.AddName("C:\\Office\\WINWORD.EXE", "Word", CatalogueEntry::kName), 1);
    EXPECT_EQ(catalogue.AddName("C:\\Office\\WINWORD.EXE", "Word", CatalogueEntry::kName), 1);  // both Start Menus
    EXPECT_EQ(catalogue.AddName("C:\\Office\\WINWORD.EXE", "Word 2016", CatalogueEntry::kName), 1);
    EXPECT_EQ(catalogue.Count(), 3);
    CatalogueEntry* word = catalogue.FindEntry("C:\\Office\\WINWORD.EXE", "Word");
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->kind, CatalogueEntry::kName);
    EXPECT_STREQ(word->Name(), "Word");
    EXPECT_EQ(catalogue.FindPath("C:\\Office\\WINWORD.EXE"), file);
    EXPECT_EQ(catalogue.FindEntry("C:\\Office\\WINWORD.EXE", "Excel"), nullptr);

    const std::string tooLong(Catalogue::kMaxNameBytes + 1, 'n');
    for (const char* bad : {"", "a\\b", "line\nbreak", tooLong.c_str()}) {
        EXPECT_EQ(catalogue.AddName("C:\\x.lnk", bad, CatalogueEntry::kShellItem), 0) << bad;
    }
    EXPECT_EQ(catalogue.Count(), 3);
}

}  // namespace
