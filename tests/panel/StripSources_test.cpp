#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/SettingsFile.h"
#include "support/LaunchTest.h"

namespace {

const std::string kSeparator = LauncherWindow::kWordMatchSeparator;

class StripSourcesTest : public test::LaunchTest {
protected:
    void SetUp() override {
        LaunchTest::SetUp();
        program_ = folder_.File("My Tools\\source.exe");
        ASSERT_TRUE(CopyFileA(test::Beside("sourceprogram.exe").c_str(), program_.c_str(), FALSE));
    }
    void TearDown() override {
        SetEnvironmentVariableA("KWIVO_SOURCE_OUTPUT", nullptr);
        SetEnvironmentVariableA("KWIVO_SOURCE_THEN", nullptr);
    }
    // The source "s", the test's program with the words in place.
    void UseProgram(const std::string& program = "") {
        std::string line = "s=\"" + (program.empty() ? program_ : program) + "\" %s";
        line.push_back('\0');
        line.push_back('\0');
        l_.sources.Take(line.data());
    }
    // The launcher's wait, as its message loop waits, until done() holds.
    template <typename Done>
    bool Loop(Done done) {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > 20000) return false;
            const HANDLE* handles = nullptr;
            DWORD count = static_cast<DWORD>(l_.GetWaitHandles(&handles));
            DWORD woken = MsgWaitForMultipleObjectsEx(count, handles, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woken < WAIT_OBJECT_0 + count) {
                l_.OnHandleSignalled(static_cast<int>(woken - WAIT_OBJECT_0));
            } else {
                test::PumpMessages();
            }
        }
        return true;
    }
    // The run of the text typed: started once the typing paused, and ended.
    bool RunEnds() {
        return Loop([&] { return !l_.sourceRun.Running() && !Pending(); });
    }
    bool Pending() { return l_.TimerRunning(LauncherWindow::kSourceStartTimer); }
    // The text typed anew (pasted: UTF-8 as it stands).
    void TypeAnew(const std::string& text) {
        l_.input.Clear();
        l_.input.PutText(text.c_str());
        l_.UpdateCompletion();
    }
    // The ids of the processes recorded as started ("start" and "child").
    std::vector<DWORD> Started() {
        std::vector<DWORD> ids;
        std::string text = test::ReadTextFile(record_);
        for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
            unsigned long id = 0;
            if (sscanf(text.c_str() + at, "start %lu", &id) == 1 || sscanf(text.c_str() + at, "child %lu", &id) == 1) {
                ids.push_back(id);
            }
            if (text.find('\n', at) == std::string::npos) break;
        }
        return ids;
    }
    std::string Shown() { return l_.completion ? l_.completion : ""; }
    // The process ends (it has, when null) while the launcher's loop goes on.
    bool Ends(HANDLE process) {
        if (!process) return true;
        bool ended = Loop([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
        CloseHandle(process);
        return ended;
    }
    // The next part's source: what it prints and does then. It gets files
    // of its own, as a process ended before may still be at the old ones.
    void NextPart(const std::string& printed, const char* then = nullptr) {
        static int parts = 0;
        const std::string part = std::to_string(++parts);
        record_ = folder_.File("record" + part + ".txt");
        output_ = folder_.File("output" + part + ".txt");
        test::WriteTextFile(output_, printed);
        SetEnvironmentVariableA("KWIVO_RECORD", record_.c_str());
        SetEnvironmentVariableA("KWIVO_SOURCE_OUTPUT", output_.c_str());
        SetEnvironmentVariableA("KWIVO_SOURCE_THEN", then);
    }

    std::string program_;
    std::string output_;
};

// Opened before the key that is to end it; one that has ended and is gone
// already cannot be opened (null).
HANDLE Open(DWORD id) {
    return OpenProcess(SYNCHRONIZE, FALSE, id);
}

TEST_F(StripSourcesTest, WhatASourcePrintsIsTheAnswersThatEveryKeyWalks) {
    // Read from kwivo.ini by a build, as the user writes it.
    test::WriteTextFile(folder_.File("kwivo.ini"), "[sources]\ns = \"" + program_ + "\" %s\n[ui]\nlist=3\n");
    SettingsFile settings(LauncherWindow::kSettingsName);
    l_.options.listRows = 3;
    l_.RebuildCatalogue(settings);
    const std::string notes = "\"" + recorder_ + "\" \"my notes.txt\"";
    std::string printed = "Notes\t" + notes + "\tthe notes\r\n";
    printed += std::string("caf\xC3\xA9 \xFF") + '\0' + "x\tC:\\Nowhere\\file.txt\n";
    printed += "https://kwivo.example/only\n\ntitle without a target\t\nlast line without a break";
    NextPart(printed);

    l_.Type("S hello");
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Started().size(), 1u);  // once the typing paused, not per key
    EXPECT_EQ(Shown(), kSeparator + "Notes");
    ASSERT_EQ(l_.answers.Count(), 4);
    EXPECT_EQ(l_.ListRows(), 3);
    char name[kPathBytes];
    char leads[kPathBytes];
    const char* expected[][2] = {{"Notes", "the notes"},
                                 {"caf\xC3\xA9 \xEF\xBF\xBD\xEF\xBF\xBDx", "C:\\Nowhere\\file.txt"},
                                 {"https://kwivo.example/only", "https://kwivo.example/only"},
                                 {"last line without a break", "last line without a break"}};
    for (int row = 0; row < 4; ++row) {
        Answer answer;
        ASSERT_TRUE(l_.answers.At(row, &answer));
        l_.answers.Describe(answer, name, leads);
        EXPECT_STREQ(name, expected[row][0]);
        EXPECT_STREQ(leads, expected[row][1]);
    }
    // Tab takes no title; Down and Up walk the lines.
    l_.OnChar('\t');
    EXPECT_STREQ(l_.input.text, "S hello");
    l_.OnKeyDown(VK_DOWN);
    EXPECT_EQ(Shown(), kSeparator + expected[1][0]);
    EXPECT_EQ(l_.ListCurrent(), 1);
    l_.OnKeyDown(VK_UP);
    EXPECT_EQ(Shown(), kSeparator + "Notes");

    // Enter opens the target: here a command line, its program found.
    size_t before = test::ReadTextFile(record_).size();
    l_.OnChar('\r');
    EXPECT_TRUE(Dismissed());
    EXPECT_EQ(l_.sourceRun.output.Count(), 0);
    std::string recorded = Recorded(3).substr(before);
    EXPECT_EQ(recorded, recorder_ + "|" + notes + "\n");

    // An address goes to the shell (which hands https to the recorder here).
    test::ClassKey https("https\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
    l_.Type("s again");
    ASSERT_TRUE(RunEnds());
    l_.OnKeyDown(VK_UP);
    l_.OnKeyDown(VK_UP);
    EXPECT_EQ(Shown(), kSeparator + "https://kwivo.example/only");
    l_.OnChar('\r');
    EXPECT_TRUE(Dismissed());
    EXPECT_NE(Recorded(6).find("https://kwivo.example/only"), std::string::npos);
}

TEST_F(StripSourcesTest, WordsReachTheProgramAsOneArgumentAndABatchFileOnlyInItsEnvironment) {
    UseProgram();
    const char* words[] = {
        "say \"hi\" & calc | more % ^ ! (x)",
        "C:\\ends in a backslash\\",
        "\\\\server\\\"quoted\\\\\"",
        "\xF0\x9F\x98\x80 \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7",
    };
    for (const char* typed : words) {
        NextPart("");
        TypeAnew(std::string("s ") + typed);
        ASSERT_TRUE(RunEnds()) << typed;
        std::string record = test::ReadTextFile(record_);
        EXPECT_EQ(record.substr(record.find(' ', 6) + 1, record.find('\n') - record.find(' ', 6) - 1),
                  std::string("1 ") + typed + "\t" + typed);
    }

    // A batch file's command line gets nothing of the words, however they
    // read: an "&" starts no second command (which would be recorded).
    const std::string batch = folder_.File("My Tools\\source.cmd");
    test::WriteTextFile(batch, "@\"" + program_ + "\" %*\r\n");
    UseProgram(batch);
    NextPart("");
    const std::string attack = "x\" & \"" + program_ + "\" second & echo %PATH% !x!";
    TypeAnew("s " + attack);
    ASSERT_TRUE(RunEnds());
    std::string record = test::ReadTextFile(record_);
    EXPECT_EQ(Started().size(), 1u) << record;
    EXPECT_NE(record.find(" 0 \t" + attack + "\n"), std::string::npos) << record;
}

TEST_F(StripSourcesTest, TheSampleBatchSourceListsProgramsToEndAndRunsNothingOfTheWords) {
    // The task list as tasklist prints it: cmd finds this one in the
    // current folder first.
    test::WriteTextFile(folder_.File("tasklist.bat"),
                        "@echo off\r\necho \"note pad.exe\",\"1234\",\"Console\",\"1\",\"9 K\"\r\n"
                        "echo \"other.exe\",\"99\",\"Console\",\"1\",\"9 K\"\r\n");
    UseProgram(KWIVO_SAMPLE_SOURCES "\\processes.cmd");
    NextPart("");
    TypeAnew("s ");
    ASSERT_TRUE(RunEnds());
    ASSERT_EQ(l_.answers.Count(), 2);
    Answer answer;
    char name[kPathBytes];
    char leads[kPathBytes];
    char target[kPathBytes];
    ASSERT_TRUE(l_.answers.At(0, &answer));
    l_.answers.Describe(answer, name, leads);
    ASSERT_TRUE(l_.answers.TargetOf(answer, target));
    EXPECT_STREQ(name, "note pad.exe");
    EXPECT_STREQ(target, "taskkill /pid 1234 /t /f");
    EXPECT_STREQ(leads, "end process 1234");

    // Words that would be a second command on a command line start none.
    TypeAnew("s x & \"" + program_ + "\"");
    ASSERT_TRUE(RunEnds());
    EXPECT_TRUE(Started().empty()) << test::ReadTextFile(record_);
}

TEST_F(StripSourcesTest, NoSourceHoldsTheStripOrOutlivesTheNextKeyOrItsTime) {
    UseProgram();
    // One that never ends: the next key ends it, another source's run or
    // not (Backspace back to the name alone).
    NextPart("", "wait");
    l_.Type("s a");
    ASSERT_TRUE(Loop([&] { return Started().size() == 1; }));
    HANDLE first = Open(Started()[0]);
    ASSERT_NE(first, nullptr);
    l_.Type("b");
    EXPECT_TRUE(Ends(first));
    ASSERT_TRUE(Loop([&] { return Started().size() == 2; }));
    HANDLE second = Open(Started()[1]);
    ASSERT_NE(second, nullptr);
    TypeAnew("s");
    EXPECT_TRUE(Ends(second));
    EXPECT_FALSE(l_.sourceRun.Running());

    // A run started before the last one's processes were ended (their
    // timer came late) is not ended with them.
    NextPart("next\n", "wait");
    TypeAnew("s n");
    ASSERT_TRUE(Loop([&] { return Started().size() == 1; }));
    l_.Type("m");
    l_.StartSource();
    ASSERT_TRUE(Loop([&] { return Started().size() == 2 && l_.answers.Count() == 1; }));
    EXPECT_TRUE(l_.sourceRun.Running());

    // One that starts a process holding its output open and ends: what it
    // started ends with it, and its answers come without waiting for time.
    NextPart("from the parent\n", "child");
    TypeAnew("s c");
    ASSERT_TRUE(Loop([&] { return Started().size() == 2; }));
    HANDLE child = Open(Started()[1]);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Shown(), kSeparator + "from the parent");
    EXPECT_TRUE(Ends(child));

    // One that prints and then hangs: ended at its time, the strip says so,
    // and what it printed stays to be walked.
    NextPart("before the hang\n", "wait");
    TypeAnew("s h");
    ASSERT_TRUE(Loop([&] { return Started().size() == 1; }));
    HANDLE hung = Open(Started()[0]);
    ASSERT_NE(hung, nullptr);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Shown(), kSeparator + "source timed out");
    EXPECT_TRUE(Ends(hung));
    l_.OnChar('\r');  // nothing on display: nothing is opened
    EXPECT_STREQ(l_.input.text, "s h");
    l_.OnKeyDown(VK_DOWN);
    EXPECT_EQ(Shown(), kSeparator + "before the hang");

    // Too much: 100 MB in lines, a line of a megabyte. Only what fits is
    // read, cut at a whole line, and the program is ended.
    NextPart("", "flood");
    TypeAnew("s f");
    ASSERT_TRUE(Loop([&] { return Started().size() == 1; }));
    HANDLE flood = Open(Started()[0]);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(l_.answers.Count(), SourceOutput::kMaxLines);
    EXPECT_TRUE(Ends(flood));
    NextPart("short\n" + std::string(1 << 20, 'x') + "\nafter\n");
    TypeAnew("s l");
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(l_.answers.Count(), 1);
    EXPECT_EQ(Shown(), kSeparator + "short");

    // One that reads its standard input: it is empty, not the launcher's.
    NextPart("", "stdin");
    TypeAnew("s i");
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Shown(), kSeparator + "stdin held 0 bytes");

    // One that fails at once, printing nothing: no answer, nothing runs.
    NextPart("", "fail");
    TypeAnew("s e");
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(l_.answers.Count(), 0);
    EXPECT_EQ(l_.completion, nullptr);

    // One that is not there: said after the text.
    UseProgram("C:\\Nowhere\\none.exe");
    TypeAnew("s x");
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Shown(), kSeparator + "can't start \"C:\\Nowhere\\none.exe\"");
}

}  // namespace
