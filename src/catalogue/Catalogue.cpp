#include "catalogue/Catalogue.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "text/Wtf8.h"

namespace {

// FNV-1a over the path's bytes: exact, letter case significant; the upper
// half folded in, so that the low bits that pick a slot depend on every byte.
unsigned int HashPath(const char* path) {
    unsigned long long hash = 14695981039346656037ull;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
        hash = (hash ^ *p) * 1099511628211ull;
    }
    return static_cast<unsigned int>(hash ^ (hash >> 32));
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

Catalogue::Catalogue()
    : head(nullptr),
      skip(nullptr),
      blocks(nullptr),
      index(nullptr),
      indexTags(nullptr),
      indexSize(0),
      entryCount(0) {}

Catalogue::~Catalogue() {
    Clear();
}

// Entries are carved from large blocks in turn and never freed one by one:
// adding takes no heap call most of the time, and clearing frees a block per
// few hundred entries.
struct Catalogue::EntryBlock {
    static constexpr size_t kSize = 64 * 1024;
    EntryBlock* next;
    size_t used;
    alignas(CatalogueEntry) char data[kSize];
};

void* Catalogue::AllocateEntry(size_t size) {
    size = (size + alignof(CatalogueEntry) - 1) & ~(alignof(CatalogueEntry) - 1);
    if (!blocks || EntryBlock::kSize - blocks->used < size) {
        EntryBlock* block = static_cast<EntryBlock*>(malloc(sizeof(EntryBlock)));
        if (!block) return nullptr;
        block->next = blocks;
        block->used = 0;
        blocks = block;
    }
    void* entry = blocks->data + blocks->used;
    blocks->used += size;
    return entry;
}

void Catalogue::Clear() {
    // A loop, not recursion: the chain may be long.
    while (blocks) {
        EntryBlock* block = blocks;
        blocks = block->next;
        free(block);
    }
    head = nullptr;
    free(index);
    index = nullptr;
    indexTags = nullptr;
    indexSize = 0;
    entryCount = 0;
}

namespace {

// A slot's tag: eight bits of the hash that do not pick the slot, never 0,
// which marks an empty slot.
unsigned char TagOf(unsigned int hash) {
    return static_cast<unsigned char>(1 + (hash >> 24) % 255);
}

}  // namespace

size_t Catalogue::FindSlot(const char* path, unsigned int hash) const {
    size_t mask = indexSize - 1;
    unsigned char tag = TagOf(hash);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        if (indexTags[i] == 0) return i;
        if (indexTags[i] == tag && index[i]->hash == hash && strcmp(index[i]->path, path) == 0) return i;
    }
}

int Catalogue::GrowIndex() {
    size_t size = indexSize ? indexSize * 2 : 1024;
    // One block: the entries' slots, then their tags.
    CatalogueEntry** grown = static_cast<CatalogueEntry**>(calloc(size, sizeof *grown + 1));
    if (!grown) return 0;
    unsigned char* grownTags = reinterpret_cast<unsigned char*>(grown + size);
    // Through the list, not the old slots: the entries lie in the order
    // they were allocated, so their hashes are read in memory order.
    size_t mask = size - 1;
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        if (entry->isAlias) continue;
        size_t i = entry->hash & mask;
        while (grownTags[i]) i = (i + 1) & mask;
        grown[i] = entry;
        grownTags[i] = TagOf(entry->hash);
    }
    free(index);
    index = grown;
    indexTags = grownTags;
    indexSize = size;
    return 1;
}

CatalogueEntry* Catalogue::NewEntry(const char* path, size_t pathLength, const char* name,
                                    size_t nameLength) {
    size_t textSize = pathLength + 1 + (name ? nameLength + 1 : 0);
    CatalogueEntry* entry = static_cast<CatalogueEntry*>(AllocateEntry(offsetof(CatalogueEntry, path) + textSize));
    if (!entry) return nullptr;
    char* text = entry->path;
    memcpy(text, path, pathLength + 1);
    if (name) {
        memcpy(text + pathLength + 1, name, nameLength + 1);
        entry->nameAt = static_cast<unsigned short>(pathLength + 1);
    } else {
        const char* backslash = strrchr(text, '\\');
        entry->nameAt = backslash ? static_cast<unsigned short>(backslash + 1 - text) : 0;
    }
    entry->program = nullptr;
    entry->hash = 0;
    entry->isAlias = name != nullptr;
    entry->next = head;
    head = entry;
    return entry;
}

void Catalogue::Add(const char* path) {
    // A path that no path buffer holds names no file the platform can open.
    size_t length = strlen(path);
    if (length >= static_cast<size_t>(kPathBytes) || Utf16Length(path) >= kPathSize) return;
    // Room first, so that the slot found below stays the one to fill. When
    // memory runs out the file is left out; the catalogue stays consistent.
    if ((entryCount + 1) * 5 > indexSize * 4 && !GrowIndex()) return;
    unsigned int hash = HashPath(path);
    size_t slot = FindSlot(path, hash);
    if (indexTags[slot]) return;
    CatalogueEntry* entry = NewEntry(path, length, nullptr, 0);
    if (!entry) return;
    entry->hash = hash;
    index[slot] = entry;
    indexTags[slot] = TagOf(hash);
    ++entryCount;
}

CatalogueEntry* Catalogue::FindPrefix(const char* text, int length, const char** outName) {
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        const char* name = entry->Name();
        if (!name || !EqualFolded(name, text, length)) continue;
        if (outName) *outName = name;
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
        const char* name = entry->Name();
        if (!name || !EqualFolded(name, text, length)) continue;
        if (forward && passed) return entry;
        if (!first) first = entry;
        last = entry;
    }
    if (forward) return first ? first : from;
    return before ? before : (last ? last : from);
}

CatalogueEntry* Catalogue::FindPath(const char* path) const {
    if (!indexSize) return nullptr;
    unsigned int hash = HashPath(path);
    size_t slot = FindSlot(path, hash);
    return indexTags[slot] ? index[slot] : nullptr;
}

int Catalogue::AddAlias(const char* name, const char* target) {
    size_t nameLength = strlen(name);
    size_t targetLength = strlen(target);
    if (nameLength == 0 || nameLength > kMaxAliasName || strchr(name, '\\') || targetLength == 0 ||
        targetLength >= static_cast<size_t>(kPathBytes) || Utf16Length(target) >= kPathSize ||
        HasControlCharacter(name) ||
        HasControlCharacter(target)) {
        return 0;
    }
    // Aliases stay out of the path index: a file of the same path keeps its
    // own entry.
    return NewEntry(target, targetLength, name, nameLength) != nullptr;
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
        if (!entry->nameAt) continue;
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
