#include "settings/ProfileText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "settings/SettingsFile.h"

TEST(ParseInt, ReadsLikeAtoi) {
    EXPECT_EQ(ParseInt("100"), 100);
    EXPECT_EQ(ParseInt("  \t-42xyz"), -42);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("- 5"), 0);
    EXPECT_EQ(ParseInt("12 34"), 12);
}

TEST(ParseInt, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(ParseInt("2147483647"), INT_MAX);
    EXPECT_EQ(ParseInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseInt("2147483648"), INT_MAX);
    EXPECT_EQ(ParseInt("-99999999999999999999999"), INT_MIN);
}

TEST(ParseColour, ThreeNumbersRedInTheLowByte) {
    unsigned int colour = 0;
    ASSERT_EQ(ParseColour("232,95,25", &colour), 1);
    EXPECT_EQ(colour, 0x195FE8u);
    // Blanks before a number are skipped, as scanf's %d does.
    ASSERT_EQ(ParseColour("232, 95,\t25", &colour), 1);
    EXPECT_EQ(colour, 0x195FE8u);
    ASSERT_EQ(ParseColour(" 1,2,3 and more", &colour), 1);
    EXPECT_EQ(colour, 0x030201u);
}

TEST(ParseColour, KeepsTheLowEightBitsOfEachNumber) {
    unsigned int colour = 0;
    ASSERT_EQ(ParseColour("300,0,0", &colour), 1);
    EXPECT_EQ(colour, 44u);
    ASSERT_EQ(ParseColour("-1,0,0", &colour), 1);
    EXPECT_EQ(colour, 255u);
    ASSERT_EQ(ParseColour("0,-1,256", &colour), 1);
    EXPECT_EQ(colour, 0x00FF00u);
}

TEST(ParseColour, RejectsAnythingButThreeNumbers) {
    const char* bad[] = {"232 ,95,25", "232,95", "232;95;25", "", "a,b,c", "1,,3", "1,2,+", "1,2, "};
    for (const char* text : bad) {
        unsigned int colour = 0x123456;
        EXPECT_EQ(ParseColour(text, &colour), 0) << text;
        EXPECT_EQ(colour, 0x123456u) << text;
    }
}

// A section buffer as the platform returns it: lines, each NUL-terminated,
// then one more NUL.
template <size_t N>
void MakeSection(char (&buffer)[N], const char* const* lines, int count) {
    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        size_t n = strlen(lines[i]) + 1;
        ASSERT_LE(at + n + 1, N);
        memcpy(buffer + at, lines[i], n);
        at += n;
    }
    buffer[at] = '\0';
}

TEST(NextEntry, SplitsAtTheLastEqualsSign) {
    const char* lines[] = {"C:\\Tools=3", "D:\\a=b=2", "E:\\Data", ".txt=", "=5"};
    char buffer[128];
    MakeSection(buffer, lines, 5);

    char* cursor = buffer;
    char* key = nullptr;
    char* value = nullptr;
    ASSERT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 1);
    EXPECT_STREQ(key, "C:\\Tools");
    EXPECT_STREQ(value, "3");
    ASSERT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 1);
    EXPECT_STREQ(key, "D:\\a=b");
    EXPECT_STREQ(value, "2");
    ASSERT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 1);
    EXPECT_STREQ(key, "E:\\Data");
    EXPECT_STREQ(value, "");
    ASSERT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 1);
    EXPECT_STREQ(key, ".txt");
    EXPECT_STREQ(value, "");
    ASSERT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 1);
    EXPECT_STREQ(key, "");
    EXPECT_STREQ(value, "5");
    EXPECT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 0);
    // The end stays the end.
    EXPECT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 0);
}

TEST(NextIntEntry, ConvertsTheValueAndGivesZeroWithoutOne) {
    const char* lines[] = {"C:\\Tools=3", "D:\\a=b=2", "E:\\Data", "F:\\x=abc", "G:\\y=-5"};
    char buffer[128];
    MakeSection(buffer, lines, 5);

    char* cursor = buffer;
    char* key = nullptr;
    int value = -1;
    const char* keys[] = {"C:\\Tools", "D:\\a=b", "E:\\Data", "F:\\x", "G:\\y"};
    const int values[] = {3, 2, 0, 0, -5};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(SettingsFile::NextIntEntry(&cursor, &key, &value), 1);
        EXPECT_STREQ(key, keys[i]);
        EXPECT_EQ(value, values[i]);
    }
    value = 77;
    EXPECT_EQ(SettingsFile::NextIntEntry(&cursor, &key, &value), 0);
    EXPECT_EQ(value, 77);
}

TEST(NextEntry, EmptySectionHasNoEntries) {
    char buffer[2] = {'\0', '\0'};
    char* cursor = buffer;
    char* key = nullptr;
    char* value = nullptr;
    EXPECT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 0);
    EXPECT_EQ(cursor, buffer);
}

TEST(DropLastLine, RemovesOnlyTheLastLine) {
    const char* lines[] = {"C:\\Tools=3", "Z:\\"};
    char buffer[64];
    MakeSection(buffer, lines, 2);
    DropLastLine(buffer);
    EXPECT_STREQ(buffer, "C:\\Tools=3");
    EXPECT_EQ(buffer[strlen(buffer) + 1], '\0');  // the section ends after it
    DropLastLine(buffer);
    EXPECT_EQ(buffer[0], '\0');
    DropLastLine(buffer);  // an empty section stays empty
    EXPECT_EQ(buffer[0], '\0');
}

TEST(IsWritableKey, RefusesWhatWouldReadBackAsSomethingElse) {
    for (const char* good : {"C:\\Tools", "x[y]", "a;b", " C:\\x", "\xE9t\xE9", "C:\\a=b"}) {
        EXPECT_EQ(IsWritableKey(good), 1) << good;
    }
    for (const char* bad : {"[hotkey]", "  [x", ";C:\\x", " ;", "a\tb", "a\rb", "a\nb", "\x1f"}) {
        EXPECT_EQ(IsWritableKey(bad), 0) << bad;
    }
}
