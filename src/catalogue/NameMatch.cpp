#include "catalogue/NameMatch.h"

#include <cstring>

#include "text/PathText.h"
#include "text/TextFold.h"
#include "text/Wtf8.h"

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
        int bytes = static_cast<int>(NextCharacter(name + i) - (name + i));
        if (matched + bytes > n || !EqualFolded(name + i, text + matched, bytes)) return 0;
        matched += bytes;
    }
    return n > 0 && matched == n;
}

int FoldWords(const TextFold& fold, char* out, int size, const char* name, int end) {
    int length = static_cast<int>(strlen(name));
    int used = 0;
    for (int start = 0; start < length;) {
        // The next word's start, or the name's end: the rest after the
        // words (an extension) is one piece.
        int next = start + 1;
        while (next < length && !(next < end && StartsWord(name, next))) ++next;
        int n = fold.Fold(out + used, size - used, name + start, next - start);
        if (n < 0) return -1;
        if (start > 0 && out[used] >= 'a' && out[used] <= 'z') out[used] = static_cast<char>(out[used] - 'a' + 'A');
        used += n;
        start = next;
    }
    if (used >= size) return -1;
    out[used] = '\0';
    return used;
}
