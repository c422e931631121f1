#include "answers/AliasWords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Put(const char* target, const char* words, size_t size = 512) {
    char out[512];
    return PutWords(out, size, target, words) < 0 ? "refused" : out;
}

TEST(AliasWords, WordsGoIntoAddressesEncodedAndIntoCommandLinesAsTyped) {
    struct Case {
        const char* target;
        const char* words;
        const char* result;
    };
    const Case cases[] = {
        {"https://s.example/?q=%s", "two words", "https://s.example/?q=two%20words"},
        {"https://s.example/?q=%s", "a&b=c?d/e#f%g+h", "https://s.example/?q=a%26b%3Dc%3Fd%2Fe%23f%25g%2Bh"},
        {"https://s.example/?q=%s", "-._~AZaz09", "https://s.example/?q=-._~AZaz09"},  // unreserved
        {"https://s.example/?q=%s", "caf\xC3\xA9", "https://s.example/?q=caf%C3%A9"},
        {"https://s.example/?q=%s", "\xF0\x9F\x98\x80", "https://s.example/?q=%F0%9F%98%80"},  // an emoji
        {"https://s.example/?q=%s&l=en", "", "https://s.example/?q=&l=en"},
        {"mailto:%s", "a b", "mailto:a%20b"},
        {"https://s.example/?q=%s", "", "https://s.example/?q="},
        // A command line's words are one argument, as CommandLineToArgvW
        // reads them back: quotes and the backslashes before them escaped.
        {"notepad.exe %s", "my notes.txt", "notepad.exe \"my notes.txt\""},
        {"C:\\Tools\\edit.exe %s", "a&b", "C:\\Tools\\edit.exe \"a&b\""},  // a drive is no scheme
        {"edit.exe \"%s\" -n", "say \"hi\"", "edit.exe \"say \\\"hi\\\"\" -n"},
        {"edit.exe %s", "C:\\dir\\", "edit.exe \"C:\\dir\\\\\""},
        {"edit.exe %s", "a\\\"b", "edit.exe \"a\\\\\\\"b\""},
        {"edit.exe \"%s\" -n", "", "edit.exe  -n"},  // nothing in their place
        {"https://s.example/?q=%s&r=%s", "x", "refused"},                 // two places
        {"https://s.example/", "x", "refused"},                           // none
    };
    for (const Case& c : cases) EXPECT_EQ(Put(c.target, c.words), c.result) << c.target << " " << c.words;
    // A result that would not fit is refused whole, never cut.
    EXPECT_EQ(Put("https://s.example/?q=%s", "ab", 25), "https://s.example/?q=ab");
    EXPECT_EQ(Put("https://s.example/?q=%s", "a b", 25), "refused");
}

}  // namespace
