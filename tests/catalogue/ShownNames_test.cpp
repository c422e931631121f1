#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/LaunchTest.h"
#include "support/ShellLink.h"
#include "settings/SettingsFile.h"

namespace {

// Packaged apps as a test gives them: the build filters and names them.
class ListedApps : public AppSource {
public:
    std::vector<std::pair<std::string, std::string>> apps;
    size_t at = 0;
    int Begin() override {
        at = 0;
        return 1;
    }
    int Next(char (&name)[kPathBytes], char (&id)[kPathBytes]) override {
        if (at == apps.size()) return 0;
        snprintf(name, sizeof name, "%s", apps[at].first.c_str());
        snprintf(id, sizeof id, "%s", apps[at].second.c_str());
        ++at;
        return 1;
    }
};

// Asks the strip what it shows while the build lists the apps, as a
// screen reader may then.
class ReadDuringBuild : public AppSource {
public:
    explicit ReadDuringBuild(StripContent* strip) : content(strip) {}
    StripContent* content;
    std::string read;
    int Begin() override {
        char text[1024];
        content->ShownText(text, sizeof text);
        read = text;
        return 0;
    }
};

class ShownNamesTest : public test::LaunchTest {
protected:
    void Rebuild(int names) {
        l_.options.names = names;
        test::WriteTextFile(folder_.File("kwivo.ini"), "[skip]\r\nskip*=\r\nunins*.exe=\r\n[folders]\r\n" +
                                                           folder_.File("apps") + "=1\r\n" + folder_.File("huge") +
                                                           "=1\r\n");
        SettingsFile settings("kwivo.ini");
        l_.RebuildCatalogue(settings);
    }
    // The entries of this name, as "kind:path" with the folder's path cut.
    std::vector<std::string> Named(const char* name) {
        std::vector<std::string> found;
        for (CatalogueEntry* e = l_.catalogue.head; e; e = e->next) {
            if (!e->Name() || strcmp(e->Name(), name) != 0) continue;
            std::string path = e->path;
            if (path.compare(0, folder_.Path().size(), folder_.Path()) == 0) path = path.substr(folder_.Path().size() + 1);
            found.push_back(std::to_string(e->kind) + ":" + path);
        }
        return found;
    }
    std::string Tool(const char* name) {
        std::string path = folder_.File("tools\\") + name;
        test::WriteTextFile(path, "MZ");
        return path;
    }
    void SetUp() override {
        LaunchTest::SetUp();
        for (const char* sub : {"tools", "apps", "huge"}) CreateDirectoryA(folder_.File(sub).c_str(), nullptr);
        ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Word.lnk"), Tool("WINWORD2.EXE")));
        ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Paint.lnk"), Tool("mspaint2.exe")));
        ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Broken.lnk"), Tool("broken.exe")));
        ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Skipped.lnk"), Tool("kept.exe")));
        ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Indirect.lnk"), Tool("indirect.exe")));
        ASSERT_TRUE(test::MakeShellLink(folder_.File("huge\\Huge.lnk"), Tool("huge.exe")));
        ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Uninstall Foo.lnk"), Tool("unins000.exe")));
        // Names that a DLL would give if its code ran: beside the shortcuts
        // (as in an unpacked archive), in the current folder, and through a
        // path of the form a share has.
        for (const char* name : {"Evil", "Here", "Share"}) {
            std::string target = Tool((std::string(name) + ".exe").c_str());
            ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\") + name + ".lnk", target));
        }
        for (const char* dll : {"apps\\evil.dll", "evil.dll", "apps\\share.dll"}) {
            ASSERT_TRUE(CopyFileA(test::Beside("tracedll.dll").c_str(), folder_.File(dll).c_str(), FALSE));
        }
        test::WriteTextFile(folder_.File("apps\\Other.url"), "[InternetShortcut]\r\nURL=https://example.com/\r\n");
        // An installer's advertised shortcut: no LinkInfo, a target not here.
        ASSERT_TRUE(CopyFileA(KWIVO_LNK_CORPUS "\\ez-misc-local.file.darwin.lnk", folder_.File("apps\\Advertised.lnk").c_str(),
                              FALSE));
        test::WriteTextFile(folder_.File("apps\\desktop.ini"),
                            ("[.ShellClassInfo]\r\n[LocalizedFileNames]\r\nPaint.lnk=Malen\r\n"
                            "Broken.lnk=@Z:\\nowhere\\none.dll,-5\r\n"
                            // The string table of kwivo.exe, beside this test: its title.
                            "Indirect.lnk=@%KWIVO_TEST_BIN%\\kwivo.exe,-103\r\n"
                            "Evil.lnk=@" + folder_.File("apps\\evil.dll") + ",-1\r\n"
                            "Here.lnk=@evil.dll,-1\r\n"
                            "Share.lnk=@\\\\?\\" + folder_.File("apps\\share.dll") + ",-1\r\n").c_str());
        std::string bin = test::Beside("");
        SetEnvironmentVariableA("KWIVO_TEST_BIN", bin.substr(0, bin.size() - 1).c_str());
        std::string huge = "[LocalizedFileNames]\r\nHuge.lnk=Riesig\r\n" + std::string(70000, ';');
        test::WriteTextFile(folder_.File("huge\\desktop.ini"), huge.c_str());
    }
};

typedef std::vector<std::string> Found;

TEST_F(ShownNamesTest, ShortcutsByTheNamesTheShellShowsBesideTheirTargets) {
    Rebuild(1);
    EXPECT_EQ(Named("Word"), Found{"2:tools\\WINWORD2.EXE"});
    EXPECT_EQ(Named("Malen"), Found{"2:tools\\mspaint2.exe"});      // from desktop.ini
    EXPECT_EQ(Named("Paint"), Found{});
    EXPECT_EQ(Named("Broken"), Found{"2:tools\\broken.exe"});       // its resource is not there
    EXPECT_EQ(Named("kwivo"), Found{"2:tools\\indirect.exe"});       // an indirect string, resolved
    EXPECT_EQ(Named("Huge"), Found{"2:tools\\huge.exe"});           // a desktop.ini too big to be one
    EXPECT_EQ(Named("Skipped"), Found{});                           // [skip] names names too
    EXPECT_EQ(Named("kept.exe"), Found{"0:tools\\kept.exe"});
    EXPECT_EQ(Named("Advertised"), Found{"3:apps\\Advertised.lnk"});  // opened by the shell
    EXPECT_EQ(Named("Other"), Found{});  // internet shortcuts are named in the Start Menus only
    EXPECT_EQ(Named("Uninstall Foo"), Found{});  // a skipped target under no name
    // A DLL that desktop.ini names is read as data, from a fixed drive only:
    // its code never runs, and the shortcut keeps its file name.
    EXPECT_EQ(Named("Evil"), Found{"2:tools\\Evil.exe"});
    EXPECT_EQ(Named("Here"), Found{"2:tools\\Here.exe"});
    EXPECT_EQ(Named("Share"), Found{"2:tools\\Share.exe"});
    for (const char* dll : {"apps\\evil.dll", "evil.dll", "apps\\share.dll"}) {
        EXPECT_FALSE(test::FileExists(folder_.File(dll) + ".ran")) << dll;
    }
    // Right after its target's entry, so that the name is offered and Down
    // reaches the file; the target's entry stays as it was.
    CatalogueEntry* word = l_.catalogue.FindPrefix("w", 1, nullptr);
    ASSERT_NE(word, nullptr);
    EXPECT_STREQ(word->Name(), "Word");
    EXPECT_STREQ(word->next->Name(), "WINWORD2.EXE");
    NameAnswers answers;
    answers.Start(l_.catalogue, "w", 1, nullptr, word);
    int mode;
    EXPECT_STREQ(answers.Step(1, &mode)->Name(), "WINWORD2.EXE");

    // Off, as unless the user writes it: the targets alone, as before.
    Rebuild(0);
    EXPECT_EQ(Named("Word"), Found{});
    EXPECT_EQ(Named("Advertised"), Found{});
    EXPECT_EQ(Named("WINWORD2.EXE"), Found{"0:tools\\WINWORD2.EXE"});
}

TEST_F(ShownNamesTest, StartMenuInternetShortcutsOneEntryForBothMenusAndPackagedApps) {
    // A folder of this test's own in each Start Menu.
    char menus[2][MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_STARTMENU, nullptr, 0, menus[0]), S_OK);
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_COMMON_STARTMENU, nullptr, 0, menus[1]), S_OK);
    std::string ours[2];
    std::string dup = Tool("kwivodup.exe");
    for (int i = 0; i < 2; ++i) {
        ours[i] = std::string(menus[i]) + "\\KwivoTest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(ours[i].c_str(), nullptr);
        ASSERT_TRUE(test::MakeShellLink(ours[i] + "\\Kwivo Dup.lnk", dup));
    }
    test::WriteTextFile(ours[0] + "\\Kwivo Site.url", "[InternetShortcut]\r\nURL=https://example.com/\r\n");
    ListedApps apps;
    apps.apps = {{"Kwivo Calculator", "Kwivo.Calculator_8wekyb3d8bbwe!App"},
                 {"Kwivo Dup", "Kwivo.Dup_8wekyb3d8bbwe!App"},               // named by the Start Menu already
                 {"Kwivo Desktop", "{6D809377-6AF0-444B-8957-A3773F02200E}\\kwivo.exe"},  // a desktop program
                 {"Kwivo NoApp", "Kwivo.NoApp"}};
    l_.apps = &apps;
    Rebuild(1);
    l_.apps = &l_.systemApps;
    for (const std::string& folder : ours) test::RemoveTree(folder);

    EXPECT_EQ(Named("Kwivo Dup"), Found{"2:tools\\kwivodup.exe"});
    EXPECT_EQ(Named("Kwivo Site"), Found{"3:" + ours[0] + "\\Kwivo Site.url"});
    EXPECT_EQ(Named("Kwivo Calculator"), Found{"3:shell:AppsFolder\\Kwivo.Calculator_8wekyb3d8bbwe!App"});
    EXPECT_EQ(Named("Kwivo Desktop"), Found{});
    EXPECT_EQ(Named("Kwivo NoApp"), Found{});
    // After the Start Menus: met before their entries.
    EXPECT_STREQ(l_.catalogue.FindPrefix("kwivo ", 6, nullptr)->Name(), "Kwivo Calculator");
}

