// Enter on the entry on display, remembered picks, aliases and Ctrl+Enter,
// with the recorder standing in for the programs and the shell.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LaunchTest.h"

namespace {

using test::ClassKey;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Two programs of one name in the catalogue: the recorder, then (added last,
// so the first match) a copy of it in another folder.
class KeyActionsTest : public test::LaunchTest {
protected:
    std::string AddTwoRecorders() {
        CreateDirectoryA(folder_.File("Other").c_str(), nullptr);
        std::string other = folder_.File("Other\\rec.exe");
        CopyFileA(recorder_.c_str(), other.c_str(), FALSE);
        l_.catalogue.Add(recorder_.c_str());
        l_.catalogue.Add(other.c_str());
        return other;
    }
};

TEST_F(KeyActionsTest, EnterStartsTheEntryOnDisplayEvenAfterTab) {
    // The first match, then the one stepped to.
    std::string other = AddTwoRecorders();
    l_.Type("re");
    ASSERT_STREQ(l_.current.entry->path, other.c_str());
    l_.OnKeyDown(VK_DOWN);
    l_.OnChar('\t');
    ASSERT_STREQ(l_.input.text, "rec.exe");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(), recorder_ + "|" + Quoted(recorder_) + "\n");
    EXPECT_TRUE(Dismissed());
}

TEST_F(KeyActionsTest, ALaunchRemembersThePickWhichTheNextStartOffers) {
    std::string other = AddTwoRecorders();
    l_.options.rememberPicks = 1;
    l_.Type("r");
    l_.OnKeyDown(VK_DOWN);
    l_.OnChar('\t');  // the pick is kept under what was typed before Tab
    l_.OnChar('\r');
    ASSERT_EQ(Recorded(), recorder_ + "|" + Quoted(recorder_) + "\n");
    const std::string picksFile = folder_.File(LauncherWindow::kPicksName);
    EXPECT_EQ(test::ReadTextFile(picksFile), "r\t" + recorder_ + "\r\n");
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 0);

    // As at the next start: read back, and offered for "re" through "r".
    l_.picks.Parse("", 0);
    ASSERT_EQ(l_.picks.Load(LauncherWindow::kPicksName), 1);
    l_.Type("re");
    EXPECT_STREQ(l_.current.entry->path, recorder_.c_str());
    l_.OnKeyDown(VK_DOWN);  // and stepping goes on from it
    EXPECT_STREQ(l_.current.entry->path, other.c_str());
}

TEST_F(KeyActionsTest, APicksFileThatCannotBeWrittenLeavesTheLaunchAndTheOldFile) {
    const std::string picksFile = folder_.File(LauncherWindow::kPicksName);
    test::WriteTextFile(picksFile, "old\tC:\\old.exe\r\n");
    ASSERT_TRUE(SetFileAttributesA(picksFile.c_str(), FILE_ATTRIBUTE_READONLY));
    l_.catalogue.Add(recorder_.c_str());
    l_.options.rememberPicks = 1;
    l_.Type("rec");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(), recorder_ + "|" + Quoted(recorder_) + "\n");
    EXPECT_TRUE(Dismissed());
    EXPECT_EQ(test::ReadTextFile(picksFile), "old\tC:\\old.exe\r\n");
}

TEST_F(KeyActionsTest, APicksFileHeldByAnotherProgramAtStartIsReadBeforeItIsWritten) {
    // A backup tool holds the file while Kwivo starts: its picks are not
    // known, so a launch writes nothing over them; once it is free, the
    // next launch reads it and adds its pick.
    const std::string picksFile = folder_.File(LauncherWindow::kPicksName);
    test::WriteTextFile(picksFile, "old\tC:\\old.exe\r\n");
    HANDLE held = CreateFileA(picksFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    l_.options.rememberPicks = 1;
    EXPECT_EQ(l_.picks.Load(LauncherWindow::kPicksName), 0);
    l_.catalogue.Add(recorder_.c_str());
    l_.Type("rec");
    l_.OnChar('\r');
    ASSERT_EQ(Recorded(), recorder_ + "|" + Quoted(recorder_) + "\n");
    CloseHandle(held);
    EXPECT_EQ(test::ReadTextFile(picksFile), "old\tC:\\old.exe\r\n");

    l_.Type("re");
    l_.OnChar('\r');
    const std::string started = recorder_ + "|" + Quoted(recorder_) + "\n";
    ASSERT_EQ(Recorded(2), started + started);
    EXPECT_EQ(test::ReadTextFile(picksFile), "old\tC:\\old.exe\r\nre\t" + recorder_ + "\r\n");
}

// What would be spoken, where Windows has UI Automation's notifications.
class HeardAnnouncer : public Announcer {
public:
    int Announce(HWND, const char* text) override {
        heard.push_back(text);
        return 1;
    }
    std::vector<std::string> heard;
};

TEST_F(KeyActionsTest, DownAndUpAnnounceTheNameOnDisplayWithItsPlaceAmongTheMatches) {
    HeardAnnouncer announcer;
    l_.announcer = &announcer;
    for (const char* name : {"ka1.exe", "ka2.exe", "ka3.exe"}) l_.catalogue.Add((folder_.File(name)).c_str());
    l_.Type("ka");  // ka3.exe, added last, first; typing announces nothing
    EXPECT_TRUE(announcer.heard.empty());
    for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP}) l_.OnKeyDown(key);
    EXPECT_EQ(announcer.heard, (std::vector<std::string>{"ka2.exe, 2 of 3", "ka1.exe, 3 of 3", "ka3.exe, 1 of 3",
                                                           "ka1.exe, 3 of 3"}));
    l_.announcer = &l_.systemAnnouncer;
}

