#include "catalogue/FolderWatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "settings/SettingsFile.h"
#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace {

// The index of the first signalled handle, or -1.
int Signalled(const FolderWatch& watch, DWORD waitMs) {
    if (watch.Count() == 0) return -1;
    DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(watch.Count()), watch.Handles(), FALSE, waitMs);
    return woken < WAIT_OBJECT_0 + static_cast<DWORD>(watch.Count()) ? static_cast<int>(woken - WAIT_OBJECT_0) : -1;
}

TEST(FolderWatch, SignalsACreatedFileDropsAFolderThatIsGoneAndKeepsToTheLimit) {
    test::TempFolder root;
    std::string tree = root.File("tree");
    ASSERT_TRUE(CreateDirectoryA(tree.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((tree + "\\below").c_str(), nullptr));
    FolderWatch watch;
    ASSERT_EQ(watch.Add(tree.c_str(), 0), 1);
    ASSERT_EQ(watch.Add(tree.c_str(), 1), 1);  // the wider watch replaces the narrower
    EXPECT_EQ(watch.Add(tree.c_str(), 0), 0);  // watched already, and wider
    EXPECT_EQ(watch.Add(root.File("none").c_str(), 1), 0);
    EXPECT_EQ(watch.Count(), 1);
    EXPECT_EQ(Signalled(watch, 300), -1);  // nothing changed

    // In the folder itself: Wine 8 reports no changes in the folders below.
    test::WriteTextFile(tree + "\\new.exe", "MZ");
    EXPECT_TRUE(test::WaitFor([&] { return Signalled(watch, 0) == 0; }));
    watch.Rearm(0);
    EXPECT_EQ(watch.Count(), 1);

    // Gone: no longer waited on, until the next build watches anew.
    ASSERT_TRUE(test::RunUnix("rm -rf '" + test::UnixPath(tree) + "'"));
    ASSERT_TRUE(test::WaitFor([&] {
        int index = Signalled(watch, 0);
        if (index >= 0) watch.Rearm(index);
        return watch.Count() == 0;
    }));

    for (int i = 0; i <= FolderWatch::kMaxFolders; ++i) {
        std::string folder = root.File("f" + std::to_string(i));
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_EQ(watch.Add(folder.c_str(), 0), i < FolderWatch::kMaxFolders ? 1 : 0) << i;
    }
    watch.Clear();
    EXPECT_EQ(watch.Count(), 0);
}

// A launcher whose message loop runs until a check holds or the time is up,
// and that counts the change notifications it is given.
class WatchingLauncher : public test::TestLauncher {
public:
    static constexpr UINT_PTR kCheckTimer = 99;

    void OnHandleSignalled(int index) override {
        ++signals;
        TestLauncher::OnHandleSignalled(index);
    }
    void OnTimer(UINT_PTR id) override {
        if (id != kCheckTimer) {
            TestLauncher::OnTimer(id);
            return;
        }
        held_ = check_();
        if (held_ || GetTickCount() - start_ > timeoutMs_) PostQuitMessage(0);
    }
    bool RunUntil(std::function<bool()> check, DWORD timeoutMs = 20000) {
        check_ = check;
        timeoutMs_ = timeoutMs;
        start_ = GetTickCount();
        held_ = false;
        SetTimer(hwnd, kCheckTimer, 50, nullptr);
        Run();
        KillTimer(hwnd, kCheckTimer);
        return held_;
    }
    int signals = 0;

private:
    std::function<bool()> check_;
    DWORD timeoutMs_ = 0;
    DWORD start_ = 0;
    bool held_ = false;
};

class WatchedFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(inRoot_.Changed());
        ShowWindow(l_.hwnd, SW_SHOWNOACTIVATE);  // in use while it holds text
        CreateDirectoryA(root_.File("tree").c_str(), nullptr);
        test::WriteTextFile(root_.File("kwivo.ini"), ("[folders]\r\n" + root_.File("tree") + "=0\r\n").c_str());
    }
    void Rebuild() {
        SettingsFile settings("kwivo.ini");
        l_.RebuildCatalogue(settings);
    }
    bool Catalogued(const char* name) { return l_.catalogue.FindPath(root_.File(name).c_str()) != nullptr; }

    test::TempFolder root_;
    test::CurrentDirectory inRoot_{root_.Path()};
    WatchingLauncher l_;
};

