#include <windows.h>

#include <cstring>

#include "catalogue/AppSource.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ShownName.h"
#include "catalogue/SkipPatterns.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

// Joins a folder and a name with a backslash; 0 when the result would not
// fit, so that no cut path (which would name another file) is ever searched
// or kept.
int JoinPath(char (&out)[kPathBytes], const char* folder, const char* name) {
    return FormatText(out, sizeof out, "%s\\%s", folder, name) >= 0;
}

// What tells one folder from another, whatever path or link reaches it.
struct FolderIdentity {
    DWORD volume;
    ULONGLONG index;
};

int ReadFolderIdentity(const char* folder, FolderIdentity* identity) {
    WidePath wide(folder);
    if (!wide.ok) return 0;
    HANDLE handle = CreateFileW(wide.text, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info;
    int read = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!read) return 0;
    identity->volume = info.dwVolumeSerialNumber;
    identity->index = static_cast<ULONGLONG>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    return 1;
}

int IsShortcut(const char* path, int length) {
    return EndsWithFolded(path, length, ".lnk", 4);
}

// 1 when an entry from the list's head to its end has this name, letter
// case aside: a packaged app that the Start Menu already names.
int HasName(const CatalogueEntry* entry, const char* name) {
    for (; entry; entry = entry->next) {
        if (entry->kind >= CatalogueEntry::kName && EqualFolded(entry->Name(), name, Catalogue::kMaxNameBytes + 1)) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

// One folder on the walk's way down, with the folders above it. Only below a
// link can a folder be one it is already inside, so identities are read
// there alone, and an ancestor's only when first compared.
struct Catalogue::FolderVisit {
    const char* folder;
    FolderVisit* parent;
    int belowLink;
    int identityRead;  // 0 not yet, 1 read, -1 unreadable
    FolderIdentity identity;

    const FolderIdentity* Identity() {
        if (identityRead == 0) identityRead = ReadFolderIdentity(folder, &identity) ? 1 : -1;
        return identityRead > 0 ? &identity : nullptr;
    }

    // 1 when this folder is one of those above it, or when that cannot be
    // told (a folder whose identity cannot be read is not entered).
    int RepeatsAnAncestor() {
        const FolderIdentity* self = Identity();
        if (!self) return 1;
        for (FolderVisit* above = parent; above; above = above->parent) {
            const FolderIdentity* other = above->Identity();
            if (other && other->volume == self->volume && other->index == self->index) return 1;
        }
        return 0;
    }
};

void Catalogue::Scan(const char* folder, ExtensionNode* extensions, int depth) {
    FolderVisit top = {folder, nullptr, 0, 0, {}};
    ScanFolder(top, extensions, depth);
}

void Catalogue::ScanFolder(FolderVisit& visit, ExtensionNode* extensions, int depth) {
    if (depth == 0 || !extensions) return;
    const char* folder = visit.folder;
    char path[kPathBytes];
    if (!JoinPath(path, folder, "*.*")) return;
    WidePath pattern(path);
    WIN32_FIND_DATAW item;
    HANDLE find = pattern.ok ? FindFirstFileW(pattern.text, &item) : INVALID_HANDLE_VALUE;
    if (find == INVALID_HANDLE_VALUE) return;
    char name[kPathBytes];
    ShownName shownNames(folder, names & kPackageStrings);
    do {
        ToWtf8(name, item.cFileName);  // MAX_PATH units always fit
        if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (IsDotName(item.cFileName)) continue;
            // A negative depth never reaches 0: all levels.
            int below = depth < 0 ? depth : depth - 1;
            if (below == 0 || !JoinPath(path, folder, name)) continue;
            int link = (item.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            FolderVisit child = {path, &visit, visit.belowLink || link, 0, {}};
            if (child.belowLink && child.RepeatsAnAncestor()) continue;
            ScanFolder(child, extensions, below);
            continue;
        }
        if (!JoinPath(path, folder, name)) continue;
        int length = static_cast<int>(strlen(path));
        // A shortcut is catalogued under its target.
        char target[kPathBytes];
        int shortcut = IsShortcut(path, length);
        int exists = 0;
        int read = shortcut && ReadShortcutTarget(target, path, &exists);
        // A shortcut to a file that [skip] leaves out is left out under
        // every name too.
        if (read && skip && skip->Matches(FileNameOf(target))) continue;
        CatalogueEntry* entry = AddFile(read ? target : path, extensions);
        if ((shortcut && (names & kShortcutNames)) ||
            ((names & kUrlNames) && EndsWithFolded(path, length, ".url", 4))) {
            // And under the name the shell shows for it: as its target's
            // entry when that is a file here, else opened by the shell as
            // the shortcut itself (an installer's advertised shortcut has no
            // target on the disk).
            char shown[kMaxNameBytes + 1];
            if (!shownNames.Of(shown, name) || (skip && skip->Matches(shown))) continue;
            if (read && entry && exists) {
                AddName(entry->path, shown, CatalogueEntry::kName);
            } else {
                AddName(path, shown, CatalogueEntry::kShellItem);
            }
        }
    } while (FindNextFileW(find, &item));
    FindClose(find);
}

CatalogueEntry* Catalogue::AddFile(const char* path, ExtensionNode* extensions) {
    if (!extensions->Matches(path, static_cast<int>(strlen(path))) || (skip && skip->Matches(FileNameOf(path)))) {
        return nullptr;
    }
    return Add(path);
}

void Catalogue::AddApps(AppSource& apps) {
    if (!apps.Begin()) return;
    const CatalogueEntry* startMenu = head;
    char name[kPathBytes];
    char id[kPathBytes];
    char path[kPathBytes];
    while (apps.Next(name, id)) {
        // Packaged apps only, whose parsing name is an app's ID: the
        // desktop programs of the folder are the Start Menu's shortcuts.
        if (!strchr(id, '!') || strchr(id, '\\') || (skip && skip->Matches(name)) || HasName(startMenu, name) ||
            FormatText(path, sizeof path, "shell:AppsFolder\\%s", id) < 0) {
            continue;
        }
        AddName(path, name, CatalogueEntry::kShellItem);
    }
    apps.End();
}