// A link with its LinkInfo cut out and its HasLinkInfo flag cleared: only
// its ID list names the target.
bool CutLinkInfo(const std::string& link) {
    std::string bytes = test::ReadTextFile(link);
    if (bytes.size() < 0x4E) return false;
    unsigned int flags;
    memcpy(&flags, &bytes[0x14], 4);
    size_t at = 0x4C;
    if (flags & 1) at += 2 + static_cast<unsigned char>(bytes[at]) + 256u * static_cast<unsigned char>(bytes[at + 1]);
    if (!(flags & 2) || at + 4 > bytes.size()) return false;
    unsigned int size;
    memcpy(&size, &bytes[at], 4);
    bytes.erase(at, size);
    flags &= ~2u;
    memcpy(&bytes[0x14], &flags, 4);
    FILE* f = fopen(link.c_str(), "wb");
    if (!f) return false;
    fwrite(bytes.data(), 1, bytes.size(), f);
    return fclose(f) == 0;
}

TEST_F(ShownNamesTest, ALinkWithoutLinkInfoIsOpenedByTheShellAndItsPickComesBack) {
    ASSERT_TRUE(test::MakeShellLink(folder_.File("apps\\Recorder Link.lnk"), recorder_));
    ASSERT_TRUE(CutLinkInfo(folder_.File("apps\\Recorder Link.lnk")));
    l_.options.rememberPicks = 1;
    Rebuild(1);
    EXPECT_EQ(Named("Recorder Link"), Found{"3:apps\\Recorder Link.lnk"});
    l_.Type("recorder");
    ASSERT_NE(l_.current.entry, nullptr);
    EXPECT_STREQ(l_.completion, " Link");
    l_.OnChar('\r');
    EXPECT_NE(Recorded().find("rec.exe"), std::string::npos);
    // Remembered as that name, not as the link's path alone.
    l_.picks.Load(LauncherWindow::kPicksName);
    l_.input.Clear();
    l_.Type("r");
    ASSERT_NE(l_.current.entry, nullptr);
    EXPECT_STREQ(l_.current.entry->Name(), "Recorder Link");
    EXPECT_NE(test::ReadTextFile(folder_.File("kwivo-picks.txt")).find("Recorder Link.lnk\tRecorder Link\r\n"),
              std::string::npos);
}

TEST_F(ShownNamesTest, AReaderAskingDuringARebuildIsToldTheTextNotAFreedName) {
    test::WriteTextFile(folder_.File("kwivo.ini"), "[aliases]\r\nnotes=C:\\notes.txt\r\n");
    {
        SettingsFile settings("kwivo.ini");
        l_.RebuildCatalogue(settings);
    }
    l_.Type("no");
    ASSERT_NE(l_.completion, nullptr);
    ReadDuringBuild reader(&l_);
    l_.apps = &reader;
    l_.options.names = 1;
    SettingsFile settings("kwivo.ini");
    l_.RebuildCatalogue(settings);
    l_.apps = &l_.systemApps;
    EXPECT_EQ(reader.read, "no");
}

}  // namespace
