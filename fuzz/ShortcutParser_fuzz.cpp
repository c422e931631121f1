// libFuzzer target: any bytes given as a shell link file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "catalogue/ShortcutParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char target[kPathBytes];
    if (ParseShortcutTarget(data, size, target)) {
        // A target is never empty and always fits with its terminator.
        size_t n = strnlen(target, sizeof target);
        if (n == 0 || n >= sizeof target) abort();
    }
    return 0;
}
