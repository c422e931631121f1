#include "answers/Picks.h"

#include <cstdlib>
#include <cstring>

#include "text/Hash.h"
#include "text/Wtf8.h"

namespace {

// The hash over the folded bytes, one step at a time, so that every
// prefix's hash comes out of a single pass over the text.
unsigned long long PickHashStep(unsigned long long hash, char c) {
    return HashStep(hash, static_cast<unsigned char>(FoldCase(c)));
}


const int kIndexMask = 2 * Picks::kMaxPicks - 1;

// Splits one line into the typed text and the path in place; 0 when it is
// no pick. The parts are checked further as Remember takes them.
int SplitPick(char* line, size_t size, char** path) {
    if (size > 0 && line[size - 1] == '\r') --size;
    line[size] = '\0';
    char* tab = static_cast<char*>(memchr(line, '\t', size));
    if (!tab || memchr(line, '\0', size)) return 0;  // no tab, or a stray 0 byte
    *tab = '\0';
    *path = tab + 1;
    return 1;
}

}  // namespace

Picks::Picks() : picks(nullptr), count(0), unread(0) {
    for (short& slot : index) slot = -1;
}

Picks::~Picks() {
    free(picks);
}

int Picks::Reserve() {
    if (!picks) picks = static_cast<Pick*>(malloc(kMaxPicks * sizeof *picks));
    return picks != nullptr;
}

int Picks::IndexOf(const char* typed, int length, unsigned int hash) const {
    for (unsigned int i = hash & kIndexMask;; i = (i + 1) & kIndexMask) {
        int at = index[i];
        if (at < 0) return -1;
        const Pick& pick = picks[at];
        if (pick.hash == hash && pick.typedLength == length && EqualFolded(pick.typed, typed, length)) {
            return at;
        }
    }
}

void Picks::Reindex() {
    for (short& slot : index) slot = -1;
    for (int at = 0; at < count; ++at) {
        unsigned int i = picks[at].hash & kIndexMask;
        while (index[i] >= 0) i = (i + 1) & kIndexMask;
        index[i] = static_cast<short>(at);
    }
}

int Picks::Check(const char* typed, int length, const char* path, unsigned int* hash) const {
    // The path, then maybe a tab and a name: each part whole and of no
    // control character.
    const char* tab = strchr(path, '\t');
    size_t pathLength = tab ? static_cast<size_t>(tab - path) : strlen(path);
    size_t nameLength = tab ? strlen(tab + 1) : 0;
    if (length <= 0 || length > kMaxTypedBytes || Utf16Length(typed, length) > kMaxTypedLength ||
        pathLength == 0 || pathLength >= static_cast<size_t>(kPathBytes) ||
        Utf16Length(path, static_cast<int>(pathLength)) >= kPathSize ||
        (tab && (nameLength == 0 || nameLength > static_cast<size_t>(Catalogue::kMaxNameBytes) ||
                 HasControlCharacter(tab + 1)))) {
        return 0;
    }
    for (size_t i = 0; i < pathLength; ++i) {
        if (static_cast<unsigned char>(path[i]) < 32) return 0;
    }
    unsigned long long h = kHashStart;
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(typed[i]) < 32) return 0;
        h = PickHashStep(h, typed[i]);
    }
    *hash = HashFold32(h);
    return 1;
}

void Picks::Store(int at, const char* typed, int length, const char* path, unsigned int hash) {
    Pick& pick = picks[at];
    memcpy(pick.typed, typed, static_cast<size_t>(length));
    pick.typed[length] = '\0';
    pick.typedLength = length;
    memcpy(pick.path, path, strlen(path) + 1);
    pick.hash = hash;
}

void Picks::Add(const char* typed, const char* path) {
    unsigned int hash;
    int length = static_cast<int>(strlen(typed));
    if (!Check(typed, length, path, &hash) || IndexOf(typed, length, hash) >= 0) return;
    Store(count, typed, length, path, hash);
    unsigned int i = hash & kIndexMask;
    while (index[i] >= 0) i = (i + 1) & kIndexMask;
    index[i] = static_cast<short>(count++);
}

