#pragma once

struct CatalogueEntry;

// One answer to the typed text, as the strip, Enter, the results list and a
// screen reader take it. Plain record.
struct Answer {
    // What it is. A name's three ways of matching are the catalogue's own
    // numbers (Catalogue::kPrefixMatch, kWordMatch, kInitialsMatch).
    static constexpr int kNameStart = 0;    // a name that begins with the text
    static constexpr int kLaterWord = 1;    // a name with a later word that does
    static constexpr int kInitials = 2;     // a name whose initials do
    static constexpr int kValue = 3;        // the value of an expression ("=")
    static constexpr int kAliasTarget = 4;  // an alias's target, the words in place
    static constexpr int kFolderEntry = 5;  // a name in the typed folder
    static constexpr int kWindow = 6;       // an open window, by its title ("<")
    static constexpr int kSourceLine = 7;   // a line a script source printed

    int kind = kNameStart;
    // The name's entry, or the alias's; null for a value, a folder entry, a
    // window or a source's line.
    CatalogueEntry* entry = nullptr;
    // A folder entry's name, a window's or a source line's title (valid
    // until the next search), its place in the folder's search, the list of
    // windows or the source's output, and whether it is a folder itself.
    const char* name = nullptr;
    int index = 0;
    int isFolder = 0;

    // A name that Tab can take: not a value, a target with words, a window
    // or a source's line.
    int IsName() const { return kind <= kInitials || kind == kFolderEntry; }
    // The one answer of its text: nothing to step to.
    int IsSingle() const { return kind == kValue || kind == kAliasTarget; }
};
