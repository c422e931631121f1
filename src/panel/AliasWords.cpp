#include "panel/AliasWords.h"

#include <cstring>

#include "text/Hash.h"

namespace {

int IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int IsUnreserved(char c) {
    return IsLetter(c) || IsDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

// 1 when the target holds "%s" once: it takes words.
int TakesWords(const char* target) {
    const char* first = strstr(target, "%s");
    return first && !strstr(first + 2, "%s");
}

}  // namespace

int IsAddress(const char* text) {
    if (!IsLetter(text[0])) return 0;
    int i = 1;
    while (IsLetter(text[i]) || IsDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.') ++i;
    return i >= 2 && text[i] == ':';
}

int PutWords(char* out, size_t size, const char* target, const char* words) {
    if (size == 0) return -1;
    out[0] = '\0';
    if (!TakesWords(target)) return -1;
    const char* mark = strstr(target, "%s");
    int encode = IsAddress(target);
    // The whole length first: a result that does not fit is refused.
    size_t before = static_cast<size_t>(mark - target);
    size_t length = before + strlen(mark + 2);
    for (const char* p = words; *p; ++p) length += !encode || IsUnreserved(*p) ? 1 : 3;
    if (length >= size) return -1;
    memcpy(out, target, before);
    size_t used = before;
    static const char kHex[] = "0123456789ABCDEF";
    for (const char* p = words; *p; ++p) {
        if (!encode || IsUnreserved(*p)) {
            out[used++] = *p;
            continue;
        }
        unsigned char byte = static_cast<unsigned char>(*p);
        out[used++] = '%';
        out[used++] = kHex[byte >> 4];
        out[used++] = kHex[byte & 15];
    }
    memcpy(out + used, mark + 2, strlen(mark + 2) + 1);
    return static_cast<int>(length);
}
