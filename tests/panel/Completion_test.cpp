#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace {

using test::TestLauncher;

std::string Completion(const TestLauncher& l) {
    return l.completion ? l.completion : "<none>";
}

TEST(Completion, FromTheCatalogueAndTab) {
    TestLauncher l;
    l.catalogue.Add("C:\\P\\notepad.exe");
    l.catalogue.Add("C:\\Q\\Notes.txt");
    l.Type("no");
    EXPECT_EQ(Completion(l), "tes.txt");  // the entry added last
    l.Type("tep");
    EXPECT_EQ(Completion(l), "ad.exe");
    EXPECT_EQ(l.completion, l.catalogue.FindPrefix("notep", 5, nullptr)->Name() + 5);
    l.OnChar('\t');
    EXPECT_STREQ(l.input.text, "notepad.exe");
    EXPECT_EQ(l.completion, nullptr);  // nothing offered until the next edit
    l.OnChar(8);
    EXPECT_EQ(Completion(l), "e");

    // A name equal to the text: an empty completion, not none; a character
    // 0 after it changes nothing (stored, it matched the name's terminator
    // and sent the completion past it).
    l.input.Clear();
    l.Type("NOTEPAD.EXE");
    EXPECT_EQ(Completion(l), "");
    l.OnChar(0);
    EXPECT_EQ(l.input.length, 11);
    EXPECT_EQ(Completion(l), "");
    l.OnChar('\t');
    EXPECT_STREQ(l.input.text, "NOTEPAD.EXE");

    // Escape is typed like any character and then matches nothing.
    l.OnChar(27);
    EXPECT_EQ(l.input.length, 12);
    EXPECT_EQ(l.completion, nullptr);
    EXPECT_STREQ(l.GetCopyText(), l.input.text);
}

TEST(Completion, EditingLimitsAndPaste) {
    TestLauncher l;
    l.catalogue.Add("C:\\x\\abc.exe");
    l.OnChar(8);
    EXPECT_EQ(l.input.length, 0);
    EXPECT_EQ(l.completion, nullptr);
    for (int i = 0; i < 257; ++i) l.OnChar('a');
    EXPECT_EQ(l.input.length, 256);
    l.OnChar(8);
    EXPECT_EQ(l.input.length, 255);

    l.input.Clear();
    l.OnPasteText("ab\x08" "c");
    EXPECT_STREQ(l.input.text, "ac");
    EXPECT_EQ(Completion(l), "<none>");
    l.input.Clear();
    l.OnPasteText("AB");
    EXPECT_EQ(Completion(l), "c.exe");
}

TEST(Completion, WhatIsAbsolute) {
    TestLauncher l;
    l.catalogue.Add("C:\\x\\c.exe");
    l.Type("C:");
    EXPECT_EQ(l.completion, nullptr);  // looked up in the catalogue: no name holds a colon
    l.Type("\\");
    EXPECT_NE(l.completion, nullptr);  // the first entry of the drive's root
    l.input.Clear();
    l.Type("\\");
    EXPECT_EQ(l.completion, nullptr);  // one backslash: catalogue, nothing
    l.input.Clear();
    l.Type("7:\\");
    EXPECT_EQ(l.completion, nullptr);  // absolute, on a drive that is not there
}

TEST(Completion, DownAndUpStepThroughTheMatchesAndAnEditStartsAgain) {
    TestLauncher l;
    l.catalogue.Add("C:\\a\\note1.exe");
    l.catalogue.Add("C:\\a\\other.exe");
    l.catalogue.Add("C:\\a\\note2.exe");
    l.catalogue.Add("C:\\b\\note3.exe");
    l.OnKeyDown(VK_DOWN);  // nothing typed, nothing on display: nothing to step
    EXPECT_EQ(l.completion, nullptr);
    l.Type("no");
    EXPECT_EQ(Completion(l), "te3.exe");
    std::vector<std::string> seen;
    for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_LEFT}) {
        l.OnKeyDown(key);
        seen.push_back(Completion(l));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"te2.exe", "te1.exe", "te3.exe", "te1.exe", "te2.exe",
                                              "te2.exe"}));
    EXPECT_STREQ(l.input.text, "no");
    l.OnChar('t');
    EXPECT_EQ(Completion(l), "e3.exe");  // the first match again
    l.OnKeyDown(VK_DOWN);
    l.OnChar('\t');  // Tab takes what is on display and keeps its entry
    EXPECT_STREQ(l.input.text, "note2.exe");
    EXPECT_STREQ(l.current.entry->path, "C:\\a\\note2.exe");
    l.OnKeyDown(VK_DOWN);  // after Tab nothing is on display
    EXPECT_STREQ(l.current.entry->path, "C:\\a\\note2.exe");
    l.input.Clear();
    l.Type("zz");
    l.OnKeyDown(VK_UP);
    EXPECT_EQ(l.completion, nullptr);
}

class FileCompletionTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(folder_.File("Windows").c_str(), nullptr);
        CreateDirectoryA(folder_.File("Windows\\System").c_str(), nullptr);
    }
    test::TempFolder folder_;
    TestLauncher l_;
};

TEST_F(FileCompletionTest, FolderStepsWithTabAndBackslash) {
    std::string base = folder_.Path() + "\\";
    l_.Type((base + "win").c_str());
    EXPECT_EQ(Completion(l_), "dows");  // the rest as the file system stores it
    EXPECT_EQ(l_.current.isFolder, 1);
    EXPECT_EQ(std::string(l_.completionPath), base + "Windows");
    l_.OnChar('\t');
    EXPECT_EQ(std::string(l_.input.text), base + "windows");
    l_.OnChar('\\');  // the accept cleared the completion: taken once only
    EXPECT_EQ(std::string(l_.input.text), base + "windows\\");
    EXPECT_EQ(Completion(l_), "System");

    // A backslash after a folder completion takes it first.
    l_.input.Clear();
    l_.Type((base + "Win\\").c_str());
    EXPECT_EQ(std::string(l_.input.text), base + "Windows\\");
    EXPECT_EQ(Completion(l_), "System");
}

TEST_F(FileCompletionTest, FileCompletionAndABackslashAfterIt) {
    test::WriteTextFile(folder_.File("Windows\\readme.txt"), "x");
    std::string windows = folder_.Path() + "\\Windows\\";
    l_.Type((windows + "rea").c_str());
    EXPECT_EQ(Completion(l_), "dme.txt");
    EXPECT_EQ(l_.current.isFolder, 0);
    l_.OnChar('\\');  // appended to the typed text alone
    EXPECT_EQ(std::string(l_.input.text), windows + "rea\\");
}

TEST_F(FileCompletionTest, NamesThatDoNotExtendTheTextOfferNothingToAdd) {
    std::string base = folder_.Path() + "\\";
    l_.Type((base + "W*s").c_str());  // wildcards take effect
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_EQ(Completion(l_), "");
    EXPECT_EQ(l_.current.isFolder, 1);
    l_.OnChar('\t');
    EXPECT_EQ(std::string(l_.input.text), base + "W*s");

    l_.input.Clear();
    l_.Type((base + "zzz").c_str());
    EXPECT_EQ(l_.completion, nullptr);  // nothing found
}

TEST_F(FileCompletionTest, DownAndUpFollowTheFileSystemsOrder) {
    for (const char* name : {"Wa.txt", "Wb.txt", "Wc"}) test::WriteTextFile(folder_.File(name), "x");
    std::string base = folder_.Path() + "\\";
    std::vector<std::string> order;  // as the search returns them
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA((base + "w*.*").c_str(), &item);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        order.push_back(item.cFileName);
    } while (FindNextFileA(find, &item));
    FindClose(find);
    ASSERT_EQ(order.size(), 4u);  // with the folder Windows

    l_.Type((base + "w").c_str());
    auto shown = [&] { return std::string(l_.completionPath).substr(base.size()); };
    EXPECT_EQ(shown(), order[0]);
    for (size_t i = 1; i <= order.size(); ++i) {
        l_.OnKeyDown(VK_DOWN);
        EXPECT_EQ(shown(), order[i % order.size()]) << i;
        EXPECT_EQ(Completion(l_), order[i % order.size()].substr(1));
    }
    l_.OnKeyDown(VK_UP);  // from the first back round to the last
    EXPECT_EQ(shown(), order.back());
    EXPECT_EQ(l_.current.isFolder, order.back() == "Windows");
    EXPECT_EQ(std::string(l_.input.text), base + "w");
}

// The first name other than "." and ".." that a fresh search gives.
std::string FreshSearch(const std::string& pattern) {
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA(pattern.c_str(), &item);
    std::string name = "<none>";
    if (find == INVALID_HANDLE_VALUE) return name;
    do {
        if (strcmp(item.cFileName, ".") != 0 && strcmp(item.cFileName, "..") != 0) {
            name = item.cFileName;
            break;
        }
    } while (FindNextFileA(find, &item));
    FindClose(find);
    return name;
}

