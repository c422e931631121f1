#include "answers/RunningProgram.h"

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
    // Every copy's window is up before the test closes them: one made after
    // would outlive the test by a minute.
    EXPECT_TRUE(test::WaitFor([&] {
        int windows = 0;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, kTitle)) != nullptr;) ++windows;
        return windows == 3;
    }));
}

TEST_F(RunningProgramTest, AProgramReachedThroughAFolderLinkIsTheOneThatRuns) {
    // The catalogue holds the linked path, the process the real one.
    if (!test::UnderWine()) GTEST_SKIP() << "makes Unix links";
    std::string unix = test::UnixPath(folder_.Path());
    ASSERT_TRUE(test::RunUnix("cd '" + unix + "' && ln -s 'My Tools' linked"));
    HANDLE process;
    HWND window = ShowRecorderWindow(kTitle, &process);
    if (process) CloseHandle(process);
    ASSERT_NE(window, nullptr);
    RunningProgram running;
    EXPECT_EQ(running.FindWindowOf(recorder_.c_str()), window);
    EXPECT_EQ(running.FindWindowOf(folder_.File("linked\\rec.exe").c_str()), window);
    EXPECT_EQ(running.FindWindowOf(folder_.File("rec.exe").c_str()), nullptr);
}

// Windows of this process, made for one look each.
HWND MakeWindow(DWORD style, DWORD extended, int size, HWND owner = nullptr, const wchar_t* className = L"STATIC") {
    return CreateWindowExW(extended, className, L"w", style, 20, 20, size, size, owner, nullptr, nullptr, nullptr);
}

TEST_F(RunningProgramTest, OnlyTheWindowsThatAltTabShowsAreSwitchedTo) {
    WNDCLASSW tray = {};
    tray.lpfnWndProc = DefWindowProcW;
    tray.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&tray);
    const DWORD shown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND main = MakeWindow(shown, 0, 300);
    struct Case {
        const char* what;
        HWND window;
        int switchable;
    } cases[] = {
        {"a program's window", main, 1},
        {"minimised", MakeWindow(shown | WS_MINIMIZE, 0, 300), 1},
        {"hidden", MakeWindow(WS_OVERLAPPEDWINDOW, 0, 300), 0},
        {"a tool window", MakeWindow(shown, WS_EX_TOOLWINDOW, 300), 0},
        {"never activates", MakeWindow(shown, WS_EX_NOACTIVATE, 300), 0},
        {"owned", MakeWindow(shown, 0, 300, main), 0},
        {"owned, with a taskbar button", MakeWindow(shown, WS_EX_APPWINDOW, 300, main), 1},
        {"a 1x1 helper", MakeWindow(WS_POPUP | WS_VISIBLE, 0, 1), 0},
        {"the taskbar", MakeWindow(WS_POPUP | WS_VISIBLE, 0, 300, nullptr, L"Shell_TrayWnd"), 0},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.window, nullptr) << c.what;
        EXPECT_EQ(RunningProgram::IsSwitchable(c.window), c.switchable) << c.what;
    }
    for (const Case& c : cases) DestroyWindow(c.window);
}

// The system's answers as a hung program's, or an elevated one's, would be.
class RefusingProgram : public RunningProgram {
public:
    int hung = 0;
    int restorable = 1;

protected:
    int IsHung(HWND) override { return hung; }
    int CanRestore(HWND) override { return restorable; }
};

TEST_F(RunningProgramTest, AMinimisedWindowThatCannotBeRestoredStartsTheProgramInstead) {
    struct Case {
        int hung;
        int restorable;
        int brought;
    } cases[] = {{0, 1, 1}, {1, 1, 0}, {0, 0, 0}};
    for (const Case& c : cases) {
        HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE, 0, 300);
        RefusingProgram program;
        program.hung = c.hung;
        program.restorable = c.restorable;
        EXPECT_EQ(program.BringForward(window), c.brought) << c.hung << c.restorable;
        // The restore is posted: it happens once the window's thread runs.
        if (c.brought) {
            EXPECT_TRUE(test::WaitFor([&] {
                test::PumpMessages();
                return !IsIconic(window);
            }));
        } else {
            EXPECT_TRUE(IsIconic(window));
        }
        DestroyWindow(window);
    }
}

}  // namespace