TEST_F(KeyActionsTest, AnAliasStartsAFileAsAProcessAndAnythingElseThroughTheShell) {
    ClassKey https("https\\shell\\open\\command", Quoted(recorder_) + " \"%1\"");
    ASSERT_EQ(l_.catalogue.AddAlias("rr", recorder_.c_str()), 1);
    ASSERT_EQ(l_.catalogue.AddAlias("web", "https://mail.kwivo.example/?a=b"), 1);
    l_.Type("r");
    l_.OnChar('\r');
    EXPECT_EQ(Recorded(1), recorder_ + "|" + Quoted(recorder_) + "\n");
    l_.Type("we");
    l_.OnChar('\r');
    std::string recorded = Recorded(2);
    EXPECT_NE(recorded.find("https://mail.kwivo.example/?a=b"), std::string::npos) << recorded;
    EXPECT_TRUE(Dismissed());

    // A path that is not there starts nothing: the strip and the text stay.
    KillTimer(l_.hwnd, LauncherWindow::kSlideTimer);
    ASSERT_EQ(l_.catalogue.AddAlias("gone", folder_.File("gone\\tool.exe").c_str()), 1);
    l_.Type("gon");
    l_.OnChar('\r');
    EXPECT_STREQ(l_.input.text, "gon");
    EXPECT_FALSE(l_.TimerRunning(LauncherWindow::kSlideTimer));
    EXPECT_EQ(Recorded(2), recorded);
}

// Holds one or two keys down in the thread's keyboard state, as GetKeyState
// sees them, until the object goes.
class HeldKeys {
public:
    explicit HeldKeys(int key, int other = 0) : keys_{key, other} { Set(0x80); }
    ~HeldKeys() { Set(0); }

private:
    void Set(BYTE state) {
        BYTE keys[256];
        GetKeyboardState(keys);
        for (int key : keys_) {
            if (key) keys[key] = state;
        }
        SetKeyboardState(keys);
    }
    int keys_[2];
};

TEST_F(KeyActionsTest, CtrlEnterIsTypedUnlessTurnedOnThenOpensOrElevates) {
    std::string doc = folder_.File("plan.kwivotest");
    test::WriteTextFile(doc, "x");
    l_.catalogue.Add(doc.c_str());
    l_.Type("pla");
    {
        HeldKeys ctrl(VK_CONTROL);
        l_.OnKeyDown(VK_RETURN);  // off: the key does nothing, its character is typed
        l_.OnChar('\n');
    }
    EXPECT_EQ(l_.input.length, 4);
    EXPECT_EQ(l_.completion, nullptr);

    // Ctrl+Shift+Enter, which gives no character: the "runas" verb of the
    // entry on display.
    ClassKey extension(".kwivotest", "KwivoTest.File");
    ClassKey runas("KwivoTest.File\\shell\\runas\\command", Quoted(recorder_) + " runas \"%1\"");
    l_.options.ctrlEnter = 1;
    l_.input.Clear();
    l_.Type("pla");
    {
        HeldKeys ctrlShift(VK_CONTROL, VK_SHIFT);
        l_.OnKeyDown(VK_RETURN);
    }
    EXPECT_EQ(Recorded(), recorder_ + "|" + Quoted(recorder_) + " runas " + Quoted(doc) + "\n");
    EXPECT_TRUE(Dismissed());

    // Enter without Ctrl is left to its character.
    l_.Type("pla");
    l_.OnKeyDown(VK_RETURN);
    EXPECT_EQ(l_.input.length, 3);

    // Ctrl+Enter: the folder that holds it, in the shell's own window; the
    // character that follows the key changes nothing.
    std::string name = folder_.Path().substr(folder_.Path().rfind('\\') + 1);
    {
        HeldKeys ctrl(VK_CONTROL);
        l_.OnKeyDown(VK_RETURN);
        l_.OnChar('\n');
    }
    EXPECT_TRUE(Dismissed());
    HWND window = nullptr;
    EXPECT_TRUE(test::WaitFor([&] { return (window = FindWindowA(nullptr, name.c_str())) != nullptr; }));
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace
