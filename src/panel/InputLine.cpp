#include "panel/InputLine.h"

InputLine::InputLine() : length(0) {
    text[0] = '\0';
}

InputLine::~InputLine() {}

void InputLine::PutChar(unsigned short code) {
    if (code == 8) {
        if (length > 0) --length;
    } else if ((code & 0xFF) == 0) {
        // A stored 0 would end the text early while length counts past it.
        return;
    } else if (length < kMaxLength) {
        text[length++] = static_cast<char>(code & 0xFF);
    }
    text[length] = '\0';
}

void InputLine::PutText(const char* source) {
    // Each byte sign-extended, as a character message would carry it: a byte
    // above 127 is stored unchanged and can never be taken for a backspace.
    for (const char* p = source; *p; ++p) {
        PutChar(static_cast<unsigned short>(static_cast<short>(static_cast<signed char>(*p))));
    }
}

void InputLine::Clear() {
    length = 0;
    text[0] = '\0';
}

int IsAbsolutePath(const char* text) {
    if (text[0] == '\0') return 0;
    if (text[0] == '\\' && text[1] == '\\') return 1;
    return text[1] == ':' && text[2] == '\\';
}
