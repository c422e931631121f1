#include "text/Wtf8.h"

namespace {

const unsigned int kReplacement = 0xFFFD;

// A character's bytes after the lead byte, with the least code point that
// takes that many (a smaller one would be an overlong form); -1 for a byte
// that leads none.
int TrailCount(unsigned char lead, unsigned int* least) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        *least = 0x80;
        return 1;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        *least = 0x800;
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        *least = 0x10000;
        return 3;
    }
    return -1;
}

}  // namespace

int DecodeWtf8(const char* text, size_t length, unsigned int* codePoint) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    *codePoint = kReplacement;
    if (p[0] < 0x80) {
        *codePoint = p[0];
        return 1;
    }
    unsigned int least = 0;
    int trail = TrailCount(p[0], &least);
    if (trail < 0 || static_cast<size_t>(trail) >= length) return 1;
    unsigned int value = p[0] & (0x3Fu >> trail);
    for (int i = 1; i <= trail; ++i) {
        if (!IsTrailByte(static_cast<char>(p[i]))) return 1;
        value = value << 6 | (p[i] & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF) return 1;
    *codePoint = value;
    return trail + 1;
}

int EncodeWtf8(unsigned int codePoint, char (&out)[4]) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    int trail = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
    static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    out[0] = static_cast<char>(kLead[trail] | (codePoint >> (6 * trail)));
    for (int i = 1; i <= trail; ++i) {
        out[i] = static_cast<char>(0x80 | ((codePoint >> (6 * (trail - i))) & 0x3F));
    }
    return trail + 1;
}

int Wtf8FromUtf16(char* out, size_t size, const Utf16Unit* text, int length) {
    if (size == 0) return -1;
    size_t used = 0;
    for (int i = 0; length < 0 ? text[i] != 0 : i < length; ++i) {
        unsigned int unit = static_cast<unsigned short>(text[i]);
        // A pair is one character; a surrogate on its own is kept as it is.
        if (IsHighSurrogate(unit) && (length < 0 || i + 1 < length) &&
            IsLowSurrogate(static_cast<unsigned short>(text[i + 1]))) {
            unit = JoinSurrogates(unit, static_cast<unsigned short>(text[++i]));
        }
        char bytes[4];
        int n = EncodeWtf8(unit, bytes);
        if (used + static_cast<size_t>(n) >= size) {
            out[0] = '\0';
            return -1;
        }
        for (int k = 0; k < n; ++k) out[used++] = bytes[k];
    }
    out[used] = '\0';
    return static_cast<int>(used);
}

int Utf16FromWtf8(Utf16Unit* out, size_t size, const char* text, int length) {
    if (size == 0) return -1;
    size_t total = 0;
    if (length < 0) {
        while (text[total]) ++total;
    } else {
        total = static_cast<size_t>(length);
    }
    size_t used = 0;
    for (size_t at = 0; at < total;) {
        unsigned int codePoint;
        at += static_cast<size_t>(DecodeWtf8(text + at, total - at, &codePoint));
        size_t units = codePoint >= 0x10000 ? 2 : 1;
        if (used + units >= size) {
            out[0] = 0;
            return -1;
        }
        if (units == 2) {
            codePoint -= 0x10000;
            out[used++] = static_cast<Utf16Unit>(0xD800 + (codePoint >> 10));
            codePoint = 0xDC00 + (codePoint & 0x3FF);
        }
        out[used++] = static_cast<Utf16Unit>(codePoint);
    }
    out[used] = 0;
    return static_cast<int>(used);
}

int LastCharacterStart(const char* text, int length) {
    int start = length - 1;
    for (int back = 0; start > 0 && back < 3 && IsTrailByte(text[start]); ++back) {
        --start;
    }
    unsigned int codePoint;
    // The continuation bytes must belong to the lead byte found; otherwise
    // the last byte stands alone.
    if (DecodeWtf8(text + start, static_cast<size_t>(length - start), &codePoint) == length - start) return start;
    return length - 1;
}

int Utf16Length(const char* text, int length) {
    // A unit for each character, two for one of four bytes.
    int units = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; length < 0 ? p[i] != 0 : i < length; ++i) {
        units += !IsTrailByte(static_cast<char>(p[i])) + (p[i] >= 0xF0);
    }
    return units;
}

int IsWtf8(const char* text, size_t length) {
    for (size_t at = 0; at < length;) {
        unsigned int codePoint;
        int n = DecodeWtf8(text + at, length - at, &codePoint);
        // The one-byte U+FFFD of a stray byte, not a real U+FFFD.
        if (n == 1 && static_cast<unsigned char>(text[at]) >= 0x80) return 0;
        at += static_cast<size_t>(n);
    }
    return 1;
}
