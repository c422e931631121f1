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

    int kind = kNameStart;
    // The name's entry, or the alias's; null for a value, a folder entry or
    // a window.
    CatalogueEntry* entry = nullptr;
    // A folder entry's name or a window's title (valid until the next
    // search), its place in the folder's search or the list of windows, and
    // whether it is a folder itself.
    const char* name = nullptr;
    int index = 0;
    int isFolder = 0;

    // A name that Tab can take: not a value, a target with words or a window.
    int IsName() const { return kind != kValue && kind != kAliasTarget && kind != kWindow; }
    // The one answer of its text: nothing to step to.
    int IsSingle() const { return kind == kValue || kind == kAliasTarget; }
};
