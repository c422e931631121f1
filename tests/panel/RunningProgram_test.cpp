#include "panel/RunningProgram.h"

#include <gtest/gtest.h>

#include <string>

#include "support/LaunchTest.h"

namespace {

class RunningProgramTest : public test::LaunchTest {
protected:
    void TearDown() override {
        for (HWND w; (w = FindWindowA(nullptr, kTitle)) != nullptr;) {
            SendMessageA(w, WM_CLOSE, 0, 0);
            test::WaitFor([&] { return !IsWindow(w); }, 5000);
        }
        SetEnvironmentVariableA("KWIVO_RECORD_WINDOW", nullptr);
    }
    void Enter(bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        l_.Type("rec");
        l_.OnChar('\r');
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    static constexpr const char* kTitle = "Kwivo running program";
};

TEST_F(RunningProgramTest, EnterBringsARunningProgramForwardAndShiftEnterStartsAnother) {
    SetEnvironmentVariableA("KWIVO_RECORD_WINDOW", kTitle);
    l_.options.switchRunning = 1;
    l_.catalogue.Add(recorder_.c_str());
    const std::string started = recorder_ + "|\"" + recorder_ + "\"\n";

    // Nothing runs yet: started as before.
    Enter(false);
    ASSERT_EQ(Recorded(1), started);
    HWND window = nullptr;
    ASSERT_TRUE(test::WaitFor([&] { return (window = FindWindowA(nullptr, kTitle)) != nullptr; }));
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(test::WaitFor([&] { return IsIconic(window) != 0; }));

    // Running, minimised: restored and brought forward, not started twice.
    Enter(false);
    EXPECT_TRUE(Dismissed());
    EXPECT_TRUE(test::WaitFor([&] { return !IsIconic(window); }));
    Sleep(300);
    EXPECT_EQ(test::ReadTextFile(record_), started);

    // Shift+Enter: another copy, whatever runs.
    Enter(true);
    EXPECT_EQ(Recorded(2), started + started);

    // Off, as unless written: started again as before.
    l_.options.switchRunning = 0;
    Enter(false);
    EXPECT_EQ(Recorded(3), started + started + started);
}

}  // namespace
