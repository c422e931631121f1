#pragma once

#include <cstddef>

#include "catalogue/Catalogue.h"

// The catalogue's answers to a typed text in the one order that Down and Up
// walk: the remembered pick, the names that begin with the text (in the
// catalogue's order), then, with words, the names with a later word that
// begins with it, then those whose initials do, each of these two shortest
// first, as the likelier program; each name once, at its first place.
// Nothing is walked until asked: the names that begin with the text are
// found in the catalogue as they are reached (a results list's rows, a step
// forward: from the last one found), never copied, so that a letter that
// every name begins with costs no more than its steps; the count, and the
// word and initials runs (held, ordered), come from one walk of the whole
// catalogue, once for the text, at the first step or count. Plain C++, so
// it also builds natively.
class NameAnswers {
public:
    NameAnswers();
    virtual ~NameAnswers();

    // Forgets the answers: the text changed, or the catalogue was rebuilt
    // (the answers point into it).
    void Clear();
    int Held() const { return catalogue != nullptr; }
    // The answers of the text (kept, not copied: it must outlive them);
    // pick, when given, leads them; shown is the answer on display (null:
    // the first).
    void Start(Catalogue& from, const char* typed, int typedLength, CatalogueEntry* leading,
               const CatalogueEntry* onDisplay);
    // The answer after (or before) the current one, round past the ends,
    // which becomes current; null when there are none.
    CatalogueEntry* Step(int forward, int* mode);
    // How many; 0 when there are none or memory runs out.
    int Count();
    // The current answer's place, from 1.
    int Place();
    // Makes the index-th answer current; 0 when there is none.
    int Go(int index);
    // The index-th answer and how it matches (Catalogue::kPrefixMatch...).
    CatalogueEntry* At(int index, int* mode);

private:
    struct Answer {
        CatalogueEntry* entry;
        int mode;
        size_t length;  // of the name
        size_t order;   // in the catalogue's list
    };
    static int Visit(void* self, CatalogueEntry* entry, int mode);
    static int Compare(const void* a, const void* b);
    // The one walk of the whole catalogue: the count of the names that
    // begin with the text, and the other runs, ordered. 0 when memory runs
    // out.
    int Walk();
    // The index-th name (from 0) that begins with the text, the pick aside.
    CatalogueEntry* PrefixAt(int index);
    // The current answer's place, found once from the one on display.
    void Locate();

    Catalogue* catalogue;  // null: nothing held
    const char* text;
    int length;
    CatalogueEntry* pick;
    const CatalogueEntry* shown;  // to be located; null once it is
    // The names that begin with the text: how many (-1 until known), and
    // the last one reached and its place among them.
    int prefixes;
    int cursorIndex;
    CatalogueEntry* cursor;
    // The word and initials runs, after the walk.
    Answer* others;
    size_t count;
    size_t capacity;
    int walked;  // 1 after the walk, -1 when it ran out of memory
    int current;
};
