#include "text/TextFormat.h"

#include <cstdarg>
#include <cstdio>

int FormatText(char* out, size_t size, const char* format, ...) {
    if (size == 0) return -1;
    // _vsnprintf leaves a text of exactly count characters unterminated and
    // answers -1 for a longer one: one place is kept for the terminator.
    va_list arguments;
    va_start(arguments, format);
#if defined(_WIN32)
    int n = _vsnprintf(out, size - 1, format, arguments);
#else
    // The native build of the portable code, for its tests.
    int n = vsnprintf(out, size, format, arguments);
    if (n >= static_cast<int>(size)) n = -1;
#endif
    va_end(arguments);
    out[size - 1] = '\0';
    return n;
}
