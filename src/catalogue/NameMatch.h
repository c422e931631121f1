#pragma once

#include "text/TextFold.h"

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
    return static_cast<unsigned short>(1u << (static_cast<unsigned char>(FoldCase(c)) & 15));
}
// The bits of the letters that start the words after the first: a name
// whose bits miss the typed text's first letter has no word starting with it.
unsigned short WordLetters(const char* name, int end);
// 1 when a word after the first begins with the n bytes of the text.
int WordStartsWith(const char* name, int end, const char* text, int n);
// 1 when the initials of the words (a character each) begin with the n
// bytes of the text.
int InitialsStartWith(const char* name, int end, const char* text, int n);
// The name folded for lookups with accents aside ([misc] accents=1), word
// by word, with the first letter of each word after the first put back in
// capitals: the words of the folded form, and so its word starts and
// initials, are those of the name as written ("ÜberBlick" gives
// "uberBlick"). end is where the name's words end. The bytes written, or -1
// when the name cannot be folded or does not fit in size.
int FoldWords(const TextFold& fold, char* out, int size, const char* name, int end);
