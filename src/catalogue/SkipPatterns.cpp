#include "catalogue/SkipPatterns.h"

#include <cstdlib>
#include <cstring>

#include "text/PathText.h"
#include "text/Wtf8.h"
#include "settings/SettingsFile.h"

int MatchesWildcard(const char* pattern, const char* name) {
    const char* star = nullptr;  // just after the last "*" met
    const char* resume = nullptr;  // where that "*" takes up the name again
    while (*name) {
        if (*pattern == '*') {
            star = ++pattern;
            resume = name;
        } else if (*pattern == '?') {
            ++pattern;
            name = NextCharacter(name);
        } else if (*pattern && FoldCase(*pattern) == FoldCase(*name)) {
            ++pattern;
            ++name;
        } else if (star) {
            // The last "*" swallows one more character; nothing before it
            // needs to be tried again.
            pattern = star;
            name = resume = NextCharacter(resume);
        } else {
            return 0;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

SkipPatterns::SkipPatterns() : patterns(nullptr) {}

SkipPatterns::~SkipPatterns() {
    free(patterns);
}

void SkipPatterns::Take(char* section) {
    free(patterns);
    patterns = nullptr;
    size_t size = 1;
    for (const char* line = section; *line; line += strlen(line) + 1) size += strlen(line) + 1;
    patterns = static_cast<char*>(malloc(size));
    if (!patterns) return;
    char* out = patterns;
    char* key;
    char* value;
    while (SettingsFile::NextEntry(&section, &key, &value)) {
        size_t length = strlen(key);
        if (length == 0 || Utf16Length(key) >= kPathSize || key[0] == ';' ||
            HasControlCharacter(key)) {
            continue;
        }
        memcpy(out, key, length + 1);
        out += length + 1;
    }
    *out = '\0';
}

int SkipPatterns::Matches(const char* name) const {
    if (!patterns) return 0;
    for (const char* pattern = patterns; *pattern; pattern += strlen(pattern) + 1) {
        if (MatchesWildcard(pattern, name)) return 1;
    }
    return 0;
}
