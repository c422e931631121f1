// Open windows by their titles ([misc] windows=1, "<" and words).

#include "answers/OpenWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answers/RunningProgram.h"
#include "support/LaunchTest.h"

namespace {

// Takes this process's own windows too, for the look at the titles.
class OwnWindows : public OpenWindows {
protected:
    int Takes(HWND window) override { return RunningProgram::IsSwitchable(window); }
};

std::vector<std::string> Titles(OwnWindows& windows, const char* words) {
    std::vector<std::string> titles;
    int n = windows.List(words);
    for (int i = 0; i < n; ++i) {
        char title[kPathBytes];
        if (windows.At(i, title) && std::string(title).find("Kwivo Probe") != std::string::npos) {
            titles.push_back(title);
        }
    }
    return titles;
}

TEST(OpenWindows, EveryWordInTheTitleInAnyOrderAndCaseTheMostRecentFirst) {
    std::vector<HWND> made;
    for (const wchar_t* title : {L"Kwivo Probe \x00C9t\x00E9 report.txt - Notepad", L"Kwivo Probe budget.xlsx",
                                 L"Kwivo Probe Report 2"}) {
        HWND window = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        made.push_back(window);
    }
    typedef std::vector<std::string> Titles_;
    OwnWindows windows;
    // The last one shown is on top of the others.
    EXPECT_EQ(Titles(windows, "report"),
              (Titles_{"Kwivo Probe Report 2", "Kwivo Probe \xC3\x89t\xC3\xA9 report.txt - Notepad"}));
    EXPECT_EQ(Titles(windows, "NOTEPAD \xC3\xA9t\xC3\xA9 probe"),
              (Titles_{"Kwivo Probe \xC3\x89t\xC3\xA9 report.txt - Notepad"}));
    EXPECT_EQ(Titles(windows, "report budget"), Titles_{});
    EXPECT_EQ(Titles(windows, "").size(), 3u);
    // A window gone since the list: none.
    char title[kPathBytes];
    int n = windows.List("budget");
    ASSERT_GE(n, 1);
    DestroyWindow(made[1]);
    EXPECT_EQ(windows.At(0, title), nullptr);
    DestroyWindow(made[0]);
    DestroyWindow(made[2]);
}

class OpenWindowsTest : public test::LaunchTest {};

TEST_F(OpenWindowsTest, AnotherProgramsWindowIsListedAndBroughtBackByEnter) {
    const char* kTitle = "Kwivo Open Windows Probe";
    HANDLE process;
    HWND window = ShowRecorderWindow(kTitle, &process);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    // Off unless written: "<" is text like any other.
    l_.Type("<probe");
    EXPECT_EQ(l_.completion, nullptr);
    l_.input.Clear();
    l_.options.windows = 1;
    l_.Type("<open PROBE");
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_EQ(std::string(l_.completion), std::string(LauncherWindow::kWordMatchSeparator) + kTitle);
    // Tab takes no title into the text.
    l_.OnChar('\t');
    EXPECT_STREQ(l_.input.text, "<open PROBE");
    l_.OnChar('\r');
    EXPECT_TRUE(Dismissed());
    EXPECT_TRUE(test::WaitFor([&] { return !IsIconic(window); }));
    PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

}  // namespace
