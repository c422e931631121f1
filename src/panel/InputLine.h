#pragma once

#include "catalogue/PathText.h"

// The typed text of the strip: at most kMaxLength characters, always
// terminated, held inline.
class InputLine {
public:
    static const int kMaxLength = 256;

    InputLine();
    virtual ~InputLine();

    // Code 8 erases the last character; a code whose low byte is 0 is
    // ignored; any other code is appended as its low byte while there is
    // room, and dropped without notice when there is none.
    void PutChar(unsigned short code);
    void PutText(const char* text);
    void Clear();

    char text[kPathSize];
    int length;
};

// A drive path ("C:\...", any first character) or a network path ("\\...").
int IsAbsolutePath(const char* text);
