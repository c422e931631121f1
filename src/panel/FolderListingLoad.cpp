#include <windows.h>

#include <cstring>

#include "panel/FolderListing.h"
#include "window/TextFormat.h"

int FolderListing::Hold(const char* text, int length) {
    if (length == folderLength && memcmp(text, folder, static_cast<size_t>(length)) == 0) return !tooBig;
    if (!Start(text, length)) return 0;
    char pattern[MAX_PATH];
    if (FormatText(pattern, sizeof pattern, "%s*.*", folder) < 0) {
        Clear();
        return 0;
    }
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA(pattern, &item);
    if (find == INVALID_HANDLE_VALUE) return 1;  // no such folder: no names
    int ok = 1;
    do {
        const char* name = item.cFileName;
        if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
        ok = Append(name, item.cAlternateFileName, (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (ok && FindNextFileA(find, &item));
    FindClose(find);
    return ok;
}
