#include <windows.h>

#include <cstring>

#include "answers/FolderListing.h"
#include "text/PathText.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

void CloseFind(void* search) {
    FindClose(static_cast<HANDLE>(search));
}

int FindNextItem(void* search, void* item) {
    if (FindNextFileW(static_cast<HANDLE>(search), static_cast<WIN32_FIND_DATAW*>(item))) return 1;
    return GetLastError() == ERROR_NO_MORE_FILES ? 0 : -1;
}

double Seconds() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int FolderListing::Hold(const char* text, int length) {
    if (length == folderLength && memcmp(text, folder, static_cast<size_t>(length)) == 0) return complete && !tooBig;
    // The search of the whole folder opens in the first slice, not here:
    // even its opening can take longer than the search the caller makes.
    if (Start(text, length)) pending = 1;
    return 0;
}

int FolderListing::Continue(unsigned int budgetMs) {
    double end = Seconds() + budgetMs / 1000.0;
    WIN32_FIND_DATAW item;
    int found = 0;
    if (pending) {
        pending = 0;
        char pattern[kPathBytes];
        WidePath widePattern(FormatText(pattern, sizeof pattern, "%s*.*", folder) < 0 ? nullptr : pattern);
        HANDLE find = widePattern.ok ? FindFirstFileW(widePattern.text, &item) : INVALID_HANDLE_VALUE;
        if (find == INVALID_HANDLE_VALUE) {
            // No such folder holds no names; one whose pattern the platform
            // cannot take is searched at every keystroke.
            if (widePattern.ok) complete = 1; else tooBig = 1;
            return 0;
        }
        search = find;
        closeSearch = CloseFind;
        nextInSearch = FindNextItem;
        found = 1;
    }
    if (!search) return 0;
    char name[kPathBytes];
    char shortName[3 * 14];
    for (int n = 1; !tooBig; ++n) {
        int next = found ? 1 : FindNext(search, &item);
        if (next <= 0) {
            // Part of a folder is no listing: the search answers instead.
            if (next == 0) complete = 1; else Drop();
            break;
        }
        found = 0;
        if (IsDotName(item.cFileName)) continue;
        ToWtf8(name, item.cFileName);
        ToWtf8(shortName, item.cAlternateFileName);
        Append(name, shortName, (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        // The clock is read every 64 names: its cost stays small.
        if (n % 64 == 0 && Seconds() >= end) return 1;
    }
    // Done, or beyond the bound: the search ends.
    CloseFind(search);
    search = nullptr;
    return 0;
}
