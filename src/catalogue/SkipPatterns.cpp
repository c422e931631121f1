#include "catalogue/SkipPatterns.h"

#include <cstdlib>
#include <cstring>

#include "catalogue/PathText.h"

int MatchesWildcard(const char* pattern, const char* name) {
    const char* star = nullptr;  // just after the last "*" met
    const char* resume = nullptr;  // where that "*" takes up the name again
    while (*name) {
        if (*pattern == '*') {
            star = ++pattern;
            resume = name;
        } else if (*pattern && (*pattern == '?' || FoldCase(*pattern) == FoldCase(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            // The last "*" swallows one more character; nothing before it
            // needs to be tried again.
            pattern = star;
            name = ++resume;
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

void SkipPatterns::Take(const char* section) {
    free(patterns);
    patterns = nullptr;
    size_t size = 1;
    for (const char* line = section; *line; line += strlen(line) + 1) size += strlen(line) + 1;
    patterns = static_cast<char*>(malloc(size));
    if (!patterns) return;
    char* out = patterns;
    for (const char* line = section; *line; line += strlen(line) + 1) {
        // The key is what stands before the last "=", as for every section.
        const char* equals = strrchr(line, '=');
        size_t length = equals ? static_cast<size_t>(equals - line) : strlen(line);
        if (length == 0 || length >= static_cast<size_t>(kPathSize) || line[0] == ';') continue;
        memcpy(out, line, length);
        out[length] = '\0';
        if (HasControlCharacter(out)) continue;
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
