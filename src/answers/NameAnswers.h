#pragma once

#include <cstddef>

#include "catalogue/Catalogue.h"

// The catalogue's answers to a typed text in the one order that Down and Up
// walk: the remembered pick, the names that begin with the text (in the
// catalogue's order), then, with words, the names with a later word that
// begins with it, then those whose initials do, each of these two shortest
// first, as the likelier program; each name once, at its first place. The
// keystroke offers the first answer without this list (Catalogue::FindMatch
// finds the same one); the list is gathered once for a text, when Down or
// Up first asks, and then each step costs nothing. Plain C++, so it also
// builds natively.
class NameAnswers {
public:
    NameAnswers();
    virtual ~NameAnswers();

    // Forgets the answers: the text changed, or the catalogue was rebuilt
    // (the list points into it).
    void Clear();
    int Held() const { return held; }
    // Gathers the answers of the text; pick, when given, leads them. The
    // current answer is shown (0 when it is none of them). With first, the
    // walk of the catalogue stops once that many names that begin with the
    // text are met, which are then the first answers (a results list's
    // rows): only they are held, and Complete() tells whether the walk
    // went through.
    // 0 when memory runs out (then nothing is held).
    int Gather(Catalogue& catalogue, const char* text, int length, CatalogueEntry* pick,
               const CatalogueEntry* shown, int first = 0);
    int Complete() const { return held && !stopped; }
    // The answer after (or before) the current one, round past the ends,
    // which becomes current; null when there are none.
    CatalogueEntry* Step(int forward, int* mode);
    int Count() const { return static_cast<int>(count); }
    // The current answer's place, from 1.
    int Place() const { return static_cast<int>(current) + 1; }
    // Makes the index-th answer current; 0 when there is none.
    int Go(int index);
    // The index-th answer and how it matches (Catalogue::kPrefixMatch...).
    CatalogueEntry* At(int index, int* mode) const;

private:
    struct Answer {
        CatalogueEntry* entry;
        int mode;
        size_t length;  // of the name, for the word and initials runs
        size_t order;   // in the catalogue's list
    };
    static int Visit(void* self, CatalogueEntry* entry, int mode);
    static int Compare(const void* a, const void* b);
    int Add(CatalogueEntry* entry, int mode);

    Answer* answers;
    size_t count;
    size_t capacity;
    size_t current;
    int held;
    int failed;
    int wanted;   // the answers that end the walk; 0 for all
    int stopped;  // the walk ended there
    size_t prefixes;  // names met that begin with the text
    CatalogueEntry* leading;  // the pick, kept out of the later places
};
