#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "catalogue/Catalogue.h"
#include "catalogue/ShortcutParser.h"

namespace {

// The whole file, when it is no larger than a shell link can sensibly be;
// the caller frees it. Null when it cannot be read.
unsigned char* ReadSmallFile(const char* path, size_t* length) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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

int Catalogue::ReadShortcutTarget(char (&output)[kPathSize], const char* path) {
    size_t length = 0;
    unsigned char* data = ReadSmallFile(path, &length);
    if (!data) return 0;
    char target[kPathSize];
    int found = ParseShortcutTarget(data, length, target);
    free(data);
    if (!found) return 0;

    // The long form when the target exists and it fits; the stored path
    // otherwise (a missing target still names the file).
    DWORD n = GetLongPathNameA(target, output, sizeof output);
    if (n == 0 || n >= sizeof output) memcpy(output, target, strlen(target) + 1);
    return 1;
}
