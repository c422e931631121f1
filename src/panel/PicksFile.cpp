#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "panel/Picks.h"
#include "text/Wtf8.h"

namespace {

// A picks file of an earlier version holds its lines in the ANSI code page:
// each line that is no WTF-8 is converted from it, so that no pick is lost.
// The text in a heap buffer the caller frees, with its length; null when
// memory runs out.
char* ConvertAnsiLines(const char* text, size_t length, size_t* converted) {
    char* out = static_cast<char*>(malloc(3 * length + 1));
    if (!out) return nullptr;
    size_t used = 0;
    for (size_t begin = 0; begin < length;) {
        size_t end = begin;
        while (end < length && text[end] != '\n') ++end;
        size_t size = end - begin;
        wchar_t wide[Picks::kMaxLineBytes];
        int units = 0;
        if (IsWtf8(text + begin, size)) {
            memcpy(out + used, text + begin, size);
            used += size;
        } else if (size < static_cast<size_t>(Picks::kMaxLineBytes) &&
                   (units = MultiByteToWideChar(CP_ACP, 0, text + begin, static_cast<int>(size), wide,
                                                Picks::kMaxLineBytes)) > 0) {
            // Room for three bytes a byte was made above.
            int bytes = Wtf8FromUtf16(out + used, 3 * size + 1, wide, units);
            if (bytes > 0) used += static_cast<size_t>(bytes);
        }
        if (end < length) out[used++] = '\n';
        begin = end + 1;
    }
    *converted = used;
    return out;
}

// The name in UTF-16, for the file functions.
struct WideName {
    explicit WideName(const char* name) : ok(ToUtf16(text, name)) {}
    wchar_t text[kPathSize];
    int ok;
};

}  // namespace

int Picks::Load(const char* fileName) {
    WideName name(fileName);
    HANDLE file = !name.ok ? INVALID_HANDLE_VALUE : CreateFileW(name.text, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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
        size_t length = read - begin;
        char* converted = IsWtf8(text + begin, length) ? nullptr : ConvertAnsiLines(text + begin, length, &length);
        Parse(converted ? converted : text + begin, length);
        free(converted);
    }
    free(text);
    return ok;
}

int Picks::Save(const char* fileName, const char* temporaryName) const {
    size_t length = 0;
    char* text = Format(&length);
    if (!text) return 0;
    WideName name(fileName);
    WideName temporary(temporaryName);
    HANDLE file = !name.ok || !temporary.ok ? INVALID_HANDLE_VALUE
                                            : CreateFileW(temporary.text, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr);
    int ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        DWORD written = 0;
        ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) && written == length &&
             FlushFileBuffers(file);
        CloseHandle(file);
        ok = ok && MoveFileExW(temporary.text, name.text, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) DeleteFileW(temporary.text);
    }
    free(text);
    return ok;
}
