#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/LauncherWindow.h"
#include "catalogue/CatalogueBuild.h"
#include "settings/SectionBuffer.h"
#include "settings/SettingsFile.h"
#include "support/ShellLink.h"
#include "support/Win32Test.h"

namespace {

// A folder tree in a temporary folder that is also the current directory,
// where kwivo.ini is read.
class CatalogueBuildTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inRoot_.Changed()); }

    std::string Make(const std::string& relative) {
        // Creates the folders on the way, then the file (a name ending in "\"
        // is a folder).
        std::string path = root_.Path();
        size_t start = 0;
        for (size_t slash; (slash = relative.find('\\', start)) != std::string::npos;
             start = slash + 1) {
            path = root_.File(relative.substr(0, slash));
            CreateDirectoryA(path.c_str(), nullptr);
        }
        if (start < relative.size()) {
            path = root_.File(relative);
            test::WriteTextFile(path, "MZ");
        }
        return path;
    }

    void Settings(const std::string& text) { test::WriteTextFile(root_.File("kwivo.ini"), text.c_str()); }

    void Rebuild() {
        SettingsFile settings("kwivo.ini");
        launcher_.RebuildCatalogue(settings);
    }

    // The catalogued paths inside the tree, in catalogue order, relative.
    std::vector<std::string> Ours() {
        std::vector<std::string> paths;
        std::string prefix = root_.Path() + "\\";
        for (CatalogueEntry* e = launcher_.catalogue.head; e; e = e->next) {
            if (strncmp(e->path, prefix.c_str(), prefix.size()) == 0) paths.push_back(e->path + prefix.size());
        }
        return paths;
    }

    CatalogueEntry* Entry(const std::string& relative) {
        std::string path = root_.File(relative);
        for (CatalogueEntry* e = launcher_.catalogue.head; e; e = e->next) {
            if (path == e->path) return e;
        }
        return nullptr;
    }

    test::TempFolder root_;
    test::CurrentDirectory inRoot_{root_.Path()};
    LauncherWindow launcher_{GetModuleHandleA(nullptr)};
};

typedef std::vector<std::string> Paths;

TEST_F(CatalogueBuildTest, DepthOfAConfiguredFolder) {
    Make("tree\\a.exe");
    Make("tree\\one\\b.exe");
    Make("tree\\one\\two\\c.exe");
    Make("tree\\one\\two\\notes.txt");
    const std::string folder = root_.Path() + "\\tree";

    Settings("[folders]\r\n" + folder + "=1\r\n");
    Rebuild();
    EXPECT_EQ(Ours(), (Paths{"tree\\a.exe"}));

    Settings("[folders]\r\n" + folder + "=2\r\n");
    Rebuild();
    EXPECT_EQ(Ours().size(), 2u);
    EXPECT_NE(Entry("tree\\one\\b.exe"), nullptr);

    for (const char* all : {"=0", "=", "", "=abc", "=-1", "=-5"}) {
        Settings("[folders]\r\n" + folder + all + "\r\n");
        Rebuild();
        // A subfolder is scanned when met, before the files after it.
        EXPECT_EQ(Ours().size(), 3u) << all;
        EXPECT_NE(Entry("tree\\one\\two\\c.exe"), nullptr) << all;
    }
}

TEST_F(CatalogueBuildTest, LaterFoldersWinAndDuplicatesKeepOneEntry) {
    Make("first\\tool.exe");
    Make("second\\tool.exe");
    // A file of the documents folder, which the build scans anyway.
    char documents[kPathBytes];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
    std::string mine = std::string(documents) + "\\kwivo-test-duplicate.exe";
    test::WriteTextFile(mine, "MZ");

    Settings("[folders]\r\n" + root_.File("first") + "=1\r\n" + root_.File("second") +
             "=1\r\n$0x0005=1\r\n");
    Rebuild();
    DeleteFileA(mine.c_str());
    EXPECT_EQ(Ours(), (Paths{"second\\tool.exe", "first\\tool.exe"}));
    CatalogueEntry* found = launcher_.catalogue.FindPrefix("TOOL", 4, nullptr);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(std::string(found->path), root_.File("second\\tool.exe"));
    // Scanned twice, catalogued once, at the place of its first addition.
    int copies = 0;
    for (CatalogueEntry* e = launcher_.catalogue.head; e; e = e->next) copies += mine == e->path;
    EXPECT_EQ(copies, 1);
}

