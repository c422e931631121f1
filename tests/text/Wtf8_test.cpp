#include "text/Wtf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<Utf16Unit> Units;

std::string Wtf8(const Units& units) {
    char out[64];
    int n = Wtf8FromUtf16(out, sizeof out, units.data(), static_cast<int>(units.size()));
    return n < 0 ? "<no fit>" : std::string(out, static_cast<size_t>(n));
}

Units Utf16(const std::string& bytes) {
    Utf16Unit out[64];
    int n = Utf16FromWtf8(out, 64, bytes.data(), static_cast<int>(bytes.size()));
    return n < 0 ? Units() : Units(out, out + n);
}

TEST(Wtf8, EverySequenceOfUnitsRoundTripsAndEveryCutIsRefused) {
    const struct {
        Units units;
        std::string bytes;
    } cases[] = {
        {{'a', 0x00E9}, "a\xC3\xA9"},                          // Latin-1
        {{0x65E5, 0x672C, 0x30BD}, "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x82\xBD"},  // 日本ソ
        {{0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},                // a pair: one character
        {{0xD800, '.', 'x'}, "\xED\xA0\x80.x"},                // a lone high surrogate
        {{'x', 0xDC00}, "x\xED\xB0\x80"},                      // a lone low one, last
        {{0xDC00, 0xD800}, "\xED\xB0\x80\xED\xA0\x80"},        // reversed: no pair
        {{'a', 0, 'b'}, std::string("a\0b", 3)},               // a unit of 0 inside
    };
    for (const auto& c : cases) {
        const std::string& expected = c.bytes;
        EXPECT_EQ(Wtf8(c.units), expected);
        EXPECT_EQ(Utf16(expected), c.units) << expected;
        // Any smaller buffer: refused whole, never a part of a character.
        for (size_t size = 0; size <= expected.size(); ++size) {
            char out[64] = "x";
            EXPECT_EQ(Wtf8FromUtf16(out, size, c.units.data(), static_cast<int>(c.units.size())), -1) << size;
            if (size > 0) {
                EXPECT_EQ(out[0], '\0');
            }
        }
        for (size_t size = 0; size <= c.units.size(); ++size) {
            Utf16Unit out[64];
            EXPECT_EQ(Utf16FromWtf8(out, size, expected.data(), static_cast<int>(expected.size())), -1);
        }
    }
}

TEST(Wtf8, BytesThatAreNoWtf8AndWhereTheLastCharacterStarts) {
    // Stray, cut, overlong and out-of-range forms: a U+FFFD a byte.
    for (const char* bad : {"\xE9", "\xC3", "\xE6\x97", "\xC0\x80", "\xF5\x80\x80\x80", "\x80"}) {
        Units got = Utf16(bad);
        EXPECT_EQ(got, Units(strlen(bad), 0xFFFD)) << bad;
        EXPECT_EQ(IsWtf8(bad, strlen(bad)), 0) << bad;
    }
    EXPECT_EQ(IsWtf8("a\xC3\xA9\xED\xA0\x80\xF0\x9F\x98\x80", 10), 1);
    EXPECT_EQ(IsWtf8("\xEF\xBF\xBD", 3), 1);  // a real U+FFFD

    const struct {
        const char* text;
        int start;
    } last[] = {{"ab", 1}, {"a\xC3\xA9", 1}, {"a\xE6\x97\xA5", 1}, {"a\xF0\x9F\x98\x80", 1},
                {"\xE9", 0}, {"a\x80\x80", 2}, {"\xC3\xA9\xA9", 2}};
    for (const auto& c : last) {
        EXPECT_EQ(LastCharacterStart(c.text, static_cast<int>(strlen(c.text))), c.start) << c.text;
    }
    EXPECT_EQ(Utf16Length("a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"), 5);
}

}  // namespace
