#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "answers/Picks.h"
#include "text/Wtf8.h"
#include "files/FileReplace.h"

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

}  // namespace

int Picks::Load(const char* fileName) {
    WidePath name(fileName);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = !name.ok ? INVALID_HANDLE_VALUE
                           : CreateFileW(name.text, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                         nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A file that is not there holds no picks; one that is there but
        // held by another program (a backup tool, a scanner) holds picks
        // that a write must not lose.
        DWORD error = GetLastError();
        unread = name.ok && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
        return 0;
    }
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
    unread = !ok;
    return ok;
}

int Picks::Save(const char* fileName) const {
    if (unread) return 0;
    size_t length = 0;
    char* text = Format(&length);
    if (!text) return 0;
    WidePath name(fileName);
    FileReplace replace(name.text);
    int ok = name.ok && replace.Begin() && replace.WriteCopy(text, length) && replace.Commit();
    free(text);
    return ok;
}
