#pragma once

#include <cstddef>
#include <cstring>

#include "text/PathText.h"

class AppSource;
class SkipPatterns;
class TextFold;

// One catalogued file, or a name for one. Plain record, created by the
// catalogue only, in one piece with its texts: the path, then for every
// kind but a file its own name, then a name's folded form when it has one.
struct CatalogueEntry {
    // What the entry is.
    static constexpr unsigned char kFile = 0;       // a scanned file, named by its path
    static constexpr unsigned char kAlias = 1;      // a name of the user's for its target
    static constexpr unsigned char kName = 2;       // a shortcut's name for a catalogued file
    static constexpr unsigned char kShellItem = 3;  // a name the shell opens: a shortcut, an app

    CatalogueEntry* next;
    CatalogueEntry* program;  // the entry of the program that opens this file
    unsigned int hash;        // of the path (and name), for the catalogue's index
    unsigned short nameAt;    // where in path the name starts; 0 for none
    // With words=1, the LetterBit of each word's start after the first.
    unsigned short wordLetters;
    unsigned char kind;
    unsigned char folded;     // 1 when the name's folded form follows it
    char path[1];             // the full path, as long as the block allows

    // After the last backslash of the path, or the entry's own name; null
    // for a path without a backslash.
    const char* Name() const { return nameAt ? path + nameAt : nullptr; }
    // The name as lookups compare it: its folded form when it has one.
    const char* Key() const {
        const char* name = Name();
        return name && folded ? name + strlen(name) + 1 : name;
    }
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
    // Adds an entry unless one with the same path, byte for byte, exists;
    // that entry, or null when the path is refused or memory ran out.
    CatalogueEntry* Add(const char* path);
    // Adds a kName or kShellItem entry: the name, for what path names. The
    // same name for the same path is kept once. 0, nothing added, when the
    // name is empty, longer than kMaxNameBytes or holds a backslash or a
    // control character, or the path is one that Add refuses.
    static constexpr int kMaxNameBytes = 255;
    int AddName(const char* path, const char* name, unsigned char kind);

    // How a name matches a text.
    static constexpr int kPrefixMatch = 0;    // the name starts with it
    static constexpr int kWordMatch = 1;      // a later word starts with it
    static constexpr int kInitialsMatch = 2;  // the words' initials start with it
    // The first entry whose name starts with the text, comparing at most
    // length characters; a length beyond the text asks for the whole name.
    CatalogueEntry* FindPrefix(const char* text, int length, const char** outName);
    // The first entry after the given one (null: from the list's start)
    // whose name starts with the text; null when none does.
    CatalogueEntry* NextPrefix(const CatalogueEntry* after, const char* text, int length);
    // The same, and with words set, when no name starts with the text, the
    // shortest name with a word that does, else the shortest whose initials
    // do (the first of equals in list order); mode tells which.
    CatalogueEntry* FindMatch(const char* text, int length, int* mode);
    // Hands every entry that matches the text to visit, in list order, with
    // how it matches: its name starts with the text, else (with words) a
    // later word does, else its initials do; until visit returns 0.
    typedef int (*MatchVisit)(void* context, CatalogueEntry* entry, int mode);
    void ForEachMatch(const char* text, int length, MatchVisit visit, void* context);
    // 1 when the entry's name starts with the whole text.
    int StartsWith(const CatalogueEntry* entry, const char* text, int length) const;
    // How many bytes of the entry's name a text it starts with covers, so
    // that the rest completes it.
    int CoveredLength(const CatalogueEntry* entry, const char* text, int length) const;
    // The file entry of exactly this path; null when there is none.
    CatalogueEntry* FindPath(const char* path) const { return FindEntry(path, nullptr); }
    // The kName or kShellItem entry of this path and name (null: the file
    // entry of the path); null when there is none.
    CatalogueEntry* FindEntry(const char* path, const char* name) const;
    // Adds a name of the user's for a target (a file, a folder, an address):
    // it completes like a file name, beside any entry of the same target.
    // 0, nothing added, when the name is empty, longer than kMaxAliasName or
    // holds a backslash, or the target is empty or does not fit a path
    // buffer, or either holds a control character.
    static constexpr int kMaxAliasName = 63;
    int AddAlias(const char* name, const char* target);
    // The first alias named exactly the first length bytes of the text,
    // letter case aside; null when there is none. The build adds the aliases
    // after every file, so they lead the list: the walk ends at the first
    // entry of another kind, and a keystroke with a blank costs no more.
    CatalogueEntry* FindAlias(const char* text, int length) const;
    // Adds the aliases of a section buffer's lines, "name=target", split at
    // the first "=" (an address may hold more), blanks around it trimmed.
    // A name with a blank whose target takes words ("%s") is left out.
    void AddAliases(char* section);
    // Sets program on every entry whose path ends with the suffix.
    void Associate(const char* suffix, int length, CatalogueEntry* program);
    int Count();

