#pragma once

#include <cstddef>

#include "text/PathText.h"

class SkipPatterns;

// One catalogued file. Plain record, created by the catalogue only, in one
// piece with its path: the record ends where the path (and an alias's name)
// does.
struct CatalogueEntry {
    CatalogueEntry* next;
    CatalogueEntry* program;  // the entry of the program that opens this file
    unsigned int hash;        // of the path, for the catalogue's index
    unsigned short nameAt;    // where in path the name starts; 0 for none
    unsigned char isAlias;    // a name of the user's: path is its target, name held apart
    char path[1];             // the full path, as long as the block allows

    // After the last backslash of the path, or an alias's own name; null
    // for a path without a backslash.
    const char* Name() const { return nameAt ? path + nameAt : nullptr; }
};

// One extension that a catalogue build keeps; the chain lives for one build.
class ExtensionNode {
public:
    ExtensionNode(const char* extension, ExtensionNode* following);
    virtual ~ExtensionNode();

    // From the C heap: null when memory runs out (no exceptions here), and
    // no C++ runtime allocator linked into the program.
    static void* operator new(size_t size) noexcept;
    static void operator delete(void* node) noexcept;

    // 1 when the path (of the given length) ends with the extension of this
    // node or of any node after it, letter case aside.
    int Matches(const char* path, int length) const;

    char ext[5];  // at most four characters: ".html" is held as ".htm"
    ExtensionNode* next;
};

// The in-memory list of launchable files. It grows at the head, so the entry
// added last is met first and wins every lookup.
class Catalogue {
public:
    Catalogue();
    virtual ~Catalogue();

    void Clear();
    // Adds an entry unless one with the same path, byte for byte, exists.
    void Add(const char* path);
    // The first entry whose name starts with the text, comparing at most
    // length characters; a length beyond the text asks for the whole name.
    CatalogueEntry* FindPrefix(const char* text, int length, const char** outName);
    // The entry before or after one that FindPrefix could give, in list
    // order, among those whose name starts with the text; wraps round at the
    // ends. Null when none matches.
    CatalogueEntry* StepPrefix(CatalogueEntry* from, const char* text, int length, int forward);
    // The file entry of exactly this path; null when there is none.
    CatalogueEntry* FindPath(const char* path) const;
    // Adds a name of the user's for a target (a file, a folder, an address):
    // it completes like a file name, beside any entry of the same target.
    // 0, nothing added, when the name is empty, longer than kMaxAliasName or
    // holds a backslash, or the target is empty or does not fit a path
    // buffer, or either holds a control character.
    static constexpr int kMaxAliasName = 63;
    int AddAlias(const char* name, const char* target);
    // Adds the aliases of a section buffer's lines, "name=target", split at
    // the first "=" (an address may hold more), blanks around it trimmed.
    void AddAliases(char* section);
    // Sets program on every entry whose path ends with the suffix.
    void Associate(const char* suffix, int length, CatalogueEntry* program);
    int Count();

    // Adds the files of a folder tree whose paths end in a kept extension;
    // depth 1 is the folder's own files, a negative depth all levels. A folder
    // that is the same folder as one the walk is already inside (reached
    // again through a link) is not entered again.
    void Scan(const char* folder, ExtensionNode* extensions, int depth);
    // The file that a shell link points to, in its long form; 0 when the file
    // is no readable link (output then untouched).
    static int ReadShortcutTarget(char (&output)[kPathBytes], const char* path);

    CatalogueEntry* head;
    // Names that Scan leaves out; null for none.
    const SkipPatterns* skip;

private:
    struct FolderVisit;
    void ScanFolder(FolderVisit& visit, ExtensionNode* extensions, int depth);

    // Exact-path index beside the list, so that the duplicate test of Add
    // costs constant time instead of a walk: open addressing, linear probing,
    // at most four fifths full. A slot holds the entry, and a tag of its hash
    // in a byte array of its own, so that a probe reads entries only when
    // the tag matches. Entries keep their full hash: growing never rereads
    // paths. FindSlot gives the slot of the path, or the empty slot where it
    // belongs.
    size_t FindSlot(const char* path, unsigned int hash) const;
    int GrowIndex();
    // Room for one entry, kept until Clear; null when memory runs out.
    struct EntryBlock;
    void* AllocateEntry(size_t size);
    EntryBlock* blocks;
    // A new entry of the path and, for an alias, the name after it.
    CatalogueEntry* NewEntry(const char* path, size_t pathLength, const char* name, size_t nameLength);

    CatalogueEntry** index;
    unsigned char* indexTags;  // in index's block; 0 marks an empty slot
    size_t indexSize;  // a power of two, or 0
    size_t entryCount;
};
