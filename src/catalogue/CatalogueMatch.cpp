#include <cstring>

#include "catalogue/Catalogue.h"
#include "catalogue/NameMatch.h"
#include "text/TextFold.h"
#include "text/Wtf8.h"

const char* Catalogue::LookupKey(char (&out)[2 * kPathBytes], const char* text, int length, int* keyLength) const {
    *keyLength = length;
    if (!fold) return text;
    int textLength = 0;
    int ascii = 1;
    for (; textLength < length && text[textLength]; ++textLength) {
        if (static_cast<unsigned char>(text[textLength]) >= 0x80) ascii = 0;
    }
    // A text that folding leaves to A-Z, or cannot fold, is compared as it is.
    if (ascii) return text;
    int n = fold->Fold(out, sizeof out, text, textLength);
    if (n < 0) return text;
    *keyLength = length > textLength ? n + 1 : n;  // the terminator too, for a whole name
    return out;
}

namespace {

// Word and initials matches of a name that does not start with the key. The
// first letter rules out most names before their words are read.
int MatchesWords(const CatalogueEntry* entry, const char* name, const char* key, int length, int mode) {
    if (mode == Catalogue::kWordMatch ? !(entry->wordLetters & LetterBit(key[0]))
                                      : FoldCase(name[0]) != FoldCase(key[0])) {
        return 0;
    }
    int end = WordsEnd(name, entry->kind == CatalogueEntry::kFile);
    return mode == Catalogue::kWordMatch ? WordStartsWith(name, end, key, length)
                                         : InitialsStartWith(name, end, key, length);
}

}  // namespace

int Catalogue::Matches(const CatalogueEntry* entry, const char* key, int length, int mode) const {
    const char* name = entry->Key();
    if (!name) return 0;
    if (mode == kPrefixMatch) return EqualFolded(name, key, length);
    return length > 0 && MatchesWords(entry, name, key, length, mode);
}

CatalogueEntry* Catalogue::FindPrefix(const char* text, int length, const char** outName) {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        if (!Matches(entry, key, n, kPrefixMatch)) continue;
        if (outName) *outName = entry->Name();
        return entry;
    }
    return nullptr;
}

CatalogueEntry* Catalogue::FindMatch(const char* text, int length, int* mode) {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    // One pass: a name that starts with the text ends it; the first word
    // match and the first initials match are noted on the way.
    CatalogueEntry* word = nullptr;
    CatalogueEntry* initials = nullptr;
    int byWords = words && n > 0;
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        const char* name = entry->Key();
        if (!name) continue;
        if (EqualFolded(name, key, n)) {
            *mode = kPrefixMatch;
            return entry;
        }
        if (!byWords || word) continue;
        if (MatchesWords(entry, name, key, n, kWordMatch)) {
            word = entry;
        } else if (!initials && MatchesWords(entry, name, key, n, kInitialsMatch)) {
            initials = entry;
        }
    }
    *mode = word ? kWordMatch : kInitialsMatch;
    return word ? word : initials;
}

CatalogueEntry* Catalogue::StepMatch(CatalogueEntry* from, const char* text, int length, int forward, int mode,
                                     int* place, int* count) {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    // Matches other than from: the first of the list, the last before from,
    // the one after it, and the last met so far.
    CatalogueEntry* first = nullptr;
    CatalogueEntry* before = nullptr;
    CatalogueEntry* after = nullptr;
    CatalogueEntry* last = nullptr;
    int passed = 0;
    int matches = 0;
    int fromPlace = 0;  // the matches up to from, from itself included
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        if (entry == from) {
            passed = 1;
            before = last;
            if (Matches(entry, key, n, mode)) ++matches;
            fromPlace = matches;
            continue;
        }
        if (!Matches(entry, key, n, mode)) continue;
        ++matches;
        if (passed && !after) {
            after = entry;
            if (forward && !count) return entry;
        }
        if (!first) first = entry;
        last = entry;
    }
    CatalogueEntry* found = forward ? (after ? after : (first ? first : from))
                                    : (before ? before : (last ? last : from));
    if (place && count) {
        // The place of the entry found, from the places of its neighbours.
        *count = matches;
        if (found == from) {
            *place = fromPlace;
        } else if (forward) {
            *place = after ? fromPlace + 1 : 1;
        } else {
            *place = before ? fromPlace - (fromPlace > 0 && Matches(from, key, n, mode)) : matches;
        }
    }
    return found;
}

int Catalogue::StartsWith(const CatalogueEntry* entry, const char* text, int length) const {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    return Matches(entry, key, n, kPrefixMatch);
}

int Catalogue::CoveredLength(const CatalogueEntry* entry, const char* text, int length) const {
    char buffer[2 * kPathBytes];
    int n;
    LookupKey(buffer, text, length, &n);
    const char* name = entry->Name();
    int total = static_cast<int>(strlen(name));
    if (!entry->folded || !fold) return n < total ? n : total;
    // The shortest start of the name, in whole characters, whose folded form
    // is as long as the folded text.
    char part[2 * kPathBytes];
    for (int bytes = 1; bytes < total; ++bytes) {
        if (IsTrailByte(name[bytes])) continue;
        if (fold->Fold(part, sizeof part, name, bytes) >= n) return bytes;
    }
    return total;
}