TEST_F(CatalogueBuildTest, FolderTokens) {
    char a[kPathBytes], b[kPathBytes];
    ASSERT_EQ(CatalogueBuild::ResolveFolderToken(a, "$0x0005"), 1);
    ASSERT_EQ(CatalogueBuild::ResolveFolderToken(b, "$0X5"), 1);
    EXPECT_STRNE(a, "");
    EXPECT_STREQ(a, b);
    char documents[kPathBytes];
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
    EXPECT_STREQ(a, documents);
    // Digits beyond the eighth push the first ones out.
    ASSERT_EQ(CatalogueBuild::ResolveFolderToken(b, "$0x100000005"), 1);
    EXPECT_STREQ(b, documents);
    for (const char* bad : {"$0x 5", "$0x-5", "$0xZZ", "0x5", "$1x5", "$0y5", "$0x5 "}) {
        strcpy(b, "untouched");
        EXPECT_EQ(CatalogueBuild::ResolveFolderToken(b, bad), 0) << bad;
        EXPECT_STREQ(b, "untouched") << bad;
    }
    EXPECT_EQ(CatalogueBuild::ResolveFolderToken(b, "$0x"), 1);  // the desktop
}

TEST_F(CatalogueBuildTest, ATokenThatIsNoTokenIsAPath) {
    Make("$0xZZ\\odd.exe");
    Settings("[folders]\r\n$0xZZ=1\r\n");  // relative: found in the current directory
    Rebuild();
    bool found = false;
    for (CatalogueEntry* e = launcher_.catalogue.head; e; e = e->next) {
        if (strcmp(e->path, "$0xZZ\\odd.exe") == 0) found = true;
    }
    EXPECT_TRUE(found);
}

TEST_F(CatalogueBuildTest, ExtensionsAndAssociations) {
    Make("t\\page.htm");
    Make("t\\page.html");
    Make("t\\a.txt");
    Make("t\\b.TXT");
    Make("t\\letter.doc");
    Make("t\\sheet.xls");
    Make("t\\bin\\notepad.exe");
    Make("t\\bin2\\notepad2.exe");
    Make("t\\office\\WINWORD.EXE");
    Make("t\\office\\EXCEL.EXE");
    Make("t\\office\\excel.exe.bak");
    Make("t\\tools\\wordpad.exe");
    const std::string folders = "[folders]\r\n" + root_.File("t") + "=0\r\n";

    Settings(folders + "[extensions]\r\n.html=\r\n.txt=notepad\r\n.bak=C:\\Tools\\ed.exe\r\n");
    Rebuild();
    EXPECT_NE(Entry("t\\page.htm"), nullptr);
    EXPECT_EQ(Entry("t\\page.html"), nullptr);
    // "notepad" finds the entry added last whose name begins with it.
    CatalogueEntry* notepad = launcher_.catalogue.FindPrefix("notepad", 7, nullptr);
    ASSERT_NE(notepad, nullptr);
    ASSERT_NE(Entry("t\\a.txt"), nullptr);
    EXPECT_EQ(Entry("t\\a.txt")->program, notepad);
    EXPECT_EQ(Entry("t\\b.TXT")->program, notepad);
    // Built-in: ".doc" with winword.exe, ".xls" with the whole name excel.exe.
    EXPECT_EQ(Entry("t\\letter.doc")->program, Entry("t\\office\\WINWORD.EXE"));
    EXPECT_EQ(Entry("t\\sheet.xls")->program, Entry("t\\office\\EXCEL.EXE"));
    // A program named by its full path is never found.
    ASSERT_NE(Entry("t\\office\\excel.exe.bak"), nullptr);
    EXPECT_EQ(Entry("t\\office\\excel.exe.bak")->program, nullptr);

    // A configured program for a default extension replaces the built-in one.
    Settings(folders + "[extensions]\r\n.doc=wordpad.exe\r\n");
    Rebuild();
    EXPECT_EQ(Entry("t\\letter.doc")->program, Entry("t\\tools\\wordpad.exe"));
    EXPECT_EQ(Entry("t\\a.txt"), nullptr);
}

