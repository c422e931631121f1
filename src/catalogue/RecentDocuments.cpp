#include "catalogue/RecentDocuments.h"

#include <windows.h>

#include <cstdlib>

#include "catalogue/Catalogue.h"
#include "catalogue/SkipPatterns.h"
#include "text/PathText.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

struct Recent {
    unsigned long long written;
    char path[kPathBytes];
};

int Older(const void* a, const void* b) {
    unsigned long long x = static_cast<const Recent*>(a)->written;
    unsigned long long y = static_cast<const Recent*>(b)->written;
    return x < y ? -1 : x > y;
}

}  // namespace

void AddRecentDocuments(Catalogue& catalogue, const char* folder) {
    char pattern[kPathBytes];
    wchar_t widePattern[kPathSize];
    if (FormatText(pattern, sizeof pattern, "%s\\*.lnk", folder) < 0 || !ToUtf16(widePattern, pattern)) return;
    // Room for the shortcuts' paths for the length of the build only.
    Recent* recent = static_cast<Recent*>(malloc(kMaxRecent * sizeof *recent));
    if (!recent) return;
    int count = 0;
    WIN32_FIND_DATAW item;
    HANDLE find = FindFirstFileW(widePattern, &item);
    if (find != INVALID_HANDLE_VALUE) {
        char name[kPathBytes];
        do {
            if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            unsigned long long written =
                (static_cast<unsigned long long>(item.ftLastWriteTime.dwHighDateTime) << 32) |
                item.ftLastWriteTime.dwLowDateTime;
            // A full list keeps its newest: the oldest makes room.
            int at = count;
            if (count == kMaxRecent) {
                at = 0;
                for (int i = 1; i < count; ++i) {
                    if (recent[i].written < recent[at].written) at = i;
                }
                if (recent[at].written >= written) continue;
            }
            if (!ToWtf8(name, item.cFileName) ||
                FormatText(recent[at].path, sizeof recent[at].path, "%s\\%s", folder, name) < 0) {
                continue;
            }
            recent[at].written = written;
            if (at == count) ++count;
        } while (FindNextFileW(find, &item));
        FindClose(find);
    }
    qsort(recent, static_cast<size_t>(count), sizeof *recent, Older);
    char target[kPathBytes];
    wchar_t wide[kPathSize];
    for (int i = 0; i < count; ++i) {
        int exists = 0;
        if (!Catalogue::ReadShortcutTarget(target, recent[i].path, &exists) || !exists || !ToUtf16(wide, target)) {
            continue;
        }
        DWORD attributes = GetFileAttributesW(wide);
        const char* name = FileNameOf(target);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (catalogue.skip && catalogue.skip->Matches(name))) {
            continue;
        }
        catalogue.AddName(target, name, CatalogueEntry::kShellItem);
    }
    free(recent);
}
