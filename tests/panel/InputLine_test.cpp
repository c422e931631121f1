#include "panel/InputLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(InputLine, HoldsAtMost256CharactersAndBackspaceStillWorks) {
    InputLine line;
    EXPECT_EQ(line.length, 0);
    EXPECT_STREQ(line.text, "");
    for (int i = 0; i < 300; ++i) line.PutChar(static_cast<unsigned short>('a' + i % 26));
    EXPECT_EQ(line.length, 256);
    EXPECT_EQ(line.text[256], '\0');
    EXPECT_EQ(line.text[255], 'a' + 255 % 26);
    line.PutChar(8);
    EXPECT_EQ(line.length, 255);
    EXPECT_EQ(line.text[255], '\0');
    line.PutChar('!');
    EXPECT_EQ(line.text[255], '!');
}

TEST(InputLine, BackspaceOnEmptyAndLowByteOfCodes) {
    InputLine line;
    line.PutChar(8);
    EXPECT_EQ(line.length, 0);
    EXPECT_STREQ(line.text, "");
    line.PutChar(27);      // Escape is stored like any character
    line.PutChar(0x1E9);  // only the low byte: 0xE9
    line.PutChar(0);      // a 0, by itself or as a low byte, is no character
    line.PutChar(0x100);
    EXPECT_EQ(line.length, 2);
    EXPECT_EQ(line.text[2], '\0');
    EXPECT_EQ(line.text[0], 27);
    EXPECT_EQ(static_cast<unsigned char>(line.text[1]), 0xE9);
    line.Clear();
    EXPECT_EQ(line.length, 0);
    EXPECT_STREQ(line.text, "");
}

TEST(InputLine, PutTextPassesEachByteThroughPutChar) {
    InputLine line;
    line.PutText("ab\x08" "c");  // a pasted backspace erases
    EXPECT_STREQ(line.text, "ac");
    line.PutText("\xE9t\xE9\r\t\\");  // high bytes are never taken for backspace
    EXPECT_EQ(std::string(line.text), "ac\xE9t\xE9\r\t\\");
    line.Clear();
    line.PutText(std::string(300, 'x').c_str());
    EXPECT_EQ(line.length, 256);
}

TEST(IsAbsolutePath, DriveOrTwoBackslashes) {
    EXPECT_EQ(IsAbsolutePath("C:\\"), 1);
    EXPECT_EQ(IsAbsolutePath("c:\\win"), 1);
    EXPECT_EQ(IsAbsolutePath("1:\\"), 1);  // any first character counts as a drive
    EXPECT_EQ(IsAbsolutePath("\\\\"), 1);
    EXPECT_EQ(IsAbsolutePath("\\\\server\\share"), 1);
    EXPECT_EQ(IsAbsolutePath("C:"), 0);
    EXPECT_EQ(IsAbsolutePath("C:x"), 0);
    EXPECT_EQ(IsAbsolutePath("\\"), 0);
    EXPECT_EQ(IsAbsolutePath("\\x"), 0);
    EXPECT_EQ(IsAbsolutePath(""), 0);
    EXPECT_EQ(IsAbsolutePath("notepad"), 0);
}

}  // namespace
