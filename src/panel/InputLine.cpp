#include "panel/InputLine.h"

#include "text/Wtf8.h"

InputLine::InputLine() : length(0), units(0), pendingHigh(0) {
    text[0] = '\0';
}

InputLine::~InputLine() {}

int InputLine::Append(unsigned int codePoint) {
    int needed = codePoint >= 0x10000 ? 2 : 1;
    if (units + needed > kMaxLength) return 0;
    char bytes[4];
    int n = EncodeWtf8(codePoint, bytes);
    for (int i = 0; i < n; ++i) text[length++] = bytes[i];
    text[length] = '\0';
    units += needed;
    return 1;
}

void InputLine::PutChar(unsigned short code) {
    unsigned short high = pendingHigh;
    pendingHigh = 0;
    if (IsHighSurrogate(code)) {
        pendingHigh = code;  // the pair's second half comes next
    } else if (IsLowSurrogate(code)) {
        if (high) Append(JoinSurrogates(high, code));
    } else if (code == 8) {
        if (length == 0) return;
        int start = LastCharacterStart(text, length);
        units -= length - start == 4 ? 2 : 1;
        length = start;
        text[length] = '\0';
    } else if (code != 0) {
        Append(code);
    }
}

void InputLine::PutText(const char* source) {
    for (int at = 0; source[at];) {
        unsigned int codePoint;
        int n = DecodeWtf8(source + at, 4, &codePoint);
        at += n;
        if (codePoint == 8) {
            PutChar(8);
        } else if (!Append(codePoint)) {
            break;
        }
    }
}

void InputLine::Clear() {
    length = 0;
    units = 0;
    pendingHigh = 0;
    text[0] = '\0';
}

int IsAbsolutePath(const char* text) {
    if (text[0] == '\0') return 0;
    if (text[0] == '\\' && text[1] == '\\') return 1;
    return text[1] == ':' && text[2] == '\\';
}
