#pragma once

#include <cstddef>

#include "text/PathText.h"

// Text inside the program is WTF-8: UTF-8 that also carries unpaired
// surrogates, three bytes each, so that every sequence of UTF-16 units, and
// so every name the file system can hold, converts to it and back exactly.
// ASCII bytes never occur inside a multi-byte character, so backslashes,
// colons, dots and the A-Z folding work on the bytes as they are. The
// platform is called with UTF-16 (its wide functions). Plain C++, so it also
// builds natively.

#if defined(_WIN32)
typedef wchar_t Utf16Unit;  // the platform's wide character
#else
typedef char16_t Utf16Unit;
#endif

// Converts length units of UTF-16 (-1: up to the terminator) into out,
// terminated; units of 0 inside the length are kept. The bytes written,
// terminator aside, or -1 when they do not fit in size (out is then empty).
int Wtf8FromUtf16(char* out, size_t size, const Utf16Unit* text, int length = -1);
// The reverse, for length bytes (-1: up to the terminator); a byte that
// starts no WTF-8 character gives U+FFFD. The units written, terminator
// aside, or -1 when they do not fit in size (out is then empty).
int Utf16FromWtf8(Utf16Unit* out, size_t size, const char* text, int length = -1);

// The same into arrays, whose size comes from their type: 1 when it fit.
template <size_t N>
int ToUtf16(Utf16Unit (&out)[N], const char* text) {
    return Utf16FromWtf8(out, N, text) >= 0;
}
template <size_t N>
int ToWtf8(char (&out)[N], const Utf16Unit* text) {
    return Wtf8FromUtf16(out, N, text) >= 0;
}

// The halves of a UTF-16 surrogate pair, and the code point they make.
inline int IsHighSurrogate(unsigned int unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline int IsLowSurrogate(unsigned int unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
inline unsigned int JoinSurrogates(unsigned int high, unsigned int low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// 1 for a byte inside a character, not its first.
inline int IsTrailByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
// Past the character that starts at text; a terminator stops the step.
inline const char* NextCharacter(const char* text) {
    do ++text;
    while (IsTrailByte(*text));
    return text;
}

// The character that starts text (of at most length bytes, length > 0): its
// byte count, with its code point (a lone surrogate is one too); a byte that
// starts none counts 1, as U+FFFD.
int DecodeWtf8(const char* text, size_t length, unsigned int* codePoint);
// Writes the code point's 1 to 4 bytes to out; their count.
int EncodeWtf8(unsigned int codePoint, char (&out)[4]);
// Where the last character of a text of length bytes (length > 0) starts.
int LastCharacterStart(const char* text, int length);
// The UTF-16 units of a WTF-8 text of length bytes (-1: up to the
// terminator), as the platform counts its length.
int Utf16Length(const char* text, int length = -1);
// 1 when the bytes are WTF-8 throughout.
int IsWtf8(const char* text, size_t length);

// A WTF-8 name (a path, a section, a key) in UTF-16 for one call of the
// platform's wide functions. ok is 0, and text empty, for a null name or one
// that does not fit a path's units, which no real name reaches.
struct WidePath {
    explicit WidePath(const char* name) : ok(name && ToUtf16(text, name)) {
        if (!ok) text[0] = 0;
    }
    Utf16Unit text[kPathSize];
    int ok;
};
