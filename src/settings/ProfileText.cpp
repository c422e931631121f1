#include "settings/ProfileText.h"

#include <climits>
#include <cstring>

#include "text/Hash.h"
#include "text/PathText.h"
#include "settings/SettingsFile.h"
#include "text/Wtf8.h"

namespace {

int IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Reads an optional sign and at least one digit at *cursor, moving the cursor
// past them; 0 when no digit follows.
int ReadNumber(const char** cursor, int* value) {
    const char* p = *cursor;
    int negative = 0;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9') return 0;
    long long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (n <= INT_MAX) n = n * 10 + (*p - '0');  // stays far from overflow
    }
    if (negative) n = -n;
    if (n > INT_MAX) n = INT_MAX;
    if (n < INT_MIN) n = INT_MIN;
    *value = static_cast<int>(n);
    *cursor = p;
    return 1;
}

}  // namespace

int ParseInt(const char* text) {
    while (IsBlank(*text)) ++text;
    int value = 0;
    ReadNumber(&text, &value);
    return value;
}

int ParseColour(const char* text, unsigned int* colour) {
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && *text++ != ',') return 0;
        while (IsBlank(*text)) ++text;
        if (!ReadNumber(&text, &rgb[i])) return 0;
    }
    *colour = (static_cast<unsigned int>(rgb[2]) & 0xFF) << 16 |
              (static_cast<unsigned int>(rgb[1]) & 0xFF) << 8 |
              (static_cast<unsigned int>(rgb[0]) & 0xFF);
    return 1;
}

void DropLastLine(char* section) {
    char* last = nullptr;
    for (char* line = section; *line; line += strlen(line) + 1) last = line;
    if (last) *last = '\0';
}

int IsWritableKey(const char* key) {
    if (HasControlCharacter(key)) return 0;
    const char* first = key;
    while (*first == ' ') ++first;
    return *first != '[' && *first != ';';
}

int SettingsFile::NextEntry(char** cursor, char** key, char** value) {
    char* line = *cursor;
    char* end = line;
    while (*end) ++end;
    if (end == line) return 0;
    *cursor = end + 1;

    // The last "=" splits, so a key (a folder path, say) may hold "=" itself.
    char* equals = nullptr;
    for (char* p = line; p < end; ++p) {
        if (*p == '=') equals = p;
    }
    *key = line;
    if (equals) {
        *equals = '\0';
        *value = equals + 1;
    } else {
        *value = end;  // the line's own terminator: an empty value
    }
    return 1;
}

int SettingsFile::NextIntEntry(char** cursor, char** key, int* value) {
    char* text;
    if (!NextEntry(cursor, key, &text)) return 0;
    *value = ParseInt(text);
    return 1;
}

int SettingsEncoding(const char* bytes, size_t length, int ansiIsUtf8) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (length >= 2 && b[0] == 0xFF && b[1] == 0xFE) return kSettingsUtf16Le;
    if (length >= 2 && b[0] == 0xFE && b[1] == 0xFF) return kSettingsUtf16Be;
    if (length >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return kSettingsUtf8Mark;
    if (ansiIsUtf8) return kSettingsAnsi;
    size_t at = 0;
    while (at < length && b[at] < 0x80) ++at;
    return at < length && IsWtf8(bytes + at, length - at) ? kSettingsUtf8 : kSettingsAnsi;
}

size_t SettingsMarkLength(int encoding) {
    return encoding == kSettingsUtf8Mark ? 3 : encoding == kSettingsUtf16Le || encoding == kSettingsUtf16Be ? 2 : 0;
}

unsigned long long DigestSection(const char* section, unsigned long long digest) {
    // Each line with its NUL, so that "ab" "c" and "a" "bc" differ; up to
    // the empty line that ends the section.
    for (const char* line = section; *line;) {
        do {
            digest = HashStep(digest, static_cast<unsigned char>(*line));
        } while (*line++);
    }
    return digest;
}