int Picks::Remember(const char* typed, int length, const CatalogueEntry& entry) {
    char path[kMaxEntryBytes];
    size_t pathLength = strlen(entry.path);
    const char* name = entry.kind == CatalogueEntry::kFile ? nullptr : entry.Name();
    size_t nameLength = name ? strlen(name) : 0;
    if (pathLength + (name ? 1 + nameLength : 0) >= sizeof path) return 0;
    memcpy(path, entry.path, pathLength + 1);
    if (name) {
        path[pathLength] = '\t';
        memcpy(path + pathLength + 1, name, nameLength + 1);
    }
    return Remember(typed, length, path);
}

int Picks::Remember(const char* typed, int length, const char* path) {
    unsigned int hash;
    if (!Check(typed, length, path, &hash) || !Reserve()) return 0;
    // The newest goes last: an older pick of the same text, or the oldest of
    // all when the table is full, makes room.
    int old = IndexOf(typed, length, hash);
    if (old < 0 && count == kMaxPicks) old = 0;
    if (old >= 0) {
        memmove(&picks[old], &picks[old + 1], static_cast<size_t>(count - old - 1) * sizeof *picks);
        --count;
    }
    Store(count++, typed, length, path, hash);
    Reindex();
    return 1;
}

void Picks::Parse(const char* text, size_t length) {
    count = 0;
    Reindex();
    if (!Reserve()) return;
    // From the newest line back, so that a file of any length costs one
    // pass and the table never shuffles: each text keeps its latest pick.
    char line[kMaxLineBytes];
    size_t end = length;
    while (end > 0 && count < kMaxPicks) {
        size_t begin = end;
        while (begin > 0 && text[begin - 1] != '\n') --begin;
        size_t size = end - begin;
        size_t next = begin > 0 ? begin - 1 : 0;
        char* path;
        // A line too long to be a pick is never cut into one.
        if (size < sizeof line) {
            memcpy(line, text + begin, size);
            if (SplitPick(line, size, &path)) Add(line, path);
        }
        if (begin == 0) break;
        end = next;
    }
    // Oldest first, as Remember keeps them.
    for (int i = 0, j = count - 1; i < j; ++i, --j) {
        Pick swap = picks[i];
        picks[i] = picks[j];
        picks[j] = swap;
    }
    Reindex();
}

CatalogueEntry* Picks::Find(Catalogue& catalogue, const char* typed, int length) const {
    if (count == 0 || length <= 0 || length > kMaxTypedBytes) return nullptr;
    unsigned long long hashes[kMaxTypedBytes + 1];
    hashes[0] = kHashStart;
    for (int i = 0; i < length; ++i) hashes[i + 1] = PickHashStep(hashes[i], typed[i]);
    for (int n = length; n > 0; --n) {
        int at = IndexOf(typed, n, HashFold32(hashes[n]));
        if (at < 0) continue;
        // The path, and the name after a tab for a name's entry.
        char path[kMaxEntryBytes];
        memcpy(path, picks[at].path, strlen(picks[at].path) + 1);
        char* tab = strchr(path, '\t');
        if (tab) *tab = '\0';
        CatalogueEntry* entry = catalogue.FindEntry(path, tab ? tab + 1 : nullptr);
        if (entry && entry->nameAt && catalogue.StartsWith(entry, typed, length)) return entry;
    }
    return nullptr;
}

char* Picks::Format(size_t* length) const {
    size_t size = 1;
    for (int at = 0; at < count; ++at) size += picks[at].typedLength + strlen(picks[at].path) + 3;
    char* text = static_cast<char*>(malloc(size));
    if (!text) return nullptr;
    char* out = text;
    for (int at = 0; at < count; ++at) {
        const Pick& pick = picks[at];
        size_t pathLength = strlen(pick.path);
        memcpy(out, pick.typed, static_cast<size_t>(pick.typedLength));
        out += pick.typedLength;
        *out++ = '\t';
        memcpy(out, pick.path, pathLength);
        out += pathLength;
        *out++ = '\r';
        *out++ = '\n';
    }
    *out = '\0';
    *length = static_cast<size_t>(out - text);
    return text;
}
