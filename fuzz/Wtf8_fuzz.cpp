// libFuzzer target: any 16-bit units convert to WTF-8 and back exactly; any
// bytes given as WTF-8 convert, decode and step back within their bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "panel/InputLine.h"
#include "text/Wtf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int count = static_cast<int>(size / 2 < 512 ? size / 2 : 512);
    Utf16Unit units[512];
    for (int i = 0; i < count; ++i) units[i] = static_cast<Utf16Unit>(data[2 * i] | data[2 * i + 1] << 8);
    char bytes[3 * 512 + 1];
    int n = Wtf8FromUtf16(bytes, sizeof bytes, units, count);
    if (n < 0 || !IsWtf8(bytes, static_cast<size_t>(n))) abort();
    Utf16Unit back[513];
    if (Utf16FromWtf8(back, 513, bytes, n) != count || memcmp(back, units, count * sizeof *units) != 0) abort();

    // The bytes themselves, into a buffer that may be too small.
    const char* text = reinterpret_cast<const char*>(data);
    Utf16Unit small[16];
    Utf16FromWtf8(small, 16, text, static_cast<int>(size));
    IsWtf8(text, size);
    if (size > 0 && LastCharacterStart(text, static_cast<int>(size)) >= static_cast<int>(size)) abort();
    // Typed unit by unit, the line stays WTF-8 within its bound.
    InputLine line;
    for (int i = 0; i < count; ++i) line.PutChar(static_cast<unsigned short>(units[i]));
    if (line.units > InputLine::kMaxLength || !IsWtf8(line.text, static_cast<size_t>(line.length))) abort();
    return 0;
}
