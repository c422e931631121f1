#include "catalogue/Catalogue.h"

#include <cstdlib>
#include <cstring>

namespace {

// FNV-1a over the path's bytes: exact, letter case significant.
size_t HashPath(const char* path) {
    unsigned long long hash = 14695981039346656037ull;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
        hash = (hash ^ *p) * 1099511628211ull;
    }
    return static_cast<size_t>(hash ^ (hash >> 32));
}

}  // namespace

ExtensionNode::ExtensionNode(const char* extension, ExtensionNode* following) : next(following) {
    int i = 0;
    for (; i < 4 && extension[i]; ++i) ext[i] = extension[i];
    for (; i < 5; ++i) ext[i] = '\0';
}

ExtensionNode::~ExtensionNode() {}

void* ExtensionNode::operator new(size_t size) noexcept {
    return malloc(size);
}

void ExtensionNode::operator delete(void* node) noexcept {
    free(node);
}

int ExtensionNode::Matches(const char* path, int length) const {
    for (const ExtensionNode* node = this; node; node = node->next) {
        if (EndsWithFolded(path, length, node->ext, static_cast<int>(strlen(node->ext)))) return 1;
    }
    return 0;
}

Catalogue::Catalogue() : head(nullptr), skip(nullptr), index(nullptr), indexSize(0), entryCount(0) {}

Catalogue::~Catalogue() {
    Clear();
}

void Catalogue::Clear() {
    // A loop, not recursion: the list may be long.
    while (head) {
        CatalogueEntry* entry = head;
        head = entry->next;
        free(entry->path);
        free(entry);
    }
    free(index);
    index = nullptr;
    indexSize = 0;
    entryCount = 0;
}

// The slot that holds the path, or the empty slot where it belongs.
Catalogue::IndexSlot* Catalogue::FindSlot(const char* path, size_t hash) const {
    size_t mask = indexSize - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        IndexSlot* slot = &index[i];
        if (!slot->entry || (slot->hash == hash && strcmp(slot->entry->path, path) == 0)) return slot;
    }
}

int Catalogue::GrowIndex() {
    size_t size = indexSize ? indexSize * 2 : 1024;
    IndexSlot* grown = static_cast<IndexSlot*>(calloc(size, sizeof *grown));
    if (!grown) return 0;
    size_t mask = size - 1;
    for (size_t old = 0; old < indexSize; ++old) {
        if (!index[old].entry) continue;
        size_t i = index[old].hash & mask;
        while (grown[i].entry) i = (i + 1) & mask;
        grown[i] = index[old];
    }
    free(index);
    index = grown;
    indexSize = size;
    return 1;
}

void Catalogue::Add(const char* path) {
    // Room first, so that the slot found below stays the one to fill. When
    // memory runs out the file is left out; the catalogue stays consistent.
    if ((entryCount + 1) * 2 > indexSize && !GrowIndex()) return;
    size_t hash = HashPath(path);
    IndexSlot* slot = FindSlot(path, hash);
    if (slot->entry) return;

    CatalogueEntry* entry = static_cast<CatalogueEntry*>(malloc(sizeof *entry));
    size_t size = strlen(path) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (!entry || !copy) {
        free(entry);
        free(copy);
        return;
    }
    memcpy(copy, path, size);
    char* backslash = strrchr(copy, '\\');
    entry->path = copy;
    entry->name = backslash ? backslash + 1 : nullptr;
    entry->program = nullptr;
    entry->isAlias = 0;
    entry->next = head;
    head = entry;
    slot->entry = entry;
    slot->hash = hash;
    ++entryCount;
}

CatalogueEntry* Catalogue::FindPrefix(const char* text, int length, const char** outName) {
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        if (!entry->name || !EqualFolded(entry->name, text, length)) continue;
        if (outName) *outName = entry->name;
        return entry;
    }
    return nullptr;
}

CatalogueEntry* Catalogue::StepPrefix(CatalogueEntry* from, const char* text, int length, int forward) {
    // Matches other than from: the first of the list, the last before from,
    // and the last met so far.
    CatalogueEntry* first = nullptr;
    CatalogueEntry* before = nullptr;
    CatalogueEntry* last = nullptr;
    int passed = 0;
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        if (entry == from) {
            passed = 1;
            before = last;
            continue;
        }
        if (!entry->name || !EqualFolded(entry->name, text, length)) continue;
        if (forward && passed) return entry;
        if (!first) first = entry;
        last = entry;
    }
    if (forward) return first ? first : from;
    return before ? before : (last ? last : from);
}

CatalogueEntry* Catalogue::FindPath(const char* path) const {
    if (!indexSize) return nullptr;
    return FindSlot(path, HashPath(path))->entry;
}

int Catalogue::AddAlias(const char* name, const char* target) {
    size_t nameLength = strlen(name);
    size_t targetLength = strlen(target);
    if (nameLength == 0 || nameLength > kMaxAliasName || strchr(name, '\\') || targetLength == 0 ||
        targetLength >= static_cast<size_t>(kPathSize) || HasControlCharacter(name) ||
        HasControlCharacter(target)) {
        return 0;
    }
    // One block holds the target, then the name. Aliases stay out of the
    // path index: a file of the same path keeps its own entry.
    CatalogueEntry* entry = static_cast<CatalogueEntry*>(malloc(sizeof *entry));
    char* text = static_cast<char*>(malloc(targetLength + 1 + nameLength + 1));
    if (!entry || !text) {
        free(entry);
        free(text);
        return 0;
    }
    memcpy(text, target, targetLength + 1);
    memcpy(text + targetLength + 1, name, nameLength + 1);
    entry->path = text;
    entry->name = text + targetLength + 1;
    entry->program = nullptr;
    entry->isAlias = 1;
    entry->next = head;
    head = entry;
    return 1;
}

void Catalogue::AddAliases(char* section) {
    char* line = section;
    while (*line) {
        char* next = line + strlen(line) + 1;
        char* equals = strchr(line, '=');
        if (equals && line[0] != ';') {  // a comment, should the platform pass one on
            char* end = equals;
            while (end > line && end[-1] == ' ') --end;
            *end = '\0';
            char* target = equals + 1;
            while (*target == ' ') ++target;
            AddAlias(line, target);
        }
        line = next;
    }
}

void Catalogue::Associate(const char* suffix, int length, CatalogueEntry* program) {
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        if (!entry->name) continue;
        // The suffix may reach back over the backslash into the folder part.
        if (EndsWithFolded(entry->path, static_cast<int>(strlen(entry->path)), suffix, length)) {
            entry->program = program;
        }
    }
}

int Catalogue::Count() {
    int count = 0;
    for (CatalogueEntry* entry = head; entry; entry = entry->next) ++count;
    return count;
}
