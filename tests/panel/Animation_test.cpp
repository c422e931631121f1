#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "support/TestLauncher.h"

namespace {

using test::TestLauncher;

// The x after each slide tick until the slide timer stops (at most limit ticks).
std::vector<int> SlideTicks(TestLauncher& l, int limit = 400) {
    std::vector<int> xs;
    for (int i = 0; i < limit && l.TimerRunning(LauncherWindow::kSlideTimer); ++i) {
        l.OnTimer(LauncherWindow::kSlideTimer);
        xs.push_back(l.x);
    }
    return xs;
}

std::vector<int> GrowTicks(TestLauncher& l, int limit = 100) {
    std::vector<int> heights;
    for (int i = 0; i < limit && l.TimerRunning(LauncherWindow::kGrowTimer); ++i) {
        l.OnTimer(LauncherWindow::kGrowTimer);
        heights.push_back(l.height);
    }
    return heights;
}

RECT WindowRect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r;
}

TEST(Animation, EnteringSlideOnA1920PixelScreen) {
    TestLauncher l;
    ASSERT_TRUE(l.created);
    l.x = -l.width;
    l.StartSlide(720, 0, 0);  // the centre of a 1920-pixel screen
    std::vector<int> expected;
    for (int x = -380; x <= 620; x += 100) expected.push_back(x);
    expected.push_back(720);
    EXPECT_EQ(SlideTicks(l), expected);  // twelve ticks, then the timer stops
    RECT r = WindowRect(l.hwnd);
    EXPECT_EQ(r.left, 720);
    EXPECT_EQ(r.top, 369);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, 30);
}

TEST(Animation, BannerPausesFiftyTicksThenLeavesHiddenAndEmpty) {
    TestLauncher l;
    ShowWindow(l.hwnd, SW_SHOWNOACTIVATE);
    l.x = -l.width;
    l.input.PutText("Kwivo Activated...");
    const int screen = 1024, centre = 272;
    l.StartSlide(screen, LauncherWindow::kSlideHide | LauncherWindow::kSlideEmptyInput, centre);
    std::vector<int> xs = SlideTicks(l);
    // -380 ... 220, then pulled back to the centre on the tick that passes it.
    ASSERT_GE(xs.size(), 8u + 50u);
    EXPECT_EQ(xs[6], 220);
    EXPECT_EQ(xs[7], centre);
    for (int i = 8; i < 8 + 50; ++i) EXPECT_EQ(xs[i], centre) << i;
    EXPECT_EQ(xs[58], 372);  // on again after exactly 50 still ticks
    EXPECT_EQ(xs.back(), screen);
    EXPECT_EQ(xs.size(), 8u + 50u + 8u);  // 372 ... 972, then 1024
    EXPECT_FALSE(IsWindowVisible(l.hwnd));
    EXPECT_EQ(l.input.length, 0);
    EXPECT_STREQ(l.input.text, "");
}

TEST(Animation, NoPauseAtZeroAndAPauseThatOutlastsANewSlide) {
    TestLauncher l;
    l.x = -l.width;
    l.StartSlide(480, 0, 0);  // centre 0 on a narrow screen: no pause
    EXPECT_EQ(SlideTicks(l).size(), 10u);

    // A slide started while a pause runs lets the pause finish first.
    l.x = -l.width;
    l.StartSlide(1024, 0, 272);
    for (int i = 0; i < 8 + 20; ++i) l.OnTimer(LauncherWindow::kSlideTimer);
    ASSERT_EQ(l.x, 272);
    ASSERT_EQ(l.pauseTicks, 30);
    l.StartSlide(1024, LauncherWindow::kSlideHide, 0);
    std::vector<int> xs = SlideTicks(l);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(xs[i], 272) << i;
    EXPECT_EQ(xs[30], 372);
    EXPECT_EQ(xs.back(), 1024);
}

