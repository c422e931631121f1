#include <windows.h>

#include <cstdlib>

#include "panel/Picks.h"

int Picks::Load(const char* fileName) {
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    // The newest picks are the last lines: a longer file is read from
    // kMaxFileBytes before its end, with the byte before them, which tells
    // whether the first line read is whole.
    LARGE_INTEGER size;
    LARGE_INTEGER start = {};
    int ok = GetFileSizeEx(file, &size);
    if (ok && size.QuadPart > static_cast<LONGLONG>(kMaxFileBytes)) {
        start.QuadPart = size.QuadPart - static_cast<LONGLONG>(kMaxFileBytes) - 1;
    }
    char* text = static_cast<char*>(malloc(kMaxFileBytes + 1));
    DWORD read = 0;
    ok = ok && text && SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
         ReadFile(file, text, static_cast<DWORD>(kMaxFileBytes + 1), &read, nullptr);
    CloseHandle(file);
    if (ok) {
        size_t begin = 0;
        // Read from its middle, the file's first line is a part of a pick:
        // dropped, up to its line break.
        if (start.QuadPart > 0) {
            while (begin < read && text[begin] != '\n') ++begin;
            if (begin < read) ++begin;
        }
        Parse(text + begin, read - begin);
    }
    free(text);
    return ok;
}

int Picks::Save(const char* fileName, const char* temporaryName) const {
    size_t length = 0;
    char* text = Format(&length);
    if (!text) return 0;
    HANDLE file = CreateFileA(temporaryName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    int ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        DWORD written = 0;
        ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) && written == length &&
             FlushFileBuffers(file);
        CloseHandle(file);
        ok = ok && MoveFileExA(temporaryName, fileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) DeleteFileA(temporaryName);
    }
    free(text);
    return ok;
}
