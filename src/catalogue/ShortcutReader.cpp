#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "catalogue/Catalogue.h"
#include "catalogue/ShortcutParser.h"
#include "text/Wtf8.h"

namespace {

// The whole file, when it is no larger than a shell link can sensibly be;
// the caller frees it. Null when it cannot be read.
unsigned char* ReadSmallFile(const char* path, size_t* length) {
    wchar_t widePath[kPathSize];
    if (!ToUtf16(widePath, path)) return nullptr;
    HANDLE file = CreateFileW(widePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    unsigned char* data = nullptr;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) <= kMaxShortcutBytes) {
        DWORD wanted = static_cast<DWORD>(size.QuadPart);
        DWORD read = 0;
        data = static_cast<unsigned char*>(malloc(wanted));
        if (data && (!ReadFile(file, data, wanted, &read, nullptr) || read != wanted)) {
            free(data);
            data = nullptr;
        }
        *length = wanted;
    }
    CloseHandle(file);
    return data;
}

}  // namespace

static_assert(kPathSize == MAX_PATH, "path buffers are the platform's MAX_PATH");

int Catalogue::ReadShortcutTarget(char (&output)[kPathBytes], const char* path, int* exists) {
    size_t length = 0;
    unsigned char* data = ReadSmallFile(path, &length);
    if (!data) return 0;
    char target[kPathBytes];
    int found = ParseShortcutTarget(data, length, target);
    free(data);
    wchar_t wide[kPathSize];
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