TEST(Animation, HotKeyCountsAndTogglesWithSliding) {
    TestLauncher l;
    l.runs = 5;
    l.OnHotKey();  // hidden: shown beyond the left edge, sliding to the centre
    EXPECT_EQ(l.runs, 6);
    EXPECT_TRUE(IsWindowVisible(l.hwnd));
    EXPECT_EQ(l.x, -l.width);
    EXPECT_EQ(l.slideTarget, l.CentreX());
    EXPECT_EQ(l.slideFlags, 0);
    l.OnTimer(LauncherWindow::kSlideTimer);
    l.OnTimer(LauncherWindow::kSlideTimer);
    int reached = l.x;

    // Pressed again while still sliding in: on to the right, never back.
    l.Type("abc");
    l.OnHotKey();
    EXPECT_EQ(l.runs, 7);
    EXPECT_EQ(l.input.length, 0);
    EXPECT_EQ(l.completion, nullptr);
    std::vector<int> xs = SlideTicks(l);
    int previous = reached;
    for (int x : xs) {
        EXPECT_GT(x, previous);
        previous = x;
    }
    EXPECT_EQ(xs.back(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_FALSE(IsWindowVisible(l.hwnd));
}

TEST(Animation, HotKeyWithoutSlidingKeepsTheText) {
    TestLauncher l;
    l.slideSpeed = 0;
    l.x = l.CentreX();
    l.OnHotKey();
    EXPECT_TRUE(IsWindowVisible(l.hwnd));
    EXPECT_EQ(WindowRect(l.hwnd).left, l.CentreX());
    l.Type("note");
    l.OnHotKey();
    EXPECT_FALSE(IsWindowVisible(l.hwnd));
    EXPECT_STREQ(l.input.text, "note");
    EXPECT_FALSE(l.TimerRunning(LauncherWindow::kSlideTimer));
    l.OnHotKey();
    EXPECT_TRUE(IsWindowVisible(l.hwnd));
    EXPECT_EQ(l.runs, 3);
    l.Dismiss(1);  // hides at once
    EXPECT_FALSE(IsWindowVisible(l.hwnd));
}

TEST(Animation, ExpandInNineTicksCollapseInSix) {
    TestLauncher l;
    l.ShowInfo(1);
    EXPECT_EQ(l.infoVisible, 1);  // from the start of the expansion
    EXPECT_EQ(GrowTicks(l), (std::vector<int>{50, 70, 90, 110, 130, 150, 170, 190, 210}));
    EXPECT_EQ(WindowRect(l.hwnd).bottom - WindowRect(l.hwnd).top, 210);

    l.growSpeed = 7;  // the collapse steps by the target height, whatever the speed
    l.ShowInfo(0);
    std::vector<int> heights;
    while (l.TimerRunning(LauncherWindow::kGrowTimer)) {
        EXPECT_EQ(l.infoVisible, 1);  // still painted while shrinking
        l.OnTimer(LauncherWindow::kGrowTimer);
        heights.push_back(l.height);
    }
    EXPECT_EQ(heights, (std::vector<int>{180, 150, 120, 90, 60, 30}));
    EXPECT_EQ(l.infoVisible, 0);
}

TEST(Animation, CollapseFromTheMiddleAndASecondSlashGoesOn) {
    TestLauncher l;
    l.ShowInfo(1);
    for (int i = 0; i < 4; ++i) l.OnTimer(LauncherWindow::kGrowTimer);
    ASSERT_EQ(l.height, 110);
    l.ShowInfo(0);
    l.OnTimer(LauncherWindow::kGrowTimer);
    EXPECT_EQ(l.height, 80);
    // "/" again: the view is still on, so it asks for the collapse again.
    l.OnChar('/');
    l.OnChar('\r');
    EXPECT_EQ(l.growTarget, 30);
    EXPECT_EQ(GrowTicks(l), (std::vector<int>{50, 30}));
    EXPECT_EQ(l.infoVisible, 0);
}

TEST(Animation, CollapseBeforeTheFirstTickEndsAtOnce) {
    TestLauncher l;
    l.ShowInfo(1);
    l.ShowInfo(0);
    l.OnTimer(LauncherWindow::kGrowTimer);
    EXPECT_EQ(l.height, 30);
    EXPECT_EQ(l.infoVisible, 0);
    EXPECT_FALSE(l.TimerRunning(LauncherWindow::kGrowTimer));
}

TEST(Animation, ForeignTimerLeavesTheStripAlone) {
    TestLauncher l;
    l.x = 100;
    l.StartSlide(500, 0, 0);
    l.ShowInfo(1);
    RECT before = WindowRect(l.hwnd);
    l.OnTimer(3);
    l.OnTimer(0);
    EXPECT_EQ(l.x, 100);
    EXPECT_EQ(l.height, 30);
    RECT after = WindowRect(l.hwnd);
    EXPECT_TRUE(EqualRect(&before, &after));
}

// A launcher that holds the hot key of the settings, so that applying them
// registers nothing.
void HoldSavedHotKey(TestLauncher& l, const StripSettings& saved) {
    l.hotkeyHeld = 1;
    l.hotkeyModifiers = saved.hotkeyModifiers;
    l.hotkeyKey = saved.hotkeyKey;
}

TEST(Animation, ASlideSpeedSavedAsZeroWhileSlidingEndsTheSlide) {
    // Left as it was, a step of 0 would never arrive and its timer would
    // tick for good.
    TestLauncher l;
    StripSettings saved;
    HoldSavedHotKey(l, saved);
    l.x = -l.width;
    l.StartSlide(272, 0, 0);
    l.OnTimer(LauncherWindow::kSlideTimer);
    saved.slideSpeed = 0;
    l.ApplySettings(saved, l.catalogueDigest);
    EXPECT_EQ(SlideTicks(l), std::vector<int>{272});
}

TEST(Animation, ASavedFontIsMadeAndTakingItOutGivesTheSystemFontBack) {
    // The font in use is made anew, never kept or left deleted in place.
    TestLauncher l;
    StripSettings saved;
    HoldSavedHotKey(l, saved);
    snprintf(saved.options.font, sizeof saved.options.font, "Tahoma,12");
    l.ApplySettings(saved, l.catalogueDigest);
    ASSERT_NE(l.font, nullptr);
    LOGFONTW made = {};
    ASSERT_NE(GetObjectW(l.font, sizeof made, &made), 0);  // a live font
    EXPECT_STREQ(made.lfFaceName, L"Tahoma");
    saved.options.font[0] = '\0';
    l.ApplySettings(saved, l.catalogueDigest);
    EXPECT_EQ(l.font, nullptr);
}

}  // namespace
