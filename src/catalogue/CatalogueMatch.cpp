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

int Catalogue::StartsWithKey(const CatalogueEntry* entry, const char* key, int length) const {
    const char* name = entry->Key();
    return name && EqualFolded(name, key, length);
}

CatalogueEntry* Catalogue::FindPrefix(const char* text, int length, const char** outName) {
    CatalogueEntry* entry = NextPrefix(nullptr, text, length);
    if (entry && outName) *outName = entry->Name();
    return entry;
}

CatalogueEntry* Catalogue::NextPrefix(const CatalogueEntry* after, const char* text, int length) {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    for (CatalogueEntry* entry = after ? after->next : head; entry; entry = entry->next) {
        if (StartsWithKey(entry, key, n)) return entry;
    }
    return nullptr;
}

CatalogueEntry* Catalogue::FindMatch(const char* text, int length, int* mode) {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    // One pass: a name that starts with the text ends it; the first word
    // match and the first initials match are noted on the way.
    // Among word matches, and among initials, the shortest name is the
    // likelier program ("code" offers "VS Code" before "Visual Studio Code
    // Insiders").
    CatalogueEntry* word = nullptr;
    CatalogueEntry* initials = nullptr;
    size_t wordLength = 0;
    size_t initialsLength = 0;
    int byWords = words && n > 0;
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        const char* name = entry->Key();
        if (!name) continue;
        if (EqualFolded(name, key, n)) {
            *mode = kPrefixMatch;
            return entry;
        }
        if (!byWords || (!(entry->wordLetters & LetterBit(key[0])) && FoldCase(name[0]) != FoldCase(key[0]))) continue;
        size_t nameLength = strlen(name);
        if ((!word || nameLength < wordLength) && MatchesWords(entry, name, key, n, kWordMatch)) {
            word = entry;
            wordLength = nameLength;
        } else if (!word && (!initials || nameLength < initialsLength) &&
                   MatchesWords(entry, name, key, n, kInitialsMatch)) {
            initials = entry;
            initialsLength = nameLength;
        }
    }
    *mode = word ? kWordMatch : kInitialsMatch;
    return word ? word : initials;
}

void Catalogue::ForEachMatch(const char* text, int length, MatchVisit visit, void* context) {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    int byWords = words && n > 0;
    for (CatalogueEntry* entry = head; entry; entry = entry->next) {
        const char* name = entry->Key();
        if (!name) continue;
        int more = 1;
        if (EqualFolded(name, key, n)) {
            more = visit(context, entry, kPrefixMatch);
        } else if (byWords && MatchesWords(entry, name, key, n, kWordMatch)) {
            more = visit(context, entry, kWordMatch);
        } else if (byWords && MatchesWords(entry, name, key, n, kInitialsMatch)) {
            more = visit(context, entry, kInitialsMatch);
        }
        if (!more) return;
    }
}

int Catalogue::StartsWith(const CatalogueEntry* entry, const char* text, int length) const {
    char buffer[2 * kPathBytes];
    int n;
    const char* key = LookupKey(buffer, text, length, &n);
    return StartsWithKey(entry, key, n);
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
