#include "panel/ScreenChoice.h"

#include <gtest/gtest.h>

#include "support/TestLauncher.h"

namespace {

using test::TestLauncher;

TEST(ScreenChoice, SettingValuesAndOneMonitor) {
    EXPECT_EQ(ScreenChoice::Parse("cursor"), ScreenChoice::kCursor);
    EXPECT_EQ(ScreenChoice::Parse("Focus"), ScreenChoice::kFocus);
    for (const char* other : {"primary", "", "cursors", "curs", "2"}) {
        EXPECT_EQ(ScreenChoice::Parse(other), ScreenChoice::kPrimary) << other;
    }

    // With one monitor every choice is the primary screen.
    ScreenChoice screens;
    RECT primary = ScreenChoice::PrimaryRect();
    for (int which : {ScreenChoice::kPrimary, ScreenChoice::kCursor, ScreenChoice::kFocus}) {
        int dpi = 0;
        RECT r = screens.Choose(which, &dpi);
        EXPECT_TRUE(EqualRect(&r, &primary)) << which;
        EXPECT_EQ(dpi, ScreenChoice::SystemDpi()) << which;
    }
}

// Monitors as a test lays them out.
class FakeScreens : public ScreenChoice {
public:
    RECT Choose(int which, int* dpi) override {
        chosen.push_back(which);
        *dpi = monitorDpi;
        return monitor;
    }
    RECT monitor = {0, 0, 1024, 768};
    int monitorDpi = kBaseDpi;
    std::vector<int> chosen;
};

// The x after each slide tick until the slide stops.
std::vector<int> Slide(TestLauncher& l) {
    std::vector<int> xs;
    for (int i = 0; i < 100 && l.TimerRunning(LauncherWindow::kSlideTimer); ++i) {
        l.OnTimer(LauncherWindow::kSlideTimer);
        xs.push_back(l.x);
    }
    return xs;
}

TEST(ScreenChoice, TheStripSlidesAcrossTheChosenMonitor) {
    TestLauncher l;
    FakeScreens fake;
    l.screens = &fake;
    l.options.screenChoice = ScreenChoice::kCursor;
    fake.monitor = {-1280, -200, 0, 824};  // left of the primary screen, higher
    l.OnHotKey();
    EXPECT_EQ(fake.chosen, std::vector<int>{ScreenChoice::kCursor});
    EXPECT_EQ(l.y, -200 + (1024 - 30) / 2);
    EXPECT_EQ(Slide(l).back(), -1280 + (1280 - 480) / 2);  // in from the monitor's left edge
    l.OnHotKey();  // out past its right edge; the choice is made on showing only
    EXPECT_EQ(Slide(l).back(), 0);
    EXPECT_FALSE(IsWindowVisible(l.hwnd));
    EXPECT_EQ(fake.chosen.size(), 1u);

    // The next showing may be on another monitor, one narrower than the strip.
    fake.monitor = {1024, 0, 1424, 600};
    l.OnHotKey();
    RECT r;
    GetWindowRect(l.hwnd, &r);
    EXPECT_EQ(r.left, 1024 - 400);  // just beyond the monitor's left edge
    EXPECT_EQ(l.width, 400);
    EXPECT_EQ(Slide(l).back(), 1024);

    // The default reads the primary screen as it is, and never the seam.
    TestLauncher primary;
    FakeScreens unused;
    primary.screens = &unused;
    primary.OnHotKey();
    EXPECT_EQ(Slide(primary).back(), (GetSystemMetrics(SM_CXSCREEN) - 480) / 2);
    EXPECT_TRUE(unused.chosen.empty());
}

TEST(ScreenChoice, DpiScalingKeepsThePhysicalSize) {
    TestLauncher l;
    FakeScreens fake;
    l.screens = &fake;
    l.options.screenChoice = ScreenChoice::kFocus;
    l.options.dpiScale = 1;
    fake.monitor = {0, 0, 1920, 1080};
    fake.monitorDpi = 144;
    l.OnHotKey();
    EXPECT_EQ(l.width, 720);
    EXPECT_EQ(l.height, 45);
    EXPECT_EQ(l.y, (1080 - 45) / 2);
    std::vector<int> xs = Slide(l);
    ASSERT_GE(xs.size(), 2u);
    EXPECT_EQ(xs[1] - xs[0], 150);  // slide steps of 100 at 96 DPI
    EXPECT_EQ(xs.back(), (1920 - 720) / 2);
    // A font of the system's face made for the monitor, unless the system's
    // own font is made for it already.
    EXPECT_EQ(l.font != nullptr, ScreenChoice::SystemDpi() != 144);

    l.ShowInfo(1);
    while (l.TimerRunning(LauncherWindow::kGrowTimer)) l.OnTimer(LauncherWindow::kGrowTimer);
    EXPECT_EQ(l.height, 315);

    // Dismissed, then shown on a 96 DPI monitor: today's sizes again, the
    // information view still open.
    l.OnHotKey();
    Slide(l);
    fake.monitorDpi = 96;
    l.OnHotKey();
    EXPECT_EQ(l.width, 480);
    EXPECT_EQ(l.height, 210);
    EXPECT_EQ(l.font != nullptr, ScreenChoice::SystemDpi() != 96);
}

TEST(ScreenChoice, TheGrownViewStaysOnAShortMonitor) {
    // 192 DPI on a 400 x 300 screen: the view would be 420 high from y 120.
    TestLauncher l;
    FakeScreens fake;
    l.screens = &fake;
    l.options.screenChoice = ScreenChoice::kCursor;
    l.options.dpiScale = 1;
    l.slideSpeed = 0;
    fake.monitor = {0, 0, 400, 300};
    fake.monitorDpi = 192;
    l.OnHotKey();
    RECT r;
    l.ShowInfo(1);
    int lowest = 0;
    while (l.TimerRunning(LauncherWindow::kGrowTimer)) {
        l.OnTimer(LauncherWindow::kGrowTimer);
        GetWindowRect(l.hwnd, &r);
        if (r.bottom > lowest) lowest = r.bottom;
    }
    EXPECT_EQ(lowest, 300);  // never below the bottom edge
    EXPECT_EQ(r.top, 0);  // moved up all the way, then cut
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(r.right - r.left, 400);

    // Collapsed, it rests in the middle again.
    l.ShowInfo(0);
    while (l.TimerRunning(LauncherWindow::kGrowTimer)) l.OnTimer(LauncherWindow::kGrowTimer);
    GetWindowRect(l.hwnd, &r);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.bottom - r.top, 60);
}

}  // namespace
