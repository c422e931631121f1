#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "app/LauncherWindow.h"
#include "catalogue/AppSource.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FolderToken.h"
#include "catalogue/ShownName.h"
#include "catalogue/SkipPatterns.h"
#include "settings/SectionBuffer.h"
#include "settings/SettingsFile.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

struct SpecialFolder {
    int id;
    int depth;      // negative: all levels
    int startMenu;  // with names=1, internet shortcuts are named too
};

// Scanned in this order, so a file of the system folder wins a name lookup
// over one of the Start Menu (the entry added last comes first).
const SpecialFolder kSpecialFolders[] = {
    {CSIDL_COMMON_STARTMENU, -1, 1},
    {CSIDL_STARTMENU, -1, 1},
    {CSIDL_PERSONAL, 2, 0},
    {CSIDL_SYSTEM, 1, 0},
};

const char* const kDefaultExtensions[] = {".exe", ".doc", ".xls"};

// Programs that open the default document types, looked up by whole name.
struct BuiltInAssociation {
    const char* program;
    const char* extension;
};
const BuiltInAssociation kBuiltInAssociations[] = {
    {"winword.exe", ".doc"},
    {"excel.exe", ".xls"},
};
// Longer than either name, so only a whole name matches (the terminator
// takes part in the comparison).
const int kWholeNameLength = 11;

// The value of an [extensions] key: the start of a program's file name.
const int kValueSize = 4096;

// Joins a folder and a name with a backslash; 0 when the result would not
// fit, so that no cut path (which would name another file) is ever searched
// or kept.
int JoinPath(char (&out)[kPathBytes], const char* folder, const char* name) {
    return FormatText(out, sizeof out, "%s\\%s", folder, name) >= 0;
}

ExtensionNode* Prepend(const char* extension, ExtensionNode* chain) {
    ExtensionNode* node = new ExtensionNode(extension, chain);
    return node ? node : chain;
}

// What tells one folder from another, whatever path or link reaches it.
struct FolderIdentity {
    DWORD volume;
    ULONGLONG index;
};

int ReadFolderIdentity(const char* folder, FolderIdentity* identity) {
    wchar_t wide[kPathSize];
    if (!ToUtf16(wide, folder)) return 0;
    HANDLE handle = CreateFileW(wide, FILE_READ_ATTRIBUTES,
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

int LauncherWindow::ResolveFolderToken(char (&output)[kPathBytes], const char* token) {
    unsigned int id;
    if (!ParseFolderToken(token, &id)) return 0;
    output[0] = '\0';
    wchar_t folder[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(hwnd, static_cast<int>(id), nullptr, SHGFP_TYPE_CURRENT, folder))) {
        ToWtf8(output, folder);
    }
    return 1;
}

void LauncherWindow::RebuildCatalogue(SettingsFile& settings) {
    catalogue.Clear();
    // Whatever asked for this build, a rebuild that waited is done by it;
    // the folders it scans are watched anew.
    rebuildPending = 0;
    StopRebuildTimer();
    watch.Clear();

    ExtensionNode* extensions = nullptr;
    for (const char* extension : kDefaultExtensions) extensions = Prepend(extension, extensions);
    SectionBuffer section;
    char* cursor = section.Read(settings, "extensions");
    char* key;
    char* value;
    while (SettingsFile::NextEntry(&cursor, &key, &value)) extensions = Prepend(key, extensions);

    SkipPatterns skipPatterns;
    skipPatterns.Take(section.Read(settings, "skip"));
    catalogue.skip = &skipPatterns;
    catalogue.fold = options.accents ? &textFold : nullptr;
    catalogue.words = options.words;
    int names = options.names ? Catalogue::kShortcutNames : 0;

    // A special folder that the shell cannot supply, or a token naming none,
    // contributes nothing: scanning the empty path would walk the whole
    // current drive.
    char folder[kPathBytes];
    for (const SpecialFolder& special : kSpecialFolders) {
        char token[16];
        FormatText(token, sizeof token, "$0x%04X", static_cast<unsigned int>(special.id));
        ResolveFolderToken(folder, token);
        catalogue.names = names && special.startMenu ? names | Catalogue::kUrlNames : names;
        if (folder[0]) ScanAndWatch(folder, extensions, special.depth);
        // Packaged apps right after the Start Menu trees, whose names they
        // may repeat.
        if (options.names && special.id == CSIDL_STARTMENU) catalogue.AddApps(*apps);
    }
    catalogue.names = names;

    cursor = section.Read(settings, "folders");
    int depth;
    while (settings.NextIntEntry(&cursor, &key, &depth)) {
        if (depth == 0) depth = -1;  // 0, empty or no number: all levels
        if (!ResolveFolderToken(folder, key)) {
            ScanAndWatch(key, extensions, depth);
        } else if (folder[0]) {
            ScanAndWatch(folder, extensions, depth);
        }
    }

    catalogue.skip = nullptr;
    // Names of the user's, after every folder so that they win a lookup.
    catalogue.AddAliases(section.Read(settings, "aliases"));

    for (const BuiltInAssociation& builtIn : kBuiltInAssociations) {
        CatalogueEntry* program = catalogue.FindPrefix(builtIn.program, kWholeNameLength, nullptr);
        if (program) {
            catalogue.Associate(builtIn.extension, static_cast<int>(strlen(builtIn.extension)),
                                program);
        }
    }

    // Configured programs, found by the start of their file name; the chain
    // is destroyed on the way.
    char programName[kValueSize];
    while (extensions) {
        ExtensionNode* node = extensions;
        extensions = node->next;
        int n = settings.GetString(programName, sizeof programName, "extensions", node->ext, "");
        CatalogueEntry* program = n > 0 ? catalogue.FindPrefix(programName, n, nullptr) : nullptr;
        if (program) catalogue.Associate(node->ext, static_cast<int>(strlen(node->ext)), program);
        delete node;
    }
}

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
    wchar_t pattern[kPathSize];
    if (!JoinPath(path, folder, "*.*") || !ToUtf16(pattern, path)) return;
    WIN32_FIND_DATAW item;
    HANDLE find = FindFirstFileW(pattern, &item);
    if (find == INVALID_HANDLE_VALUE) return;
    char name[kPathBytes];
    ShownName shownNames(folder);
    do {
        ToWtf8(name, item.cFileName);  // MAX_PATH units always fit
        if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
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
    if (!extensions->Matches(path, static_cast<int>(strlen(path)))) return nullptr;
    const char* backslash = strrchr(path, '\\');
    if (skip && skip->Matches(backslash ? backslash + 1 : path)) return nullptr;
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