TEST_F(WatchedFoldersTest, ANewFileIsCataloguedAfterTheBurstButNotWhileTyping) {
    l_.options.watchFolders = 1;
    Rebuild();
    const HANDLE* handles = nullptr;
    EXPECT_GE(l_.GetWaitHandles(&handles), 1);

    // Quiet folders: no notification, so no rebuild.
    EXPECT_FALSE(l_.RunUntil([&] { return l_.signals > 0; }, 1500));

    l_.Type("newt");
    EXPECT_EQ(l_.completion, nullptr);
    test::WriteTextFile(root_.File("tree\\newtool.exe"), "MZ");
    test::WriteTextFile(root_.File("tree\\newtool.txt"), "x");
    // The rebuild's time comes while text is typed: it waits.
    ASSERT_TRUE(l_.RunUntil([&] { return l_.rebuildPending == 1; }));
    EXPECT_FALSE(Catalogued("tree\\newtool.exe"));
    EXPECT_STREQ(l_.input.text, "newt");

    // Once the strip is empty, it runs.
    for (int i = 0; i < 4; ++i) l_.OnChar(8);
    ASSERT_TRUE(l_.RunUntil([&] { return Catalogued("tree\\newtool.exe"); }));
    EXPECT_EQ(l_.rebuildPending, 0);
    l_.Type("newt");
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_STREQ(l_.completion, "ool.exe");
}

TEST_F(WatchedFoldersTest, WithoutTheSettingNothingIsWatched) {
    Rebuild();
    const HANDLE* handles = nullptr;
    EXPECT_EQ(l_.GetWaitHandles(&handles), 0);
    EXPECT_EQ(l_.watch.Count(), 0);
}

TEST_F(WatchedFoldersTest, ChangesEverySecondPutTheRebuildOffNoLongerThanItsBound) {
    l_.options.watchFolders = 1;
    Rebuild();
    test::WriteTextFile(root_.File("tree\\steady.exe"), "MZ");
    // A file made and removed every second: never 2 s of quiet.
    DWORD start = GetTickCount();
    int churns = 0;
    ASSERT_TRUE(l_.RunUntil(
        [&] {
            if (static_cast<int>((GetTickCount() - start) / 1000) >= churns) {
                std::string churn = root_.File("tree\\churn.txt");
                if (churns++ % 2 == 0) {
                    test::WriteTextFile(churn, "x");
                } else {
                    DeleteFileA(churn.c_str());
                }
            }
            return Catalogued("tree\\steady.exe");
        },
        LauncherWindow::kMaxRebuildWaitMs + 8000));
    EXPECT_GE(churns, 3);
}

TEST_F(WatchedFoldersTest, AStripHiddenWithItsTextIsRebuiltAndOffersTheNewProgram) {
    // slidespeed=0: Alt+Space hides the strip in place, keeping the text.
    l_.options.watchFolders = 1;
    l_.slideSpeed = 0;
    test::WriteTextFile(root_.File("tree\\zqold.exe"), "MZ");
    Rebuild();
    l_.Type("zq");
    l_.OnChar('\t');  // the entry on display, kept through Tab
    l_.OnHotKey();
    ASSERT_FALSE(IsWindowVisible(l_.hwnd));
    test::WriteTextFile(root_.File("tree\\zqnew.exe"), "MZ");
    ASSERT_TRUE(l_.RunUntil([&] { return Catalogued("tree\\zqnew.exe"); }));
    // Looked up again in the new catalogue.
    EXPECT_EQ(l_.current.entry, l_.catalogue.FindPath(root_.File("tree\\zqold.exe").c_str()));

    l_.OnHotKey();
    for (int i = 0; i < 7; ++i) l_.OnChar(8);
    l_.Type("n");
    ASSERT_NE(l_.current.entry, nullptr);
    EXPECT_EQ(std::string(l_.current.entry->path), root_.File("tree\\zqnew.exe"));
}

}  // namespace
