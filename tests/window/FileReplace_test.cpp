#include "window/FileReplace.h"

#include <gtest/gtest.h>

#include <string>

#include "panel/Picks.h"
#include "settings/SettingsFile.h"
#include "support/Win32Test.h"

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inFolder_.Changed()); }

    test::TempFolder folder_;
    test::CurrentDirectory inFolder_{folder_.Path()};
};

// One writer of kwivo.ini: keys k0 to k39 of its own section, one write
// each, as two Kwivo processes ending together write "runs".
DWORD WINAPI WriteKeys(void* section) {
    for (int i = 0; i < 40; ++i) {
        SettingsFile settings("kwivo.ini");
        if (!settings.SetInt(static_cast<const char*>(section), ("k" + std::to_string(i)).c_str(), i)) return 1;
    }
    return 0;
}

TEST_F(FileReplaceTest, TwoWritersAtOnceKeepEveryLineOfBoth) {
    // Each write starts from the file as the other left it, under the lock;
    // neither removes the other's copy.
    test::WriteTextFile(folder_.File("kwivo.ini"), "[ui]\r\ncolourback=1,2,3\r\n");
    static char sections[2][2] = {"a", "b"};
    HANDLE threads[2];
    for (int t = 0; t < 2; ++t) threads[t] = CreateThread(nullptr, 0, WriteKeys, sections[t], 0, nullptr);
    ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE thread : threads) {
        DWORD code = 1;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(thread);
    }
    SettingsFile settings("kwivo.ini");
    for (const char* section : {"a", "b"}) {
        for (int i = 0; i < 40; ++i) EXPECT_EQ(settings.GetInt(section, ("k" + std::to_string(i)).c_str(), -1), i);
    }
    EXPECT_EQ(settings.GetColour("ui", "colourback", 0), 0x030201u);
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 0);
}

TEST_F(FileReplaceTest, LinkedFilesAreWrittenThroughTheirLinks) {
    // Settings kept in a synced folder: kwivo.ini and the picks are links
    // there, and stay links.
    if (!test::UnderWine()) GTEST_SKIP() << "makes Unix links";
    CreateDirectoryA(folder_.File("synced").c_str(), nullptr);
    test::WriteTextFile(folder_.File("synced\\kwivo.ini"), "[ui]\r\nslidespeed=7\r\n");
    test::WriteTextFile(folder_.File("synced\\kwivo-picks.txt"), "old\tC:\\old.exe\r\n");
    std::string unix = test::UnixPath(folder_.Path());
    test::RunUnix("cd '" + unix + "' && ln -s synced/kwivo.ini kwivo.ini && ln -s synced/kwivo-picks.txt kwivo-picks.txt");
    ASSERT_TRUE(test::WaitFor([&] { return test::FileExists(folder_.File("kwivo-picks.txt")); }));

    {
        SettingsFile settings("kwivo.ini");
        ASSERT_EQ(settings.SetInt("misc", "runs", 3), 1);
    }
    Picks picks;
    ASSERT_EQ(picks.Load("kwivo-picks.txt"), 1);
    ASSERT_EQ(picks.Remember("new", 3, "C:\\new.exe"), 1);
    ASSERT_EQ(picks.Save("kwivo-picks.txt"), 1);

    EXPECT_EQ(test::ReadTextFile(folder_.File("synced\\kwivo.ini")), "[ui]\r\nslidespeed=7\r\n[misc]\r\nruns=3\r\n");
    EXPECT_EQ(test::ReadTextFile(folder_.File("synced\\kwivo-picks.txt")),
              "old\tC:\\old.exe\r\nnew\tC:\\new.exe\r\n");
    // Still links: a change of the targets shows through them.
    test::WriteTextFile(folder_.File("synced\\kwivo.ini"), "[misc]\r\nruns=9\r\n");
    test::WriteTextFile(folder_.File("synced\\kwivo-picks.txt"), "");
    EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo.ini")), "[misc]\r\nruns=9\r\n");
    EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo-picks.txt")), "");
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp") + test::CountFiles(folder_.File("synced"), "*.tmp"), 0);
}

}  // namespace
