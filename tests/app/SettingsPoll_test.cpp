// The polls of a saved kwivo.ini in the launcher itself, each one made by
// hand, so that "nothing changed" is told after the polls that looked.

#include <gtest/gtest.h>

#include <string>

#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace {

class SettingsPollTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(inFolder_.Changed());
        ASSERT_TRUE(l_.created);
        l_.options.watchFolders = 1;
        l_.hotkeyHeld = 1;  // the file's own hot key: applying registers nothing
        l_.hotkeyModifiers = MOD_ALT;
        l_.hotkeyKey = VK_SPACE;
    }
    void Save(int slideSpeed) {
        test::WriteTextFile(ini_, ("[misc]\r\nwatch=1\r\n[ui]\r\nslidespeed=" + std::to_string(slideSpeed) + "\r\n"));
    }
    // Two polls: one that sees a change, one that finds it settled.
    void TwoPolls() {
        l_.PollSettings();
        l_.PollSettings();
    }

    test::TempFolder folder_;
    test::CurrentDirectory inFolder_{folder_.Path()};
    std::string ini_ = folder_.File("kwivo.ini");
    test::TestLauncher l_;
};

TEST_F(SettingsPollTest, AHalfSavedFileChangesNothingAndTheWholeOneIsTaken) {
    Save(7);
    l_.settingsWatch.Take();
    l_.slideSpeed = 7;

    // Deleted, a folder in its place, emptied, or held by its writer: the
    // defaults would be read from any of them.
    ASSERT_TRUE(DeleteFileA(ini_.c_str()));
    TwoPolls();
    ASSERT_TRUE(CreateDirectoryA(ini_.c_str(), nullptr));
    TwoPolls();
    ASSERT_TRUE(RemoveDirectoryA(ini_.c_str()));
    test::WriteTextFile(ini_, "");
    TwoPolls();
    EXPECT_EQ(l_.slideSpeed, 7);
    HANDLE writer = CreateFileA(ini_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const std::string saved = "[misc]\r\nwatch=1\r\n[ui]\r\nslidespeed=9\r\n";
    DWORD written = 0;
    WriteFile(writer, saved.data(), static_cast<DWORD>(saved.size()), &written, nullptr);
    TwoPolls();
    EXPECT_EQ(l_.slideSpeed, 7);
    CloseHandle(writer);
    TwoPolls();
    EXPECT_EQ(l_.slideSpeed, 9);
}

TEST_F(SettingsPollTest, ABusyFolderDoesNotPutThePollOffForEver) {
    // A program appends to a log beside kwivo.ini every 300 ms: each change
    // of the folder is told, and the saved file still applies.
    Save(7);
    l_.settingsWatch.Take();
    l_.slideSpeed = 7;
    Save(11);
    const int kSettingsHandle = l_.watch.Count();  // kwivo.ini's folder comes after the watched ones
    EXPECT_TRUE(test::WaitFor(
        [&] {
            l_.OnHandleSignalled(kSettingsHandle);
            DWORD until = GetTickCount() + 300;
            while (GetTickCount() < until && l_.slideSpeed != 11) {
                test::PumpMessages();
                Sleep(10);
            }
            return l_.slideSpeed == 11;
        },
        10000));
}

TEST_F(SettingsPollTest, AFileLeftBrokenStopsNoRebuild) {
    // [folders] of the last whole file is scanned when a change of the
    // folders asks for a rebuild, even while kwivo.ini stays cut inside a
    // UTF-16 character.
    CreateDirectoryA(folder_.File("tools").c_str(), nullptr);
    const std::string settings = "[folders]\r\n" + folder_.File("tools") + "=1\r\n[extensions]\r\nexe=1\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : settings) utf16 += std::string(1, c) + '\0';
    test::WriteTextFile(ini_, utf16);
    l_.settingsWatch.Take();
    test::WriteTextFile(folder_.File("tools\\fresh.exe"), "");
    test::WriteTextFile(ini_, utf16 + "x");  // printf x >> kwivo.ini
    l_.RebuildWhenIdle();
    EXPECT_EQ(l_.catalogue.Count(), 0);  // waits for the file at first
    const std::string fresh = folder_.File("tools\\fresh.exe");
    EXPECT_TRUE(test::WaitFor(
        [&] {
            test::PumpMessages();
            return l_.catalogue.FindPath(fresh.c_str()) != nullptr;
        },
        LauncherWindow::kMaxRebuildWaitMs + 10000));
    EXPECT_EQ(test::ReadTextFile(ini_), utf16 + "x");
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 0);
}

}  // namespace
