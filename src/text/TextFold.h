#pragma once

// The two folds that matching uses. Plain C++, so they also build natively.

// Letter case aside the way every lookup compares: 'A'-'Z' onto 'a'-'z',
// every other byte unchanged, whatever the code page.
inline char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares at most n characters, letter case aside, stopping at a terminator
// that both share; 1 when equal.
inline int EqualFolded(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return 0;
        if (a[i] == '\0') return 1;
    }
    return 1;
}

// 1 when the text of the given length ends with the suffix of the given
// length, letter case aside.
inline int EndsWithFolded(const char* text, int length, const char* suffix, int suffixLength) {
    return suffixLength >= 0 && length >= suffixLength &&
           EqualFolded(text + length - suffixLength, suffix, suffixLength);
}

// Letter case and accents aside ([misc] accents=1): "Câmera" and "CAMERA"
// both become "camera". An interface, so that the portable code and its
// tests can take a mapping of their own; the system's tables are in
// SystemTextFold.
class TextFold {
public:
    virtual ~TextFold() {}

    // Folds length bytes of WTF-8 into out (size bytes, terminated): the
    // bytes written, or -1 when the text cannot be folded or does not fit.
    virtual int Fold(char* out, int size, const char* text, int length) const = 0;
};
