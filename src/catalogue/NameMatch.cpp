#include "catalogue/NameMatch.h"

#include <cstring>

#include "text/PathText.h"

namespace {

int IsSeparator(char c) {
    return c == ' ' || c == '-' || c == '_' || c == '.' || c == '(';
}

// 1 when a word starts at byte i > 0. A byte inside a multi-byte character
// follows no separator and is no capital, so words start at characters only.
int StartsWord(const char* name, int i) {
    char before = name[i - 1];
    char c = name[i];
    if (IsSeparator(c)) return 0;
    return IsSeparator(before) || (before >= 'a' && before <= 'z' && c >= 'A' && c <= 'Z');
}

// The bytes of the character that starts with this byte.
int CharacterBytes(char lead) {
    unsigned char c = static_cast<unsigned char>(lead);
    return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

}  // namespace

int WordsEnd(const char* name, int isFileName) {
    int length = static_cast<int>(strlen(name));
    if (!isFileName) return length;
    const char* dot = strrchr(name, '.');
    return dot && dot != name ? static_cast<int>(dot - name) : length;
}

unsigned short WordLetters(const char* name, int end) {
    unsigned short bits = 0;
    for (int i = 1; i < end; ++i) {
        if (StartsWord(name, i)) bits = static_cast<unsigned short>(bits | LetterBit(name[i]));
    }
    return bits;
}

int WordStartsWith(const char* name, int end, const char* text, int n) {
    for (int i = 1; i < end; ++i) {
        if (StartsWord(name, i) && EqualFolded(name + i, text, n)) return 1;
    }
    return 0;
}

int InitialsStartWith(const char* name, int end, const char* text, int n) {
    int matched = 0;
    for (int i = 0; i < end && matched < n; ++i) {
        if (i > 0 && !StartsWord(name, i)) continue;
        int bytes = CharacterBytes(name[i]);
        if (matched + bytes > n || !EqualFolded(name + i, text + matched, bytes)) return 0;
        matched += bytes;
    }
    return n > 0 && matched == n;
}
