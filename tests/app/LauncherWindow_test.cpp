// Start-up and shutdown of the real kwivo.exe, which lies beside this test.

#include <gtest/gtest.h>

#include <string>

#include "support/RealLauncher.h"
#include "support/Win32Test.h"

namespace {

using test::Launcher;

RECT WindowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// Waits until the strip rests at the given place and size.
bool RestsAt(HWND window, int x, int y, int width, int height) {
    return test::WaitFor([&] {
        RECT r = WindowRect(window);
        return r.left == x && r.top == y && r.right - r.left == width && r.bottom - r.top == height;
    });
}

int IniInt(const test::TempFolder& folder, const char* section, const char* key) {
    return static_cast<int>(
        GetPrivateProfileIntA(section, key, -999, folder.File("kwivo.ini").c_str()));
}

TEST(Launcher, FirstStartShowsTheStripAndCloseSavesRuns) {
    test::TempFolder folder;
    Launcher kwivo(folder);
    ASSERT_TRUE(kwivo.Started()) << test::KwivoExe();
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);

    // No settings: runs is 0 and sliding is on, so the strip is shown to
    // slide in with the information view.
    EXPECT_TRUE(IsWindowVisible(window));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(test::FileExists(folder.File("kwivo.ini")));
    // On the 1024x768 test screen: 480 wide, at y = (768 - 30) / 2, sliding
    // to x = (1024 - 480) / 2 while it grows to 210.
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_TRUE(RestsAt(window, 272, 369, 480, 210));

    EXPECT_EQ(kwivo.Close(window), 0u);
    EXPECT_EQ(IniInt(folder, "misc", "runs"), 0);
}

TEST(Launcher, SpeedsThatWouldNeverArriveAreCorrected) {
    // A slide going backwards and a grow going nowhere would never end.
    test::TempFolder folder;
    Launcher kwivo(folder, "[ui]\r\nslidespeed=-5\r\ngrowspeed=0\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(RestsAt(window, 272, 369, 480, 210));
    EXPECT_EQ(kwivo.Close(window), 0u);
}

TEST(Launcher, BannerEndsHiddenAtTheRightEdge) {
    test::TempFolder folder;
    Launcher kwivo(folder, "[misc]\r\nruns=3\r\n[ui]\r\nslidespeed=400\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    // The last tick hides the strip, then moves it to the edge.
    EXPECT_TRUE(test::WaitFor([&] { return !IsWindowVisible(window) && WindowRect(window).left == 1024; }));
    EXPECT_EQ(WindowRect(window).bottom - WindowRect(window).top, 30);
    EXPECT_EQ(kwivo.Close(window), 0u);
}

TEST(Launcher, EveryHotKeyPressIsCounted) {
    test::TempFolder folder;
    Launcher kwivo(folder, "[misc]\r\nruns=7\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    // Shows, hides, shows: three activations, whatever they do.
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_HOTKEY, 0, 0);
    EXPECT_EQ(kwivo.Close(window), 0u);
    EXPECT_EQ(IniInt(folder, "misc", "runs"), 10);
}

TEST(Launcher, SlideSpeedZeroStartsHidden) {
    test::TempFolder folder;
    Launcher kwivo(folder, "[ui]\r\nslidespeed=0\r\n[misc]\r\nruns=41\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    // The first hot key shows it in place, in the centre.
    PostMessageA(window, WM_HOTKEY, 0, 0);
    EXPECT_TRUE(test::WaitFor([&] { return IsWindowVisible(window) != 0; }));
    EXPECT_TRUE(RestsAt(window, 272, 369, 480, 30));

    EXPECT_EQ(kwivo.Close(window), 0u);
    EXPECT_EQ(IniInt(folder, "misc", "runs"), 42);
    EXPECT_EQ(IniInt(folder, "ui", "slidespeed"), 0);  // the rest of the file is kept
}

TEST(Launcher, LaterStartShowsTheBannerAndOnlyASessionThatEndsSavesRunsAndEndsKwivo) {
    test::TempFolder folder;
    Launcher kwivo(folder, "[misc]\r\nruns=12\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));

    // A session end that another program cancelled (wParam 0) changes
    // nothing: Kwivo goes on counting. One that happens takes the same road
    // as quitting.
    DWORD_PTR ignored;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_ENDSESSION, FALSE, 0, SMTO_BLOCK, 20000, &ignored));
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_HOTKEY, 0, 0, SMTO_BLOCK, 20000, &ignored));
    EXPECT_TRUE(IsWindow(window));
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 20000, &ignored);
    EXPECT_EQ(kwivo.ExitCode(), 0u);
    EXPECT_EQ(IniInt(folder, "misc", "runs"), 13);
}

