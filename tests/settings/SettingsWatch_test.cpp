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

}  // namespace