TEST_F(CatalogueBuildTest, ShortcutsAreCataloguedUnderTheirTargets) {
    std::string word = Make("Office\\WINWORD.EXE");
    // Outside every scanned folder, so only the shortcut can bring it in.
    char startMenu[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_STARTMENU, nullptr, 0, startMenu), S_OK);
    std::string link = std::string(startMenu) + "\\Kwivo Test Word.lnk";
    ASSERT_TRUE(test::MakeShellLink(link, word));
    Make("Projects\\");
    Make("links\\");
    ASSERT_TRUE(test::MakeShellLink(root_.File("links\\projects.lnk"), root_.File("Projects")));
    test::WriteTextFile(root_.File("links\\x.lnk"), "not a link");

    Settings("[folders]\r\n" + root_.File("links") + "=1\r\n");
    Rebuild();
    DeleteFileA(link.c_str());
    CatalogueEntry* entry = Entry("Office\\WINWORD.EXE");
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->Name(), "WINWORD.EXE");
    // Neither the folder nor the shortcut to it, nor the file that is no link.
    EXPECT_EQ(Ours(), (Paths{"Office\\WINWORD.EXE"}));

    // With ".lnk" kept, the false link is catalogued under its own path.
    Settings("[folders]\r\n" + root_.File("links") + "=1\r\n[extensions]\r\n.lnk=\r\n");
    Rebuild();
    EXPECT_NE(Entry("links\\x.lnk"), nullptr);
    EXPECT_EQ(Entry("links\\projects.lnk"), nullptr);
}

TEST_F(CatalogueBuildTest, AliasesWinAndSkipPatternsKeepFilesOut) {
    Make("tools\\fox.exe");
    Make("tools\\keep.exe");
    Make("tools\\unins000.exe");
    Make("tools\\MySetup.exe");
    // A shortcut whose target matches is left out like the file itself.
    ASSERT_TRUE(test::MakeShellLink(root_.File("tools\\Remove.lnk"), Make("other\\unins1.exe")));
    Settings("[folders]\r\n" + root_.File("tools") + "=1\r\n[skip]\r\nunins*.exe=\r\n*SETUP*.exe=\r\n"
             "[aliases]\r\nff=" + root_.File("tools\\fox.exe") + "\r\nweb = https://kwivo.example/?a=b\r\n"
             "bad\\name=x\r\n");
    Rebuild();
    Paths ours = Ours();
    std::sort(ours.begin(), ours.end());
    // The alias of fox.exe stands beside the file's own entry.
    EXPECT_EQ(ours, (Paths{"tools\\fox.exe", "tools\\fox.exe", "tools\\keep.exe"}));
    const char* name = nullptr;
    CatalogueEntry* alias = launcher_.catalogue.FindPrefix("f", 1, &name);
    ASSERT_NE(alias, nullptr);
    EXPECT_STREQ(name, "ff");
    EXPECT_EQ(launcher_.catalogue.FindPath(alias->path)->kind, CatalogueEntry::kFile);
    CatalogueEntry* web = launcher_.catalogue.FindPrefix("web", 3, nullptr);
    ASSERT_NE(web, nullptr);
    EXPECT_STREQ(web->path, "https://kwivo.example/?a=b");
    EXPECT_EQ(launcher_.catalogue.FindPrefix("bad", 3, nullptr), nullptr);
}

TEST_F(CatalogueBuildTest, ABuildKeepsTheDigestThatASavedFileIsComparedWith) {
    // Were they to differ, every save would rebuild, and one that changed a
    // section might not.
    Settings("[extensions]\r\n.txt=\r\n[skip]\r\nx*.exe=\r\n[folders]\r\n" + root_.File("tools") +
             "=1\r\n[aliases]\r\nff=fox.exe\r\n");
    Rebuild();
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(launcher_.catalogueDigest, CatalogueBuild::Digest(settings));
    Settings("[extensions]\r\n.txt=\r\n[skip]\r\nx*.exe=\r\n[folders]\r\n" + root_.File("tools") +
             "=2\r\n[aliases]\r\nff=fox.exe\r\n");
    EXPECT_NE(launcher_.catalogueDigest, CatalogueBuild::Digest(settings));
}

TEST_F(CatalogueBuildTest, SectionsLongerThanFourKilobytesAreReadWhole) {
    Make("tree\\a.kwv");
    std::string folders = "[folders]\r\n", extensions = "[extensions]\r\n";
    for (int i = 0; folders.size() < 6000; ++i) {
        folders += "Z:\\kwivo-nowhere\\" + std::string(100, 'f') + std::to_string(i) + "=1\r\n";
        extensions += ".q" + std::to_string(i) + "=" + std::string(100, 'p') + "\r\n";
    }
    Settings(folders + root_.File("tree") + "=1\r\n" + extensions + ".kwv=\r\n");
    Rebuild();
    EXPECT_EQ(Ours(), (Paths{"tree\\a.kwv"}));
}

