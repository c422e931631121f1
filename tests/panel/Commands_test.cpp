#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "catalogue/CatalogueBuild.h"
#include "settings/SettingsFile.h"
#include "support/LaunchTest.h"
#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace {

using test::TestLauncher;

// Each case runs in a folder of its own, with the recorder program at hand.
typedef test::LaunchTest CommandsTest;
using test::ClassKey;

TEST_F(CommandsTest, EnterOnNothingDismisses) {
    l_.OnChar('\r');
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, LaunchesACatalogueEntryQuotedEvenWithBlanks) {
    // Unquoted, "...\My Tools\rec.exe" would start this "...\My.exe" first.
    ASSERT_TRUE(CopyFileA(recorder_.c_str(), folder_.File("My.exe").c_str(), FALSE));
    l_.catalogue.Add(recorder_.c_str());
    l_.Type("re");
    ASSERT_STREQ(l_.completion, "c.exe");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(), recorder_ + "|\"" + recorder_ + "\"\n");
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, LaunchesADocumentWithItsProgram) {
    l_.catalogue.Add(recorder_.c_str());
    CatalogueEntry* program = l_.catalogue.head;
    std::string plan = folder_.File("plan.doc");
    test::WriteTextFile(plan, "doc");
    l_.catalogue.Add(plan.c_str());
    l_.catalogue.Associate(".doc", 4, program);
    l_.Type("PLAN");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(), recorder_ + "|\"" + recorder_ + "\" \"" + plan + "\"\n");
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, FailedLaunchLeavesEverythingAsItWas) {
    l_.catalogue.Add("C:\\nowhere\\missing.exe");
    l_.Type("miss");
    const char* completion = l_.completion;
    l_.OnChar('\r');
    EXPECT_STREQ(l_.input.text, "miss");
    EXPECT_EQ(l_.completion, completion);
    EXPECT_FALSE(l_.TimerRunning(LauncherWindow::kSlideTimer));
    EXPECT_TRUE(IsWindowVisible(l_.hwnd));
    l_.OnChar('\r');  // Enter again tries again, still in vain
    EXPECT_STREQ(l_.input.text, "miss");
}

