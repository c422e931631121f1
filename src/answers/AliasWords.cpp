#include "answers/AliasWords.h"

#include <cstring>

#include "text/Hash.h"

namespace {

int IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int IsUnreserved(char c) {
    return IsLetter(c) || IsDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

int IsAddress(const char* text) {
    if (!IsLetter(text[0])) return 0;
    int i = 1;
    while (IsLetter(text[i]) || IsDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.') ++i;
    return i >= 2 && text[i] == ':';
}

int TakesWords(const char* target) {
    const char* first = strstr(target, "%s");
    return first && !strstr(first + 2, "%s");
}

int QuoteArgument(char* out, size_t size, const char* words) {
    // Counted first, then written: a result that does not fit is refused.
    size_t used = 0;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1 && used >= size) return -1;
        size_t at = 0;
        if (pass) out[at] = '"';
        ++at;
        size_t backslashes = 0;
        for (const char* p = words;; ++p) {
            if (*p == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes before a quote (the words' own, or the closing
            // one) are doubled; before anything else they stand as they are.
            size_t times = *p == '"' || *p == '\0' ? 2 * backslashes : backslashes;
            for (size_t i = 0; i < times; ++i, ++at) {
                if (pass) out[at] = '\\';
            }
            backslashes = 0;
            if (*p == '\0') break;
            if (*p == '"') {
                if (pass) out[at] = '\\';
                ++at;
            }
            if (pass) out[at] = *p;
            ++at;
        }
        if (pass) {
            out[at] = '"';
            out[at + 1] = '\0';
        }
        used = at + 1;
    }
    return static_cast<int>(used);
}

int HasShellMetacharacters(const char* words) {
    return strpbrk(words, "&|<>^%!\"()\r\n") != nullptr;
}

int PutWords(char* out, size_t size, const char* target, const char* words) {
    if (size == 0) return -1;
    out[0] = '\0';
    if (!TakesWords(target)) return -1;
    const char* mark = strstr(target, "%s");
    const char* after = mark + 2;
    int encode = IsAddress(target);
    // A command line's words become one argument, quoted here; quotes that
    // the target put around "%s" would end that argument's quoting.
    char quoted[1024];
    const char* put = words;
    if (!encode && *words) {
        if (QuoteArgument(quoted, sizeof quoted, words) < 0) return -1;
        put = quoted;
    }
    if (!encode && mark > target && mark[-1] == '"' && *after == '"') {
        --mark;
        ++after;
    }
    // The whole length first: a result that does not fit is refused.
    size_t before = static_cast<size_t>(mark - target);
    size_t length = before + strlen(after);
    for (const char* p = put; *p; ++p) length += !encode || IsUnreserved(*p) ? 1 : 3;
    if (length >= size) return -1;
    memcpy(out, target, before);
    size_t used = before;
    static const char kHex[] = "0123456789ABCDEF";
    for (const char* p = put; *p; ++p) {
        if (!encode || IsUnreserved(*p)) {
            out[used++] = *p;
            continue;
        }
        unsigned char byte = static_cast<unsigned char>(*p);
        out[used++] = '%';
        out[used++] = kHex[byte >> 4];
        out[used++] = kHex[byte & 15];
    }
    memcpy(out + used, after, strlen(after) + 1);
    return static_cast<int>(length);
}
