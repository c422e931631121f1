#include "files/WholeFile.h"

#include <windows.h>

#include <cstdlib>

#include "text/Wtf8.h"

char* ReadWholeFile(const wchar_t* path, size_t maxBytes, size_t* length) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size;
    char* data = nullptr;
    if (GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= maxBytes) {
        DWORD wanted = static_cast<DWORD>(size.QuadPart);
        DWORD read = 0;
        data = static_cast<char*>(malloc(static_cast<size_t>(wanted) + 1));
        if (data && (!ReadFile(file, data, wanted, &read, nullptr) || read != wanted)) {
            free(data);
            data = nullptr;
        }
        *length = wanted;
    }
    CloseHandle(file);
    return data;
}

DWORD FileAttributes(const char* path) {
    WidePath wide(path);
    return wide.ok ? GetFileAttributesW(wide.text) : INVALID_FILE_ATTRIBUTES;
}
