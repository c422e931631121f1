#pragma once

#include <cstring>

#include "text/TextFold.h"

// Helpers for the path texts (WTF-8, see Wtf8.h) that the catalogue, the
// settings readers and the strip share. Plain C++, so they also build
// natively.

// The most a typed text holds: UTF-16 units, as the platform counts them,
// and the WTF-8 bytes they take at most.
const int kMaxTypedLength = 256;
const int kMaxTypedBytes = 3 * kMaxTypedLength;

// UTF-16 units of a path, terminator included: the platform's MAX_PATH,
// beyond which its file functions take no path.
const int kPathSize = 260;
// Bytes of a path's WTF-8 form, terminator included: at most three bytes a
// unit (a surrogate pair is four bytes for two units).
const int kPathBytes = 3 * (kPathSize - 1) + 1;

// 1 when the text holds a byte below 32: a line break, a tab, a control key.
inline int HasControlCharacter(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 32) return 1;
    }
    return 0;
}

// The part of a path after its last backslash.
inline const char* FileNameOf(const char* path) {
    const char* backslash = strrchr(path, '\\');
    return backslash ? backslash + 1 : path;
}

// 1 for the "." and ".." entries that a folder search returns, in either
// of the platform's character widths.
template <typename Char>
inline int IsDotName(const Char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}