TEST_F(CommandsTest, ShellOpensTheCompletedText) {
    ClassKey extension(".kwivotest", "KwivoTest.File");
    ClassKey command("KwivoTest.File\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
    std::string doc = folder_.File("report.kwivotest");
    test::WriteTextFile(doc, "x");
    l_.Type((folder_.Path() + "\\rep").c_str());
    ASSERT_STREQ(l_.completion, "ort.kwivotest");
    l_.OnChar('\r');
    EXPECT_NE(Recorded().find("\"" + doc + "\""), std::string::npos);
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, ATextEndingInABackslashOpensThatFolder) {
    ClassKey folderClass("Folder\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
    ClassKey directoryClass("Directory\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
    l_.Type((folder_.Path() + "\\My Tools\\").c_str());
    ASSERT_STREQ(l_.completion, "rec.exe");
    l_.OnChar('\r');
    std::string recorded = Recorded();
    EXPECT_NE(recorded.find(folder_.Path() + "\\My Tools"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("rec.exe\"\n"), std::string::npos) << recorded;
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, UnknownTextGoesToTheShellAsTyped) {
    l_.Type("no-such-program-kwivo");
    l_.OnChar('\r');
    EXPECT_TRUE(Dismissed());  // whatever the shell made of it
}

TEST_F(CommandsTest, FolderSuffixAddsTheFolderAndRescans) {
    CreateDirectoryA(folder_.File("Extra").c_str(), nullptr);
    CreateDirectoryA(folder_.File("Extra\\Sub").c_str(), nullptr);
    test::WriteTextFile(folder_.File("Extra\\kwivotool.exe"), "MZ");
    test::WriteTextFile(folder_.File("Extra\\Sub\\kwivodeep.exe"), "MZ");
    std::string extra = folder_.File("Extra");
    l_.Type((extra + " /s").c_str());
    l_.OnChar('\r');
    EXPECT_EQ(GetPrivateProfileIntA("folders", extra.c_str(), -1, folder_.File("kwivo.ini").c_str()), 1);
    EXPECT_NE(l_.catalogue.FindPrefix("kwivotool", 9, nullptr), nullptr);
    EXPECT_EQ(l_.catalogue.FindPrefix("kwivodeep", 9, nullptr), nullptr);  // its own files only
    EXPECT_TRUE(Dismissed());

    // A capital S too; a folder listed already gets the value 1 again.
    WritePrivateProfileStringA("folders", extra.c_str(), "5", folder_.File("kwivo.ini").c_str());
    l_.Type((extra + " /S").c_str());
    l_.OnChar('\r');
    EXPECT_EQ(GetPrivateProfileIntA("folders", extra.c_str(), -1, folder_.File("kwivo.ini").c_str()), 1);

    // " /s" alone is no folder; a pasted line break makes none either.
    l_.input.Clear();
    l_.OnPasteText((extra + "\r\n[hotkey]\r\nvk=0 /s").c_str());
    l_.OnChar('\r');
    EXPECT_EQ(GetPrivateProfileIntA("hotkey", "vk", -1, folder_.File("kwivo.ini").c_str()), -1);
}

TEST_F(CommandsTest, FoldersThatWouldNotReadBackAsAKeyAreRefused) {
    // A leading "[" would open a section (losing the hot key below it), a
    // leading ";" would make a comment, a control character a broken key.
    const std::string ini = folder_.File("kwivo.ini");
    const char settings[] = "[hotkey]\r\nvk=75\r\n";
    test::WriteTextFile(ini, settings);
    for (const char* folder : {"[hotkey]x", "  [ui]", ";C:\\Tools", "C:\\a\tb", "C:\\a\x1f"}) {
        std::string typed = std::string(folder) + " /s";
        l_.input.Clear();
        l_.OnPasteText(typed.c_str());
        l_.OnChar('\r');
        EXPECT_EQ(test::ReadTextFile(ini), settings) << folder;
        EXPECT_EQ(std::string(l_.input.text), typed) << folder;
        EXPECT_FALSE(l_.TimerRunning(LauncherWindow::kSlideTimer)) << folder;
    }
}

TEST_F(CommandsTest, AFolderThatCannotBeWrittenIsNotAdded) {
    // Read-only settings: the strip and the text stay, as for a refused
    // folder, instead of going as if the folder had been added.
    const std::string ini = folder_.File("kwivo.ini");
    test::WriteTextFile(ini, "[ui]\r\nslidespeed=100\r\n");
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string typed = folder_.Path() + " /s";
    l_.Type(typed.c_str());
    l_.OnChar('\r');
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::ReadTextFile(ini), "[ui]\r\nslidespeed=100\r\n");
    EXPECT_EQ(std::string(l_.input.text), typed);
    EXPECT_FALSE(l_.TimerRunning(LauncherWindow::kSlideTimer));
}

TEST_F(CommandsTest, SlashCommandsAreWholeLettersAnyCase) {
    l_.Type("/x /s");
    l_.OnChar('\r');
    EXPECT_STREQ(l_.input.text, "/x /s");  // a command, unknown: nothing happens
    EXPECT_FALSE(l_.TimerRunning(LauncherWindow::kSlideTimer));
    EXPECT_FALSE(test::FileExists(folder_.File("kwivo.ini")));
    for (const char* unknown : {"/q ", "/quit", "/ q"}) {
        l_.input.Clear();
        l_.Type(unknown);
        l_.OnChar('\r');
        EXPECT_STREQ(l_.input.text, unknown);
        EXPECT_TRUE(IsWindow(l_.hwnd));
    }
    l_.input.Clear();
    l_.runs = 9;
    l_.Type("/Q");
    l_.OnChar('\r');
    EXPECT_FALSE(IsWindow(l_.hwnd));
    EXPECT_EQ(l_.destroys, 1);
    EXPECT_EQ(GetPrivateProfileIntA("misc", "runs", -1, folder_.File("kwivo.ini").c_str()), 9);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(CommandsTest, SlashTogglesTheInformationView) {
    l_.Type("/");
    l_.OnChar('\r');
    EXPECT_EQ(l_.infoVisible, 1);
    EXPECT_EQ(l_.growTarget, LauncherWindow::kExpandedHeight);
    EXPECT_EQ(l_.input.length, 0);
    EXPECT_FALSE(l_.TimerRunning(LauncherWindow::kSlideTimer));  // the strip stays
    l_.Type("/?anything");
    l_.OnChar('\r');
    EXPECT_EQ(l_.growTarget, LauncherWindow::kStripHeight);
    EXPECT_EQ(l_.input.length, 0);
}

TEST_F(CommandsTest, RescanFindsNewFiles) {
    CreateDirectoryA(folder_.File("Tools").c_str(), nullptr);
    WritePrivateProfileStringA("folders", folder_.File("Tools").c_str(), "1",
                               folder_.File("kwivo.ini").c_str());
    test::WriteTextFile(folder_.File("Tools\\kwivonew.exe"), "MZ");
    EXPECT_EQ(l_.catalogue.FindPrefix("kwivonew", 8, nullptr), nullptr);
    l_.Type("/r");
    l_.OnChar('\r');
    EXPECT_NE(l_.catalogue.FindPrefix("kwivonew", 8, nullptr), nullptr);
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, WebPageAndDocumentsGoToTheShell) {
    std::string handler = "\"" + recorder_ + "\" \"%1\"";
    ClassKey https("https\\shell\\open\\command", handler);
    ClassKey folderClass("Folder\\shell\\open\\command", handler);
    ClassKey directoryClass("Directory\\shell\\open\\command", handler);
    l_.Type("/W");
    l_.OnChar('\r');
    EXPECT_NE(Recorded(1).find("https://"), std::string::npos);
    EXPECT_TRUE(Dismissed());

    char documents[kPathBytes];
    ASSERT_EQ(CatalogueBuild::ResolveFolderToken(documents, "$0x0005"), 1);
    l_.Type("/m");
    l_.OnChar('\r');
    EXPECT_NE(Recorded(2).find(documents), std::string::npos);
    EXPECT_TRUE(Dismissed());
}

TEST_F(CommandsTest, SlashEOpensKwivoIniForEditingAndCreatesItFirstWithEverySettingCommentedOut) {
    // The shell's "edit" of an .ini file goes to the recorder here.
    ClassKey edit("inifile\\shell\\edit\\command", "\"" + recorder_ + "\" \"%1\"");
    const std::string ini = folder_.File("kwivo.ini");
    l_.Type("/e");
    l_.OnChar('\r');
    EXPECT_NE(Recorded().find("kwivo.ini"), std::string::npos);
    EXPECT_TRUE(Dismissed());
    // UTF-16LE with its mark, so that any script typed into it is kept, and
    // nothing set: every line a comment, a section or empty.
    std::string bytes = test::ReadTextFile(ini);
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += bytes[i + 1] ? '?' : bytes[i];
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        EXPECT_TRUE(text[at] == ';' || text[at] == '[' || text[at] == '\r') << text.substr(at, 40);
        if (text.find('\n', at) == std::string::npos) break;
    }
    EXPECT_NE(text.find(";switch=1"), std::string::npos);

    // An existing kwivo.ini is opened as it is.
    test::WriteTextFile(ini, "[ui]\r\nslidespeed=7\r\n");
    l_.Type("/E");
    l_.OnChar('\r');
    Recorded(2);
    EXPECT_EQ(test::ReadTextFile(ini), "[ui]\r\nslidespeed=7\r\n");

    // A folder of that name is no settings file to open: refused, the text
    // kept.
    DeleteFileA(ini.c_str());
    ASSERT_TRUE(CreateDirectoryA(ini.c_str(), nullptr));
    l_.Type("/e");
    l_.OnChar('\r');
    EXPECT_FALSE(Dismissed());
    EXPECT_STREQ(l_.input.text, "/e");
    RemoveDirectoryA(ini.c_str());
}

TEST_F(CommandsTest, EnterOnAListedNameDeletedSinceOpensNothingAndTheFolderIsSearchedAgain) {
    test::WriteTextFile(folder_.File("alpha.txt"), "x");
    test::WriteTextFile(folder_.File("alps.txt"), "x");
    std::string base = folder_.Path() + "\\";
    l_.OnPasteText((base + "a").c_str());
    while (l_.folderListing.Continue(LauncherWindow::kListingSliceMs)) {
    }
    l_.OnChar('l');
    ASSERT_STREQ(strrchr(l_.completionPath, '\\') + 1, "alpha.txt");
    ASSERT_TRUE(DeleteFileA(folder_.File("alpha.txt").c_str()));
    l_.OnChar('\r');
    EXPECT_EQ(l_.input.text, base + "al");  // nothing opened: the text stays
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_STREQ(strrchr(l_.completionPath, '\\') + 1, "alps.txt");
}

}  // namespace
