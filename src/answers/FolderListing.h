#pragma once

#include <cstddef>

#include "text/PathText.h"

// One match of a folder search: a name of the folder, and where it came in
// the search's order.
struct FolderMatch {
    const char* name;
    int isFolder;
    int index;
};

// The names of one folder, listed once when the typed path enters it and
// searched in memory while the user types inside it, in the order the file
// system listed them. Held within kMaxBytes: a bigger folder is not kept,
// and its keystrokes search the file system as they always did.
class FolderListing {
public:
    // About 100,000 names of 36 characters.
    static constexpr size_t kMaxBytes = 4 * 1024 * 1024;

    FolderListing();
    virtual ~FolderListing();

    // Forgets the folder and frees the names.
    void Clear();
    // 1 when the listing holds all the names of the folder (the typed path
    // up to and including its last backslash), within the bound. Otherwise
    // 0, and the caller searches the file system this time: a listing of
    // the folder is started when another or none was under way, and goes
    // on in slices (Continue) between the messages, so that no keystroke
    // waits for a big folder. A folder that cannot be listed holds no names.
    // Lives in FolderListingLoad.cpp.
    int Hold(const char* folder, int length);
    // Lists more of a listing under way, for about budgetMs milliseconds;
    // 1 while names remain. Lives in FolderListingLoad.cpp.
    int Continue(unsigned int budgetMs);
    int IsListing() const { return pending || search != nullptr; }
    // 1 when a search of the rest of a typed path may be answered from the
    // names: no wildcard, which the file system would expand, no letter
    // beyond ASCII, which it would fold by rules of its own, and no dot at
    // the end, which the search reads as "a dot or the end of the name".
    static int CanAnswer(const char* rest);
    // The index-th name (-1: the last) that the file system's search for
    // the rest followed by "*.*" gives: a name or short name that begins
    // with the rest, letter case aside. 0 when there are fewer.
    int Find(const char* rest, int index, FolderMatch* match) const;

    // Building the listing: starts one for the folder, then adds its names
    // in order (the short 8.3 name may be empty). 0 when the folder does not
    // fit the bound or memory runs out; the listing is then held as too big.
    int Start(const char* folder, int length);
    int Append(const char* name, const char* shortName, int isFolder);

    int IsTooBig() const { return tooBig; }
    // Lets go of the names, and has the folder searched at each keystroke
    // from now on: a listing that failed part-way, or that the folder has
    // left behind.
    void Drop();

protected:
    // The search's next item (a WIN32_FIND_DATAW), through nextInSearch:
    // 1 with one, 0 at the end, -1 when the listing failed (a network
    // error). A test's own may fail.
    virtual int FindNext(void* search, void* item);

private:
    char folder[kPathBytes];
    int folderLength;  // -1: no folder held
    int tooBig;
    int complete;  // every name of the folder is held
    int pending;   // a listing is to start at the next Continue
    // The platform's search under way, and how it goes on and closes; null
    // when none is.
    void* search;
    void (*closeSearch)(void* search);
    int (*nextInSearch)(void* search, void* item);
    // Records one after another: the name's length in two bytes, the short
    // name's length, the folder flag, then both names, each terminated.
    char* names;
    size_t used;
    size_t capacity;
};
