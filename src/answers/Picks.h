#pragma once

#include <cstddef>

#include "catalogue/Catalogue.h"
#include "text/PathText.h"

// Remembered picks: the entry launched for a typed text, so that the same
// text offers it again before the first match. Typed texts compare letter
// case aside. The newest kMaxPicks are kept, oldest first; the file form is
// one pick a line, the typed text and the path separated by a tab, and for a
// pick of a name entry (a shortcut's name, an app) a tab and the name after
// the path.
class Picks {
public:
    static constexpr int kMaxPicks = 512;
    // The most a picks file is read: twice what kMaxPicks of the longest
    // lines take, so that start-up never reads more, whatever the file.
    static constexpr size_t kMaxFileBytes = 512 * 1024;
    // What a pick names: a path, and a tab and a name after it for a name.
    static constexpr int kMaxEntryBytes = kPathBytes + 1 + Catalogue::kMaxNameBytes;
    // The longest line that can be a pick, its line break included.
    static constexpr int kMaxLineBytes = kMaxTypedBytes + 1 + kMaxEntryBytes + 2;

    Picks();
    virtual ~Picks();

    // Replaces the picks with those of the file's text. A line that does not
    // parse (no tab, an empty or too long part, a control character) is
    // passed over; a text given twice keeps its later path.
    void Parse(const char* text, size_t length);
    // Remembers the path for the typed text (its first length characters),
    // in the file's form (a name after a tab); 0 when the pick is malformed
    // or memory ran out (nothing changes then).
    int Remember(const char* typed, int length, const char* path);
    // The same for an entry: its path, and its name unless it is a file's.
    int Remember(const char* typed, int length, const CatalogueEntry& entry);
    // The entry picked for the typed text, or failing that for the longest
    // earlier prefix of it with a usable pick: one whose entry is still in
    // the catalogue and whose name still starts with the whole typed text.
    CatalogueEntry* Find(Catalogue& catalogue, const char* typed, int length) const;
    // The file's text of all picks into a heap buffer the caller frees;
    // null without memory.
    char* Format(size_t* length) const;
    // Parses the file, at most its last kMaxFileBytes (the newest picks,
    // from the first whole line); 0 when it cannot be read. A file that is
    // there but cannot be read leaves the picks unread until a later Load
    // reads it.
    int Load(const char* fileName);
    int Unread() const { return unread; }
    // Writes the file whole through a copy put in its place in one step
    // (FileReplace): a crash, a full disk or a second writer leaves the old
    // file or the new one. 0, the old file untouched, when anything fails,
    // and while the picks are unread: their file would lose what it holds.
    int Save(const char* fileName) const;
    int Count() const { return count; }

private:
    struct Pick {
        char typed[kMaxTypedBytes + 1];
        char path[kMaxEntryBytes];  // and a tab and the name, for a name's entry
        int typedLength;
        unsigned int hash;
    };
    int Reserve();
    // 1 with the hash of the typed text when the pick is well formed.
    int Check(const char* typed, int length, const char* path, unsigned int* hash) const;
    void Store(int at, const char* typed, int length, const char* path, unsigned int hash);
    // Appends a pick whose text is not held yet (for loading, newest first).
    void Add(const char* typed, const char* path);
    int IndexOf(const char* typed, int length, unsigned int hash) const;
    void Reindex();

    Pick* picks;  // kMaxPicks records once the first pick arrives
    int count;
    int unread;
    short index[2 * kMaxPicks];  // open addressing over picks; -1 is empty
};
