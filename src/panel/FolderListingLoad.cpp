#include <windows.h>

#include <cstring>

#include "panel/FolderListing.h"
#include "text/PathText.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

int FolderListing::Hold(const char* text, int length) {
    if (length == folderLength && memcmp(text, folder, static_cast<size_t>(length)) == 0) return !tooBig;
    if (!Start(text, length)) return 0;
    char pattern[kPathBytes];
    wchar_t widePattern[kPathSize];
    if (FormatText(pattern, sizeof pattern, "%s*.*", folder) < 0 || !ToUtf16(widePattern, pattern)) {
        Clear();
        return 0;
    }
    WIN32_FIND_DATAW item;
    HANDLE find = FindFirstFileW(widePattern, &item);
    if (find == INVALID_HANDLE_VALUE) return 1;  // no such folder: no names
    int ok = 1;
    char name[kPathBytes];
    char shortName[3 * 14];
    do {
        if (IsDotName(item.cFileName)) continue;
        ToWtf8(name, item.cFileName);
        ToWtf8(shortName, item.cAlternateFileName);
        ok = Append(name, shortName, (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (ok && FindNextFileW(find, &item));
    FindClose(find);
    return ok;
}