    // Adds the files of a folder tree whose paths end in a kept extension;
    // depth 1 is the folder's own files, a negative depth all levels. A folder
    // that is the same folder as one the walk is already inside (reached
    // again through a link) is not entered again.
    void Scan(const char* folder, ExtensionNode* extensions, int depth);
    // Adds the packaged apps that the source lists, by their names, opened
    // by the shell; an app whose name an entry already has is left out.
    void AddApps(AppSource& apps);
    // The file that a shell link points to, in its long form; 0 when the file
    // is no readable link (output then untouched). exists, when given, tells
    // whether the target is there.
    static int ReadShortcutTarget(char (&output)[kPathBytes], const char* path, int* exists = nullptr);

    CatalogueEntry* head;
    // Names that Scan leaves out; null for none.
    const SkipPatterns* skip;
    // Set before entries are added. fold ([misc] accents=1) keeps a folded
    // form of each name whose fold is not A-Z folding, and folds the text of
    // each lookup; null folds A-Z only. words ([misc] words=1) marks the
    // words' letters and lets FindMatch look at words and initials.
    const TextFold* fold;
    int words;
    // What Scan adds besides the files: kShortcutNames, a name entry for
    // each shell link (with a name from desktop.ini when the folder's gives
    // one), and kUrlNames, one for each internet shortcut. kPackageStrings
    // lets desktop.ini name them by a packaged app's string (COM started).
    static constexpr int kShortcutNames = 1;
    static constexpr int kUrlNames = 2;
    static constexpr int kPackageStrings = 4;
    int names;

private:
    struct FolderVisit;
    void ScanFolder(FolderVisit& visit, ExtensionNode* extensions, int depth);
    // Adds a file of a kept extension whose name no skip pattern matches;
    // its entry (a new one or the one there), else null.
    CatalogueEntry* AddFile(const char* path, ExtensionNode* extensions);

    // Exact-path index beside the list, so that the duplicate test of Add
    // costs constant time instead of a walk: open addressing, linear probing,
    // at most four fifths full. A slot holds the entry, and a tag of its hash
    // in a byte array of its own, so that a probe reads entries only when
    // the tag matches. Entries keep their full hash: growing never rereads
    // paths. FindSlot gives the slot of the path, or the empty slot where it
    // belongs.
    size_t FindSlot(const char* path, const char* name, unsigned int hash) const;
    // Puts a new entry of the path and name (null for a file) into the list
    // and the index; the entry there already when there is one.
    CatalogueEntry* Insert(const char* path, const char* name, unsigned char kind);
    // The text folded for a lookup into out (the text itself when there is
    // no fold or nothing to fold); the length to compare.
    const char* LookupKey(char (&out)[2 * kPathBytes], const char* text, int length, int* keyLength) const;
    int StartsWithKey(const CatalogueEntry* entry, const char* key, int length) const;
    int GrowIndex();
    // Room for one entry, kept until Clear; null when memory runs out.
    struct EntryBlock;
    void* AllocateEntry(size_t size);
    EntryBlock* blocks;
    // A new entry of the path and, for any kind but a file, the name after
    // it, with the name's folded form and word letters as the settings ask.
    CatalogueEntry* NewEntry(const char* path, size_t pathLength, const char* name, size_t nameLength,
                             unsigned char kind);

    CatalogueEntry** index;
    unsigned char* indexTags;  // in index's block; 0 marks an empty slot
    size_t indexSize;  // a power of two, or 0
    size_t entryCount;
};
