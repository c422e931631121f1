#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answers/AliasCommand.h"
#include "support/LaunchTest.h"

#include <shellapi.h>

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

    // A command line takes the words as one argument, started as a program is.
    l_.Type("n my notes.txt");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(2).substr(recorded.size()), recorder_ + "|" + quoted + " \"my notes.txt\"\n");
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

// A command line (UTF-8) split as a started program reads it.
std::vector<std::wstring> Arguments(const std::string& line) {
    wchar_t wide[4096];
    MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide, 4096);
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(wide, &count);
    std::vector<std::wstring> arguments(argv, argv + count);
    LocalFree(argv);
    return arguments;
}

TEST_F(StripAliasWordsTest, WordsReachTheProgramItsTargetNamesAsOneArgumentExactlyAsTyped) {
    // C:\Program.exe beside "C:\Program Files": an unquoted target with a
    // blank still starts the longest path that names a program.
    CreateDirectoryA(folder_.File("Program Files").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(recorder_.c_str(), folder_.File("Program.exe").c_str(), FALSE));
    const std::string program = folder_.File("Program Files\\rec.exe");
    ASSERT_TRUE(CopyFileA(recorder_.c_str(), program.c_str(), FALSE));
    const std::string target = program + " -x %s";
    ASSERT_EQ(l_.catalogue.AddAlias("p", target.c_str()), 1);
    const char* words[] = {
        "say \"hi\" & bye | more",
        "C:\\dir\\ a\\\"b %PATH% ^ !x!",
        "\xF0\x9F\x98\x80 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",  // an emoji, right-to-left text
    };
    // The command line each makes, read back as the program reads it.
    for (const char* typed : words) {
        AliasCommand command;
        ASSERT_EQ(command.Make(target.c_str(), typed), 1) << typed;
        std::vector<std::wstring> arguments = Arguments(command.line);
        wchar_t expected[256];
        MultiByteToWideChar(CP_UTF8, 0, typed, -1, expected, 256);
        ASSERT_EQ(arguments.size(), 3u) << command.line;
        EXPECT_EQ(arguments[1], L"-x");
        EXPECT_EQ(arguments[2], expected) << typed;
    }
    // And one started from the strip: that program, those words.
    l_.OnPasteText((std::string("p ") + words[0]).c_str());
    l_.OnChar('\r');
    std::string recorded = Recorded(1);
    EXPECT_EQ(recorded.rfind(program + "|", 0), 0u) << recorded;
    std::string line = recorded.substr(recorded.find('|') + 1);
    std::vector<std::wstring> arguments = Arguments(line.substr(0, line.find('\n')));
    ASSERT_EQ(arguments.size(), 3u) << recorded;
    EXPECT_EQ(arguments[2], L"say \"hi\" & bye | more");
}

TEST_F(StripAliasWordsTest, WhatTheStripShowsIsWhatEnterDoes) {
    const std::string quoted = "\"" + recorder_ + "\"";
    ClassKey https("https\\shell\\open\\command", quoted + " \"%1\"");
    ASSERT_EQ(l_.catalogue.AddAlias("z", "https://search.kwivo.example/?q=%s"), 1);
    test::WriteTextFile(folder_.File("run.bat"), "@echo off\r\n");
    ASSERT_EQ(l_.catalogue.AddAlias("b", (folder_.File("run.bat") + " %s").c_str()), 1);
    ASSERT_EQ(l_.catalogue.AddAlias("here", "rec %s"), 1);  // rec.exe only in the current folder
    ASSERT_TRUE(CopyFileA(recorder_.c_str(), folder_.File("rec.exe").c_str(), FALSE));

    // Words ending in " /s" are the alias's, never the rescan command.
    l_.Type("z regex /s");
    l_.OnChar('\r');
    EXPECT_NE(Recorded(1).find("q=regex%20%2Fs"), std::string::npos);
    EXPECT_EQ(GetPrivateProfileStringA("folders", nullptr, "", nullptr, 0, ".\\kwivo.ini"), 0u);

    // The name alone: nothing in place of %s.
    l_.Type("z");
    l_.OnChar('\r');
    std::string recorded = Recorded(2);
    EXPECT_NE(recorded.find("?q=\""), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("%s"), std::string::npos);

    // A batch file with words that cmd.exe would read as a second command,
    // or a bare name that only the current folder holds: refused, the text
    // stays.
    for (const char* text : {"b a & calc", "b 100%", "here x"}) {
        l_.input.Clear();
        l_.Type(text);
        l_.OnChar('\r');
        EXPECT_STREQ(l_.input.text, text);
    }
    EXPECT_EQ(Recorded(2), recorded);
}

TEST_F(StripAliasWordsTest, AnAliasNameWithABlankIsRefusedWhenItTakesWords) {
    char section[] = "my s=https://s.example/?q=%s\0my page=https://s.example/\0";
    l_.catalogue.AddAliases(section);
    EXPECT_EQ(l_.catalogue.FindAlias("my", 2), nullptr);
    EXPECT_EQ(l_.catalogue.FindAlias("my s", 4), nullptr);
    EXPECT_NE(l_.catalogue.FindAlias("my page", 7), nullptr);
}

}  // namespace