TEST_F(CatalogueBuildTest, AnEntryCutByTheSectionBoundIsDropped) {
    // The bound ends the section inside its last entry, right after the
    // folder's name: read as it stands, "tree" without its "=1" would mean
    // all levels. The entries before it still count.
    Make("kept\\k.exe");
    Make("tree\\sub\\deep.exe");
    std::string kept = root_.File("kept") + "=1";
    std::string tree = root_.File("tree");
    // The platform fills all but the last two characters of the buffer with
    // the lines, each ended by its terminator.
    size_t room = SectionBuffer::kMaxSize - 2 - tree.size() - (kept.size() + 1);
    std::string text = "[folders]\r\n" + kept + "\r\n";
    const size_t fillerLine = 203;  // the key, "=1" and the terminator
    for (int i = 0; room > 0; ++i) {
        size_t line = room >= 2 * fillerLine ? fillerLine : room;
        std::string key = "Z:\\kwivo-nowhere\\" + std::to_string(i) + "-";
        key += std::string(line - 3 - key.size(), 'f');
        text += key + "=1\r\n";
        room -= line;
    }
    Settings(text + tree + "=1\r\n");
    Rebuild();
    EXPECT_EQ(Ours(), (Paths{"kept\\k.exe"}));
}

TEST_F(CatalogueBuildTest, FolderLinksAreFollowedButNeverInALoop) {
    if (!test::UnderWine()) GTEST_SKIP() << "makes the links with a Unix shell";
    // Two links back up: followed like folders, they would multiply the walk
    // at every level until the paths no longer fit.
    Make("loop\\tool.exe");
    test::TempFolder elsewhere;
    test::WriteTextFile(elsewhere.File("x.exe"), "MZ");
    std::string loop = test::UnixPath(root_.File("loop"));
    ASSERT_TRUE(test::RunUnix("ln -s .. '" + loop + "/a' && ln -s .. '" + loop + "/b' && ln -s '" +
                              test::UnixPath(elsewhere.Path()) + "' '" + loop + "/ext'"));
    ASSERT_TRUE(test::WaitFor([&] { return test::FileExists(root_.File("loop\\ext\\x.exe")); }));
    Settings("[folders]\r\n" + root_.File("loop") + "=0\r\n");
    Rebuild();
    Paths ours = Ours();
    std::sort(ours.begin(), ours.end());
    EXPECT_EQ(ours, (Paths{"loop\\ext\\x.exe", "loop\\tool.exe"}));
}

TEST_F(CatalogueBuildTest, PathsTooLongAreSkippedAndTheWalkGoesOn) {
    if (!test::UnderWine()) GTEST_SKIP() << "makes the deep tree with a Unix shell";
    // deep\ holds a name that fits only without its folder, then a folder
    // whose search pattern does not fit; "z.exe" after them must still come.
    std::string deep = root_.File("deep");
    size_t room = 259 - deep.size() - 1;  // characters left for a name
    std::string longName = std::string(room - 4 + 1, 'n') + ".exe";  // one too many
    std::string fitName = std::string(room - 4, 'f') + ".exe";       // exactly 259
    std::string longFolder = std::string(room - 4, 'd');  // fits; its pattern does not
    std::string unixDeep = test::UnixPath(deep);
    ASSERT_TRUE(test::RunUnix("mkdir -p '" + unixDeep + "/" + longFolder + "' && touch '" + unixDeep +
                              "/" + longName + "' '" + unixDeep + "/" + fitName + "' '" + unixDeep +
                              "/" + longFolder + "/inner.exe' '" + unixDeep + "/z.exe'"));
    ASSERT_TRUE(test::WaitFor([&] { return test::FileExists(deep + "\\z.exe"); }));
    Settings("[folders]\r\n" + deep + "=0\r\n");
    Rebuild();
    EXPECT_NE(Entry("deep\\z.exe"), nullptr);
    EXPECT_NE(Entry("deep\\" + fitName), nullptr);
    EXPECT_EQ(Ours().size(), 2u);
}

}  // namespace
