#include <windows.h>

#include <cstdlib>

#include "catalogue/Catalogue.h"
#include "catalogue/ShortcutParser.h"
#include "text/Wtf8.h"
#include "files/WholeFile.h"

static_assert(kPathSize == MAX_PATH, "path buffers are the platform's MAX_PATH");

int Catalogue::ReadShortcutTarget(char (&output)[kPathBytes], const char* path, int* exists) {
    // The whole file, when it is no larger than a shell link can sensibly be.
    wchar_t wide[kPathSize];
    size_t length = 0;
    char* data = ToUtf16(wide, path) ? ReadWholeFile(wide, kMaxShortcutBytes, &length) : nullptr;
    if (!data) return 0;
    char target[kPathBytes];
    int found = ParseShortcutTarget(reinterpret_cast<unsigned char*>(data), length, target);
    free(data);
    // The ANSI fields in the system's code page, which the link was made in.
    if (found == kShortcutAnsi) {
        if (!MultiByteToWideChar(CP_ACP, 0, target, -1, wide, kPathSize)) return 0;
    } else if (!found || !ToUtf16(wide, target)) {
        return 0;
    }

    // The long form when the target exists and it fits; the stored path
    // otherwise (a missing target still names the file).
    wchar_t longForm[kPathSize];
    DWORD n = GetLongPathNameW(wide, longForm, kPathSize);
    if (exists) *exists = n > 0;
    return ToWtf8(output, n > 0 && n < static_cast<DWORD>(kPathSize) ? longForm : wide);
}
