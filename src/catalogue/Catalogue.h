#pragma once

#include <cstddef>

#include "catalogue/PathText.h"

// One catalogued file. Plain record, created by the catalogue only.
struct CatalogueEntry {
    CatalogueEntry* next;
    char* path;               // owned heap copy of the full path
    char* name;               // after the last backslash of path; null without one
    CatalogueEntry* program;  // the entry of the program that opens this file
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
    static int ReadShortcutTarget(char (&output)[kPathSize], const char* path);

    CatalogueEntry* head;

private:
    struct FolderVisit;
    void ScanFolder(FolderVisit& visit, ExtensionNode* extensions, int depth);

    // Exact-path index beside the list, so that the duplicate test of Add
    // costs constant time instead of a walk: open addressing, linear probing,
    // at most half full. The hash is kept so that growing never rereads paths.
    struct IndexSlot {
        CatalogueEntry* entry;
        size_t hash;
    };
    IndexSlot* FindSlot(const char* path, size_t hash) const;
    int GrowIndex();

    IndexSlot* index;
    size_t indexSize;  // a power of two, or 0
    size_t entryCount;
};
