// The system's own commands ([misc] system=1), with a recorder in place of
// Windows: nothing here locks, sleeps or ends the session.

#include "answers/SystemCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/SystemNames.h"
#include "support/TestLauncher.h"

namespace {

class RecordedCommands : public SystemCommands {
public:
    std::vector<int> carried;
    int refuse = 0;

protected:
    int Carry(int command, HWND) override {
        carried.push_back(command);
        return !refuse;
    }
};

TEST(SystemCommands, ThoseThatLoseWorkAskAndOnlyASecondEnterInTimeActs) {
    RecordedCommands commands;
    char said[64];
    const DWORD t = 1000;
    // Lock and sleep at once.
    EXPECT_EQ(commands.Enter(SystemCommands::kLock, t, said), 1);
    EXPECT_EQ(commands.carried, std::vector<int>{SystemCommands::kLock});
    // Restart: asked first, then done by the second Enter within 3 s.
    EXPECT_EQ(commands.Enter(SystemCommands::kRestart, t, said), 0);
    EXPECT_STREQ(said, "Restart? Enter again");
    EXPECT_TRUE(commands.Asking());
    EXPECT_EQ(commands.Enter(SystemCommands::kRestart, t + SystemCommands::kConfirmMs, said), 1);
    EXPECT_FALSE(commands.Asking());
    // Too late, or another command: asked anew, nothing done.
    struct Case {
        int first;
        int second;
        DWORD after;
    } cases[] = {{SystemCommands::kShutDown, SystemCommands::kShutDown, SystemCommands::kConfirmMs + 1},
                 {SystemCommands::kRestart, SystemCommands::kShutDown, 1},
                 {SystemCommands::kEmptyBin, SystemCommands::kSignOut, 1}};
    for (const Case& c : cases) {
        commands.carried.clear();
        EXPECT_EQ(commands.Enter(c.first, t, said), 0);
        EXPECT_EQ(commands.Enter(c.second, t + c.after, said), 0);
        EXPECT_EQ(said, std::string(kSystemNames[c.second].name) + "? Enter again");
        EXPECT_TRUE(commands.carried.empty());
        commands.Cancel();
    }
    // A refusal is said.
    commands.refuse = 1;
    EXPECT_EQ(commands.Enter(SystemCommands::kSleep, t, said), 0);
    EXPECT_STREQ(said, "Sleep: refused by Windows");
    // Every name reads as its own command.
    for (int i = 0; i < kSystemNameCount; ++i) EXPECT_EQ(SystemCommands::Find(kSystemNames[i].address), i);
    EXPECT_EQ(SystemCommands::Find("ms-settings:display"), -1);
}

TEST(SystemCommands, InTheStripAnyOtherKeyTheTimeOrHidingCancelsTheQuestion) {
    test::TestLauncher l;
    RecordedCommands commands;
    l.commands = &commands;
    l.options.system = 1;
    AddSystemNames(l.catalogue);
    auto ask = [&] {
        l.input.Clear();
        l.Type("rest");
        ASSERT_STREQ(l.completion, "art");
        l.OnChar('\r');
        ASSERT_NE(l.completion, nullptr);
        EXPECT_EQ(std::string(l.completion), std::string(LauncherWindow::kWordMatchSeparator) + "Restart? Enter again");
        EXPECT_STREQ(l.input.text, "rest");
        EXPECT_TRUE(l.TimerRunning(LauncherWindow::kQuestionTimer));
    };
    // A typed key: the question goes, the text goes on.
    ask();
    l.OnKeyDown('A');
    l.OnChar('a');
    EXPECT_STREQ(l.input.text, "resta");
    EXPECT_STREQ(l.completion, "rt");
    // The time up: the name again.
    ask();
    l.OnTimer(LauncherWindow::kQuestionTimer);
    EXPECT_STREQ(l.completion, "art");
    l.OnChar('\r');  // asks again: a first Enter
    EXPECT_TRUE(commands.carried.empty());
    // Hidden: nothing carried out unseen.
    l.Dismiss(0);
    EXPECT_FALSE(commands.Asking());
    // Enter twice: done, and the strip goes.
    ask();
    l.OnKeyDown(VK_RETURN);
    l.OnChar('\r');
    EXPECT_EQ(commands.carried, std::vector<int>{SystemCommands::kRestart});
    EXPECT_EQ(l.input.length, 0);
}

}  // namespace
