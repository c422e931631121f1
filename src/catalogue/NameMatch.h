#pragma once

// Word starts and initials of a name ([misc] words=1). A word begins at the
// start of the name, after a space, "-", "_", "." or "(", and at a capital
// that follows a small letter. Only the first end bytes of the name hold
// words: a file name's extension is none. Letter case aside, A-Z only, as
// the catalogue compares. Plain C++, so it also builds natively.

// Where the words of a name end: at its extension's dot for a file name
// (a dot that starts the name is no extension), else at its end.
int WordsEnd(const char* name, int isFileName);
// A bit for what a word may start with (the byte, A-Z folded), in 16 bits.
inline unsigned short LetterBit(char c) {
    unsigned char folded = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
    return static_cast<unsigned short>(1u << (folded & 15));
}
// The bits of the letters that start the words after the first: a name
// whose bits miss the typed text's first letter has no word starting with it.
unsigned short WordLetters(const char* name, int end);
// 1 when a word after the first begins with the n bytes of the text.
int WordStartsWith(const char* name, int end, const char* text, int n);
// 1 when the initials of the words (a character each) begin with the n
// bytes of the text.
int InitialsStartWith(const char* name, int end, const char* text, int n);