TEST(Launcher, HotKeyTakenShowsAMessageAndWritesNothing) {
    // Hold Alt+Space here, as another program would.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_SPACE));
    test::TempFolder folder;
    Launcher kwivo(folder);
    ASSERT_TRUE(kwivo.Started());

    std::string text;
    HWND box = test::WaitForMessageBox("kwivo", &text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Can't register Hotkey");
    test::PressOk(box);
    EXPECT_EQ(kwivo.ExitCode(), 0u);
    EXPECT_FALSE(test::FileExists(folder.File("kwivo.ini")));
    UnregisterHotKey(nullptr, 1);
}

TEST(Launcher, AFailedStartNeverWritesItsStaleCount) {
    // A second instance: its box is open while the first one counts on and
    // saves 13; the session's end, delivered through the box's loop, must
    // not write back the 10 this one loaded.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_SPACE));
    test::TempFolder folder;
    Launcher kwivo(folder, "[misc]\r\nruns=10\r\n");
    std::string text;
    HWND box = test::WaitForMessageBox("kwivo", &text);
    ASSERT_NE(box, nullptr);
    WritePrivateProfileStringA("misc", "runs", "13", folder.File("kwivo.ini").c_str());
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 20000, &ignored);
    if (IsWindow(box)) test::PressOk(box);
    EXPECT_EQ(kwivo.ExitCode(), 0u);
    EXPECT_EQ(IniInt(folder, "misc", "runs"), 13);
    UnregisterHotKey(nullptr, 1);
}

TEST(Launcher, AHotKeyNoKeyCanPressIsRefusedLikeATakenOne) {
    // Registered, these would leave a launcher nothing can show or quit.
    for (const char* hotkey : {"mod=abc\r\nvk=xyz", "vk=0", "vk=255", "vk=-32", "mod=16\r\nvk=32",
                               "mod=-1\r\nvk=32"}) {
        test::TempFolder folder;
        std::string settings = std::string("[misc]\r\nruns=4\r\n[hotkey]\r\n") + hotkey + "\r\n";
        Launcher kwivo(folder, settings.c_str());
        std::string text;
        HWND box = test::WaitForMessageBox("kwivo", &text);
        ASSERT_NE(box, nullptr) << hotkey;
        EXPECT_EQ(text, "Can't register Hotkey") << hotkey;
        test::PressOk(box);
        EXPECT_EQ(kwivo.ExitCode(), 0u) << hotkey;
        EXPECT_EQ(test::ReadTextFile(folder.File("kwivo.ini")), settings) << hotkey;
    }
}

TEST(Launcher, ConfiguredHotKeyIsTheOneRegistered) {
    // With another combination configured, Alt+Space held elsewhere is no
    // obstacle, and the configured one is taken.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_SPACE));
    test::TempFolder folder;
    Launcher kwivo(folder, "[hotkey]\r\nmod=3\r\nvk=75\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(RegisterHotKey(nullptr, 2, MOD_ALT | MOD_CONTROL, 'K'));

    EXPECT_EQ(kwivo.Close(window), 0u);
    // Released at shutdown.
    EXPECT_TRUE(RegisterHotKey(nullptr, 2, MOD_ALT | MOD_CONTROL, 'K'));
    UnregisterHotKey(nullptr, 2);
    UnregisterHotKey(nullptr, 1);
}

}  // namespace