TEST_F(FileCompletionTest, TheFolderIsListedOnceAStripAndAnswersAsAFreshSearch) {
    for (const char* name : {"alpha.txt", "ALPINE.doc", "beta.exe", "al"}) {
        test::WriteTextFile(folder_.File(name), "x");
    }
    CreateDirectoryA(folder_.File("Alps").c_str(), nullptr);
    std::string base = folder_.Path() + "\\";
    auto offered = [&] { return l_.completion ? std::string(strrchr(l_.completionPath, '\\') + 1) : "<none>"; };
    // Pasted whole, so that no other folder is passed on the way.
    auto typeAndCompare = [&](const std::vector<std::string>& texts) {
        for (const std::string& typed : texts) {
            l_.input.Clear();
            l_.OnPasteText((base + typed).c_str());
            EXPECT_EQ(offered(), FreshSearch(base + typed + "*.*")) << typed;
        }
    };
    typeAndCompare({"a", "al", "AL", "alp", "alpi", "alps", "b", "x", "", "a?p", "al."});
    EXPECT_EQ(offered(), "al");  // a dot at the end also matches the end of a name

    // The listing ends between the messages, as its timer takes it on.
    while (l_.folderListing.Continue(LauncherWindow::kListingSliceMs)) {
    }
    // A name made while the strip shows is not offered by this strip...
    test::WriteTextFile(folder_.File("alpaca.txt"), "x");
    l_.input.Clear();
    l_.OnPasteText((base + "alpa").c_str());
    EXPECT_EQ(offered(), "<none>");
    // ...but by the next, which lists the folder again, as does a change of
    // folder in the same strip.
    l_.Dismiss(0);
    typeAndCompare({"a", "alpa"});
    EXPECT_EQ(offered(), "alpaca.txt");
    test::WriteTextFile(folder_.File("Alps\\inner.txt"), "x");
    typeAndCompare({"Alps\\i", "al"});
    EXPECT_EQ(offered(), "al");
}

TEST_F(FileCompletionTest, TheFirstKeystrokeInABigFolderIsTheSearchAndTheListingFollowsInSlices) {
    if (!test::UnderWine()) GTEST_SKIP() << "makes the names with a Unix shell";
    // Enough names that one slice does not list them all.
    ASSERT_TRUE(test::RunUnix("cd '" + test::UnixPath(folder_.Path()) +
                              "' && seq -f 'file%05g.txt' 0 19999 | xargs touch && touch done"));
    ASSERT_TRUE(test::WaitFor([&] { return test::FileExists(folder_.File("done")); }));
    std::string base = folder_.Path() + "\\";
    auto offered = [&] { return l_.completion ? std::string(strrchr(l_.completionPath, '\\') + 1) : "<none>"; };
    l_.OnPasteText((base + "file1999").c_str());
    EXPECT_EQ(offered(), FreshSearch(base + "file1999*.*"));
    EXPECT_TRUE(l_.folderListing.IsListing());  // answered before the folder was listed
    int slices = 1;
    while (l_.folderListing.Continue(1)) ++slices;
    EXPECT_GT(slices, 1);
    // Listed: the next keystrokes are answered from the names, the same way.
    for (const char* typed : {"file19999", "file0", "x"}) {
        l_.input.Clear();
        l_.OnPasteText((base + typed).c_str());
        EXPECT_FALSE(l_.folderListing.IsListing());
        EXPECT_EQ(offered(), FreshSearch(base + typed + "*.*")) << typed;
    }
}

TEST_F(FileCompletionTest, AMatchTooLongForThePathBufferOffersNothing) {
    if (!test::UnderWine()) GTEST_SKIP() << "makes the long names with a Unix shell";
    // A folder whose path, with the name found in it, passes 259 characters.
    std::string deep = folder_.File(std::string(200 - folder_.Path().size(), 'd'));
    std::string name = std::string(100, 'n') + ".exe";
    ASSERT_TRUE(test::RunUnix("mkdir -p '" + test::UnixPath(deep) + "' && touch '" +
                              test::UnixPath(deep) + "/" + name + "'"));
    ASSERT_TRUE(test::WaitFor([&] {
        WIN32_FIND_DATAA item;
        HANDLE find = FindFirstFileA((deep + "\\n*").c_str(), &item);
        if (find == INVALID_HANDLE_VALUE) return false;
        FindClose(find);
        return true;
    }));
    l_.Type((deep + "\\n").c_str());
    EXPECT_EQ(l_.completion, nullptr);
    // A shorter name in the same folder is offered as usual (in the next
    // strip: this one has listed the folder already).
    test::WriteTextFile(deep + "\\m.exe", "MZ");
    l_.Dismiss(0);
    l_.Type((deep + "\\m").c_str());
    EXPECT_EQ(Completion(l_), ".exe");
}

}  // namespace
