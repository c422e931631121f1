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

TEST(InputLine, BackspaceOnEmptyAndEveryUnitAsACharacter) {
    InputLine line;
    line.PutChar(8);
    EXPECT_EQ(line.length, 0);
    EXPECT_STREQ(line.text, "");
    line.PutChar(27);     // Escape is stored like any character
    line.PutChar(0x1E9);  // a whole UTF-16 unit: U+01E9
    line.PutChar(0);      // a 0 is no character
    line.PutChar(0x100);
    EXPECT_EQ(std::string(line.text), "\x1B\xC7\xA9\xC4\x80");
    EXPECT_EQ(line.units, 3);
    line.Clear();
    EXPECT_EQ(line.length, 0);
    EXPECT_EQ(line.units, 0);
    EXPECT_STREQ(line.text, "");
}

TEST(InputLine, PairsBecomeOneCharacterAndBackspaceErasesWholeOnes) {
    InputLine line;
    line.PutChar(0x00E9);  // two bytes
    line.PutChar(0x65E5);  // three
    line.PutChar(0xD83D);  // a pair: four
    line.PutChar(0xDE00);
    line.PutChar(0xDC00);  // a low surrogate alone is dropped
    line.PutChar(0xD800);  // and a high one that no low one follows
    line.PutChar('a');
    EXPECT_EQ(std::string(line.text), "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80" "a");
    EXPECT_EQ(line.units, 5);
    for (int expected : {10, 9, 5, 2, 0}) {
        EXPECT_EQ(line.length, expected);
        line.PutChar(8);
    }
    EXPECT_EQ(line.units, 0);

    // 256 units at most: a pair that would take the 257th is dropped whole.
    for (int i = 0; i < 255; ++i) line.PutChar('x');
    line.PutChar(0xD83D);
    line.PutChar(0xDE00);
    EXPECT_EQ(line.units, 255);
    line.PutChar(0x65E5);
    EXPECT_EQ(line.units, 256);
    EXPECT_EQ(line.length, 258);
}

TEST(InputLine, PutTextTakesWholeCharactersAsFarAsTheyFit) {
    InputLine line;
    line.PutText("ab\x08" "c");  // a pasted backspace erases
    EXPECT_STREQ(line.text, "ac");
    line.PutText("\xC3\xA9t\xED\xA0\x80\r\t\\");  // a lone surrogate of a name is kept
    EXPECT_EQ(std::string(line.text), "ac\xC3\xA9t\xED\xA0\x80\r\t\\");
    line.Clear();
    line.PutText((std::string(255, 'x') + "\xF0\x9F\x98\x80" "y").c_str());
    EXPECT_EQ(line.length, 255);  // the pair does not fit, and nothing after it is taken
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
