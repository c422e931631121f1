#pragma once

#include "text/PathText.h"

// The typed text of the strip in WTF-8: at most kMaxLength UTF-16 units, as
// the platform counts them, always terminated, held inline.
class InputLine {
public:
    static const int kMaxLength = kMaxTypedLength;
    static const int kMaxBytes = kMaxTypedBytes;

    InputLine();
    virtual ~InputLine();

    // One UTF-16 unit, as a character message carries it. Code 8 erases the
    // last whole character; 0 is ignored; a surrogate pair (two calls)
    // becomes one character and a surrogate on its own is dropped; anything
    // else is appended while there is room, and dropped without notice when
    // there is none.
    void PutChar(unsigned short code);
    // Appends a WTF-8 text, a character at a time as far as whole
    // characters fit (a backspace in it erases); a lone surrogate, part of
    // a file name, is kept.
    void PutText(const char* source);
    void Clear();

    char text[kMaxBytes + 1];
    int length;  // bytes
    int units;   // UTF-16 units

private:
    // 0 when the character does not fit.
    int Append(unsigned int codePoint);
    unsigned short pendingHigh;  // the first half of a pair, or 0
};

// A drive path ("C:\...", any first character) or a network path ("\\...").
int IsAbsolutePath(const char* text);
