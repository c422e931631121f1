#pragma once

#include <cstddef>

#if defined(__GNUC__)
#define KWIVO_FORMAT_CHECK(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define KWIVO_FORMAT_CHECK(formatIndex, firstArgument)
#endif

// printf-style formatting through the C runtime DLL that Windows ships, so
// the program links no formatter of its own (natively, the C library's). The buffer always ends
// terminated. The length of the text when it fit whole; -1 when it was cut
// (the buffer then holds as much as fit) or the size is 0.
int FormatText(char* out, size_t size, const char* format, ...) KWIVO_FORMAT_CHECK(3, 4);
