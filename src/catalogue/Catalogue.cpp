#include "catalogue/Catalogue.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "catalogue/NameMatch.h"
#include "text/Hash.h"
#include "text/TextFold.h"
#include "text/Wtf8.h"

namespace {

// FNV-1a over the path's bytes, and a name's after a 0 byte: exact, letter
// case significant; the upper half folded in, so that the low bits that
// pick a slot depend on every byte.
unsigned int HashEntry(const char* path, const char* name) {
    unsigned long long hash = HashBytes(kHashStart, path, strlen(path));
    if (name) hash = HashBytes(HashStep(hash, 0), name, strlen(name));
    return HashFold32(hash);
}

int IsAscii(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p >= 0x80) return 0;
    }
    return 1;
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
      fold(nullptr),
      words(0),
      names(0),
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

size_t Catalogue::FindSlot(const char* path, const char* name, unsigned int hash) const {
    size_t mask = indexSize - 1;
    unsigned char tag = TagOf(hash);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        if (indexTags[i] == 0) return i;
        const CatalogueEntry* entry = index[i];
        if (indexTags[i] != tag || entry->hash != hash || strcmp(entry->path, path) != 0) continue;
        if (name ? entry->kind != CatalogueEntry::kFile && strcmp(entry->Name(), name) == 0
                 : entry->kind == CatalogueEntry::kFile) {
            return i;
        }
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
        if (entry->kind == CatalogueEntry::kAlias) continue;
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

CatalogueEntry* Catalogue::NewEntry(const char* path, size_t pathLength, const char* name, size_t nameLength,
                                    unsigned char kind) {
    const char* backslash = name ? nullptr : strrchr(path, '\\');
    const char* shownName = name ? name : (backslash ? backslash + 1 : nullptr);
    // A folded form only where folding does more than A-Z: an ASCII name
    // costs no call and no byte.
    char folded[2 * kPathBytes];
    int foldedLength = -1;
    if (fold && shownName && !IsAscii(shownName)) {
        int end = WordsEnd(shownName, kind == CatalogueEntry::kFile);
        foldedLength = FoldWords(*fold, folded, sizeof folded, shownName, end);
        if (foldedLength >= 0 && EqualFolded(folded, shownName, foldedLength + 1)) foldedLength = -1;
    }
    size_t textSize = pathLength + 1 + (name ? nameLength + 1 : 0) + (foldedLength >= 0 ? foldedLength + 1 : 0);
    CatalogueEntry* entry = static_cast<CatalogueEntry*>(AllocateEntry(offsetof(CatalogueEntry, path) + textSize));
    if (!entry) return nullptr;
    char* text = entry->path;
    memcpy(text, path, pathLength + 1);
    char* end = text + pathLength + 1;
    if (name) {
        memcpy(end, name, nameLength + 1);
        end += nameLength + 1;
        entry->nameAt = static_cast<unsigned short>(pathLength + 1);
    } else {
        entry->nameAt = backslash ? static_cast<unsigned short>(backslash + 1 - path) : 0;
    }
    entry->folded = foldedLength >= 0;
    if (entry->folded) memcpy(end, folded, static_cast<size_t>(foldedLength) + 1);
    entry->kind = kind;
    const char* key = entry->Key();
    entry->wordLetters = words && key ? WordLetters(key, WordsEnd(key, kind == CatalogueEntry::kFile)) : 0;
    entry->program = nullptr;
    entry->hash = 0;
    entry->next = head;
    head = entry;
    return entry;
}

CatalogueEntry* Catalogue::Insert(const char* path, const char* name, unsigned char kind) {
    // A path that no path buffer holds names no file the platform can open.
    size_t length = strlen(path);
    if (length >= static_cast<size_t>(kPathBytes) || Utf16Length(path) >= kPathSize) return nullptr;
    // Room first, so that the slot found below stays the one to fill. When
    // memory runs out the entry is left out; the catalogue stays consistent.
    if ((entryCount + 1) * 5 > indexSize * 4 && !GrowIndex()) return nullptr;
    unsigned int hash = HashEntry(path, name);
    size_t slot = FindSlot(path, name, hash);
    if (indexTags[slot]) return index[slot];
    CatalogueEntry* entry = NewEntry(path, length, name, name ? strlen(name) : 0, kind);
    if (!entry) return nullptr;
    entry->hash = hash;
    index[slot] = entry;
    indexTags[slot] = TagOf(hash);
    ++entryCount;
    return entry;
}

CatalogueEntry* Catalogue::Add(const char* path) {
    return Insert(path, nullptr, CatalogueEntry::kFile);
}

int Catalogue::AddName(const char* path, const char* name, unsigned char kind) {
    size_t nameLength = strlen(name);
    if (nameLength == 0 || nameLength > kMaxNameBytes || strchr(name, '\\') || HasControlCharacter(name)) return 0;
    return Insert(path, name, kind) != nullptr;
}

CatalogueEntry* Catalogue::FindEntry(const char* path, const char* name) const {
    if (!indexSize) return nullptr;
    unsigned int hash = HashEntry(path, name);
    size_t slot = FindSlot(path, name, hash);
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
    return NewEntry(target, targetLength, name, nameLength, CatalogueEntry::kAlias) != nullptr;
}

CatalogueEntry* Catalogue::FindAlias(const char* text, int length) const {
    for (CatalogueEntry* entry = head; entry && entry->kind == CatalogueEntry::kAlias; entry = entry->next) {
        if (EqualFolded(entry->Name(), text, length) && entry->Name()[length] == '\0') return entry;
    }
    return nullptr;
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
            // The words after an alias start at the first blank: a name
            // with one could never be given words, and is refused.
            const char* mark = strstr(target, "%s");
            if (!(mark && strchr(line, ' '))) AddAlias(line, target);
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
