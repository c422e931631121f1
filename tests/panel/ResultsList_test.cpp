// The results list below the strip ([ui] list=N): its rows, where they
// show, the keys and clicks that act on them.

#include <gtest/gtest.h>

#include <string>

#include "settings/SettingsFile.h"
#include "support/Canvas.h"
#include "support/LaunchTest.h"

namespace {

using test::Canvas;
using test::TestLauncher;

const COLORREF kMark = RGB(0, 160, 0);

// Rows of the canvas (from the list's top) that hold the colour.
bool RowHas(const Canvas& c, COLORREF colour, int row) {
    int top = LauncherWindow::kStripHeight + row * ResultsList::kRowHeight;
    int first, last;
    return c.Columns(colour, 0, top, c.W(), top + ResultsList::kRowHeight, &first, &last);
}

TEST(ResultsList, RowsFollowTheCurrentAnswerAndGiveWayToTheHelp) {
    TestLauncher l;
    l.options.listRows = 3;
    l.completionColour = kMark;
    for (const char* path : {"C:\\a\\note5.exe", "C:\\a\\note4.exe", "C:\\a\\note3.exe", "C:\\a\\note2.exe",
                             "C:\\b\\note1.exe", "C:\\a\\other.exe"}) {
        l.catalogue.Add(path);
    }
    l.Type("note");
    // Three rows of the five answers; the strip grows by them and a margin.
    ASSERT_EQ(l.list.Shown(), 3);
    EXPECT_EQ(l.height, 30 + 3 * ResultsList::kRowHeight + LauncherWindow::kTextMargin);
    {
        Canvas c(l);
        EXPECT_TRUE(RowHas(c, kMark, 0));  // the current answer's row
        EXPECT_FALSE(RowHas(c, kMark, 1));
        EXPECT_TRUE(RowHas(c, l.textColour, 1));
    }
    // Down past the last row scrolls the rows by one; Up back to the first
    // answer scrolls them back.
    for (int i = 0; i < 3; ++i) l.OnKeyDown(VK_DOWN);
    EXPECT_EQ(l.answers.Place(), 4);
    EXPECT_EQ(l.list.AnswerOnRow(0), 1);
    EXPECT_EQ(l.list.AnswerOnRow(2), 3);
    {
        Canvas c(l);
        EXPECT_TRUE(RowHas(c, kMark, 2));
        EXPECT_FALSE(RowHas(c, kMark, 0));
    }
    for (int i = 0; i < 3; ++i) l.OnKeyDown(VK_UP);
    EXPECT_EQ(l.list.AnswerOnRow(0), 0);
    // A text with fewer answers has fewer rows, and one with none none.
    l.Type("1");
    EXPECT_EQ(l.list.Shown(), 1);
    EXPECT_EQ(l.height, 30 + ResultsList::kRowHeight + LauncherWindow::kTextMargin);
    l.Type("x");
    EXPECT_EQ(l.list.Shown(), 0);
    EXPECT_EQ(l.height, 30);
    // The help takes the place of the rows, never beside them.
    l.input.Clear();
    l.Type("not");
    l.ShowInfo(1);
    l.EndGrow();
    {
        Canvas c(l);
        EXPECT_FALSE(RowHas(c, kMark, 0));
    }
}

TEST(ResultsList, AShortScreenShowsFewerRowsAndALongRowStopsAtTheEdge) {
    TestLauncher l;
    l.options.listRows = 9;
    std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    for (int i = 0; i < 9; ++i) l.catalogue.Add((folder + "name" + std::to_string(i) + std::string(50, 'n')).c_str());
    // Room for two rows between the strip and the work area's bottom edge.
    l.y = l.WorkArea().bottom - 30 - LauncherWindow::kTextMargin - 2 * ResultsList::kRowHeight - 3;
    l.Type("name");
    EXPECT_EQ(l.list.Shown(), 2);
    Canvas c(l);
    // Each row's texts end inside the frame, however long they are.
    int first, last;
    ASSERT_TRUE(c.Columns(l.textColour, 0, 30, c.W(), c.H(), &first, &last));
    EXPECT_LT(last, c.W() - 1);
}

TEST(ResultsList, ListAndOutOfRangeValuesAreReadAsTheGuideSays) {
    // 99, -1 and a word keep the strip alone.
    struct Case {
        const char* value;
        int rows;
    } cases[] = {{"5", 5}, {"9", 9}, {"0", 0}, {"99", 0}, {"-1", 0}, {"abc", 0}};
    test::TempFolder folder;
    for (const Case& c : cases) {
        std::string file = folder.File("kwivo.ini");
        test::WriteTextFile(file, std::string("[ui]\r\nlist=") + c.value + "\r\n");
        SettingsFile settings(file.c_str());
        Options options;
        options.Read(settings);
        EXPECT_EQ(options.listRows, c.rows) << c.value;
    }
}

TEST(ResultsList, ARebuildLeavesNoRowOfTheOldCatalogueAndTheNewOnesFollow) {
    test::TempFolder folder;
    test::CurrentDirectory inFolder(folder.Path());
    ASSERT_TRUE(inFolder.Changed());
    std::string tools = folder.File("tools");
    CreateDirectoryA(tools.c_str(), nullptr);
    test::WriteTextFile(folder.File("tools\\zqxnew.exe"), "MZ");
    test::WriteTextFile(folder.File("kwivo.ini"), "[folders]\r\n" + tools + "=1\r\n");
    TestLauncher l;
    l.options.listRows = 3;
    l.catalogue.Add("C:\\a\\zqxold1.exe");
    l.catalogue.Add("C:\\a\\zqxold2.exe");
    l.Type("zqx");
    ASSERT_EQ(l.list.Shown(), 2);
    {
        SettingsFile settings(LauncherWindow::kSettingsName);
        l.RebuildCatalogue(settings);
    }
    // While the text waits for its new answers, no row and no item.
    EXPECT_EQ(l.list.Shown(), 0);
    EXPECT_EQ(l.ListRows(), 0);
    EXPECT_EQ(l.height, LauncherWindow::kStripHeight);
    l.UpdateCompletion();
    l.ShowChanges();
    ASSERT_EQ(l.ListRows(), 1);
    char name[kPathBytes];
    char leads[kPathBytes];
    ASSERT_EQ(l.ListRow(0, name, leads, nullptr), 1);
    EXPECT_STREQ(name, "zqxnew.exe");
    EXPECT_EQ(leads, tools);
}

class ResultsListKeys : public test::LaunchTest {};

TEST_F(ResultsListKeys, AltAndADigitOrAClickActOnThatRowAsEnterWould) {
    CreateDirectoryA(folder_.File("Other").c_str(), nullptr);
    std::string other = folder_.File("Other\\rec.exe");
    ASSERT_TRUE(CopyFileA(recorder_.c_str(), other.c_str(), FALSE));
    l_.catalogue.Add(recorder_.c_str());
    l_.catalogue.Add(other.c_str());
    // Without a list, Alt and a digit are not Kwivo's.
    l_.Type("re");
    EXPECT_EQ(l_.OnSystemChar('2'), 0);
    l_.options.listRows = 2;
    l_.input.Clear();
    l_.Type("re");
    ASSERT_EQ(l_.list.Shown(), 2);
    EXPECT_EQ(l_.OnSystemChar('3'), 1);  // no third row: taken, nothing done
    EXPECT_EQ(l_.input.length, 2);
    EXPECT_EQ(l_.OnSystemChar('2'), 1);
    EXPECT_EQ(Recorded(), recorder_ + "|\"" + recorder_ + "\"\n");
    // A click on the first row, below the strip.
    l_.Type("re");
    l_.OnClick(40, 30 + ResultsList::kRowHeight / 2);
    EXPECT_EQ(Recorded(2), recorder_ + "|\"" + recorder_ + "\"\n" + other + "|\"" + other + "\"\n");
}

}  // namespace
