#include "settings/SettingsWatch.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Win32Test.h"

namespace {

// Emptied, held by a writer or a folder: SettingsReload_test runs the
// launcher on those. Here, what
// only the bytes tell.
TEST(SettingsWatch, AFileCutInsideAUtf16CharacterIsNotWhole) {
    test::TempFolder folder;
    const std::string ini = folder.File("kwivo.ini");
    SettingsWatch watch(ini.c_str());
    struct Case {
        std::string bytes;
        bool whole;
    } cases[] = {
        {std::string("\xFF\xFE[\0u", 5), false},
        {std::string("\xFE\xFF\0[\0", 5), false},
        {std::string("\xFF\xFE[\0", 4), true},
        {"[ui]", true},  // an odd count is no cut in ANSI
    };
    for (const Case& c : cases) {
        test::WriteTextFile(ini, c.bytes);
        EXPECT_EQ(watch.IsWhole(), c.whole ? 1 : 0) << c.bytes.size() << " bytes";
    }
}

TEST(SettingsWatch, AChangeIsReadOnceSettledAndNotTakenWhenTheFileWentDuringTheRead) {
    test::TempFolder folder;
    const std::string ini = folder.File("kwivo.ini");
    test::WriteTextFile(ini, "[ui]\r\n");
    SettingsWatch watch(ini.c_str());
    watch.Take();
    EXPECT_EQ(watch.Poll(), 0);
    test::WriteTextFile(ini, "[ui]\r\nslidespeed=5\r\n");
    EXPECT_EQ(watch.Poll(), 0);  // seen once: it may still be being written
    EXPECT_EQ(watch.Poll(), 1);

    // Deleted while it is read (a writer may do that much to a held
    // file): what was read may be the defaults, and is not taken.
    ASSERT_TRUE(watch.Hold());
    ASSERT_TRUE(DeleteFileA(ini.c_str()));
    EXPECT_EQ(watch.Release(), 0);
    EXPECT_EQ(watch.Poll(), 0);
    EXPECT_EQ(watch.Poll(), 0);  // not there: nothing to read
    test::WriteTextFile(ini, "[ui]\r\nslidespeed=50\r\n");
    EXPECT_EQ(watch.Poll(), 0);
    EXPECT_EQ(watch.Poll(), 1);
    ASSERT_TRUE(watch.Hold());
    EXPECT_EQ(watch.Release(), 1);
    EXPECT_EQ(watch.Poll(), 0);  // taken

    // Emptied: not even opened, however long it stays so, as an open that
    // keeps writers out would be in the way of the one about to fill it.
    test::WriteTextFile(ini, "");
    EXPECT_EQ(watch.Poll(), 0);
    EXPECT_EQ(watch.Poll(), 0);
}

TEST(SettingsWatch, ASaveOfTheSameSizeAtTheSameTimeIsSeen) {
    // FAT32 keeps times in steps of two seconds: an edit of one digit in
    // that time leaves the time and the size as they were.
    test::TempFolder folder;
    const std::string ini = folder.File("kwivo.ini");
    test::WriteTextFile(ini, "[ui]\r\nslidespeed=5\r\n");
    SettingsWatch watch(ini.c_str());
    watch.Take();
    FILETIME written;
    HANDLE file = CreateFileA(ini.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    test::WriteTextFile(ini, "[ui]\r\nslidespeed=6\r\n");
    file = CreateFileA(ini.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    EXPECT_EQ(watch.Poll(), 0);
    EXPECT_EQ(watch.Poll(), 1);
}

TEST(SettingsWatch, AKwivoIniThatIsALinkIsWatchedWhereItsFileIs) {
    // The link's own folder does not change when the file it points to is
    // saved in a synced folder.
    if (!test::UnderWine()) GTEST_SKIP() << "makes Unix links";
    test::TempFolder folder;
    CreateDirectoryA(folder.File("here").c_str(), nullptr);
    CreateDirectoryA(folder.File("synced").c_str(), nullptr);
    test::WriteTextFile(folder.File("synced\\kwivo.ini"), "[ui]\r\n");
    ASSERT_TRUE(test::RunUnix("cd '" + test::UnixPath(folder.Path()) + "' && ln -s ../synced/kwivo.ini here/kwivo.ini"));
    const std::string link = folder.File("here\\kwivo.ini");
    SettingsWatch watch(link.c_str());
    watch.Take();
    ASSERT_EQ(watch.Notify(), 1);
    test::WriteTextFile(folder.File("synced\\kwivo.ini"), "[ui]\r\nslidespeed=6\r\n");
    EXPECT_EQ(WaitForSingleObject(watch.Handle(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(watch.Poll(), 0);
    EXPECT_EQ(watch.Poll(), 1);
}

}  // namespace
