#include "answers/FolderListing.h"

#include <cstdlib>
#include <cstring>

#include "text/Wtf8.h"

#include "text/PathText.h"

namespace {

const size_t kHeaderSize = 4;

}  // namespace

FolderListing::FolderListing()
    : folderLength(-1),
      tooBig(0),
      complete(0),
      pending(0),
      search(nullptr),
      closeSearch(nullptr),
      nextInSearch(nullptr),
      names(nullptr),
      used(0),
      capacity(0) {
    folder[0] = '\0';
}

FolderListing::~FolderListing() {
    Clear();
}

void FolderListing::Clear() {
    if (search) closeSearch(search);
    search = nullptr;
    complete = 0;
    pending = 0;
    free(names);
    names = nullptr;
    used = capacity = 0;
    folderLength = -1;
    folder[0] = '\0';
    tooBig = 0;
}

int FolderListing::FindNext(void* find, void* item) {
    return nextInSearch ? nextInSearch(find, item) : 0;
}

void FolderListing::Drop() {
    free(names);
    names = nullptr;
    used = capacity = 0;
    tooBig = 1;
}

int FolderListing::CanAnswer(const char* rest) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(rest);
    for (; *p; ++p) {
        // "<", ">" and '"' are wildcards of the file system's own.
        if (*p >= 0x80 || *p == '*' || *p == '?' || *p == '<' || *p == '>' || *p == '"') return 0;
    }
    // A dot before the "*.*" also matches the end of a name without one.
    return p == reinterpret_cast<const unsigned char*>(rest) || p[-1] != '.';
}

int FolderListing::Start(const char* text, int length) {
    Clear();
    // A folder whose search pattern the platform could not take.
    if (length < 0 || length >= static_cast<int>(sizeof folder) || Utf16Length(text, length) >= kPathSize) {
        tooBig = 1;
        return 0;
    }
    memcpy(folder, text, static_cast<size_t>(length));
    folder[length] = '\0';
    folderLength = length;
    return 1;
}

int FolderListing::Append(const char* name, const char* shortName, int isFolder) {
    if (tooBig || folderLength < 0) return 0;
    size_t nameLength = strlen(name);
    size_t shortLength = strlen(shortName);
    if (nameLength > 0xFFFF || shortLength > 0xFF) return 1;  // no file system gives such a name
    size_t size = kHeaderSize + nameLength + 1 + shortLength + 1;
    if (used + size > capacity) {
        size_t grown = capacity ? capacity * 2 : 64 * 1024;
        while (grown < used + size) grown *= 2;
        if (grown > kMaxBytes) grown = kMaxBytes;
        char* larger = used + size <= grown ? static_cast<char*>(realloc(names, grown)) : nullptr;
        if (!larger) {
            // Beyond the bound, or out of memory: keep nothing, search live.
            Drop();
            return 0;
        }
        names = larger;
        capacity = grown;
    }
    char* record = names + used;
    record[0] = static_cast<char>(nameLength >> 8);
    record[1] = static_cast<char>(nameLength & 0xFF);
    record[2] = static_cast<char>(shortLength);
    record[3] = static_cast<char>(isFolder ? 1 : 0);
    memcpy(record + kHeaderSize, name, nameLength + 1);
    memcpy(record + kHeaderSize + nameLength + 1, shortName, shortLength + 1);
    used += size;
    return 1;
}

int FolderListing::Find(const char* rest, int index, FolderMatch* match) const {
    int restLength = static_cast<int>(strlen(rest));
    int seen = 0;
    for (size_t at = 0; at < used;) {
        const unsigned char* header = reinterpret_cast<const unsigned char*>(names + at);
        size_t nameLength = static_cast<size_t>(header[0]) << 8 | header[1];
        const char* name = names + at + kHeaderSize;
        const char* shortName = name + nameLength + 1;
        at += kHeaderSize + nameLength + 1 + header[2] + 1;
        if (!EqualFolded(name, rest, restLength) && !(header[2] && EqualFolded(shortName, rest, restLength))) {
            continue;
        }
        match->name = name;
        match->isFolder = header[3];
        match->index = seen;
        if (seen++ == index) break;
    }
    return index < 0 ? seen > 0 : seen > index;
}
