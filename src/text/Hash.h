#pragma once

#include <cstddef>

// The one hash of the program: 64-bit FNV-1a, folded one value at a time so
// that a caller can hash bytes, UTF-16 units or a transformed text in a
// single pass. Plain C++, so it also builds natively.
const unsigned long long kHashStart = 14695981039346656037ULL;

inline unsigned long long HashStep(unsigned long long hash, unsigned int value) {
    return (hash ^ value) * 1099511628211ULL;
}

// Bytes of a buffer, folded into hash.
inline unsigned long long HashBytes(unsigned long long hash, const void* data, size_t length) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < length; ++i) hash = HashStep(hash, p[i]);
    return hash;
}

// The 64 bits folded to 32, so that the low bits that pick a slot depend on
// every byte.
inline unsigned int HashFold32(unsigned long long hash) {
    return static_cast<unsigned int>(hash ^ (hash >> 32));
}

// '0' to '9', whatever the locale.
inline int IsDigit(char c) {
    return c >= '0' && c <= '9';
}
