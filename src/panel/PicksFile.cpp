#include <windows.h>

#include <cstdlib>

#include "panel/Picks.h"

int Picks::Load(const char* fileName) {
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char* text = static_cast<char*>(malloc(kMaxFileBytes));
    DWORD read = 0;
    int ok = text && ReadFile(file, text, static_cast<DWORD>(kMaxFileBytes), &read, nullptr);
    CloseHandle(file);
    if (ok) {
        size_t length = read;
        // Cut by the bound, the last line may be a part of a pick: dropped.
        if (length == kMaxFileBytes) {
            while (length > 0 && text[length - 1] != '\n') --length;
        }
        Parse(text, length);
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
