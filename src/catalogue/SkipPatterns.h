#pragma once

// 1 when the name matches the pattern, letter case aside: "*" stands for any
// run of characters, "?" for any one. At most the product of the two lengths
// in steps, never exponential.
int MatchesWildcard(const char* pattern, const char* name);

// The file-name patterns of the [skip] section: files whose names match are
// left out of the catalogue, whichever folder or shortcut brings them.
class SkipPatterns {
public:
    SkipPatterns();
    virtual ~SkipPatterns();

    // Takes the keys of a section buffer (split in place, as NextEntry
    // splits) as the patterns; a key that is empty, too long for a file name
    // or holds a control character, and a comment, is passed over. Without
    // memory there are no patterns.
    void Take(char* section);
    int Matches(const char* name) const;

private:
    char* patterns;  // each terminated, an empty one after the last
};
