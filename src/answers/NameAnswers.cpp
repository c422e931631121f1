#include "answers/NameAnswers.h"

#include <cstdlib>
#include <cstring>

NameAnswers::NameAnswers()
    : catalogue(nullptr), text(nullptr), length(0), pick(nullptr), shown(nullptr), prefixes(-1), cursorIndex(-1),
      cursor(nullptr), others(nullptr), count(0), capacity(0), walked(0), current(0) {}

NameAnswers::~NameAnswers() {
    free(others);
}

void NameAnswers::Clear() {
    catalogue = nullptr;
    pick = nullptr;
    shown = nullptr;
    prefixes = -1;
    cursorIndex = -1;
    cursor = nullptr;
    count = 0;
    walked = 0;
    current = 0;
}

void NameAnswers::Start(Catalogue& from, const char* typed, int typedLength, CatalogueEntry* leading,
                        const CatalogueEntry* onDisplay) {
    Clear();
    catalogue = &from;
    text = typed;
    length = typedLength;
    pick = leading;
    shown = onDisplay;
}

int NameAnswers::Visit(void* self, CatalogueEntry* entry, int mode) {
    NameAnswers* list = static_cast<NameAnswers*>(self);
    if (entry == list->pick) return 1;
    if (mode == Catalogue::kPrefixMatch) {
        ++list->prefixes;
        return 1;
    }
    if (list->count == list->capacity) {
        size_t grown = list->capacity ? list->capacity * 2 : 64;
        Answer* larger = static_cast<Answer*>(realloc(list->others, grown * sizeof *list->others));
        if (!larger) {
            list->walked = -1;  // no answers beyond the first, rather than some
            return 0;
        }
        list->others = larger;
        list->capacity = grown;
    }
    Answer& answer = list->others[list->count];
    answer.entry = entry;
    answer.mode = mode;
    answer.length = strlen(entry->Name());
    answer.order = list->count++;
    return 1;
}

int NameAnswers::Compare(const void* a, const void* b) {
    const Answer& x = *static_cast<const Answer*>(a);
    const Answer& y = *static_cast<const Answer*>(b);
    if (x.mode != y.mode) return x.mode < y.mode ? -1 : 1;
    if (x.length != y.length) return x.length < y.length ? -1 : 1;
    return x.order < y.order ? -1 : x.order > y.order;
}

int NameAnswers::Walk() {
    if (walked) return walked > 0;
    prefixes = 0;
    count = 0;
    walked = 1;
    catalogue->ForEachMatch(text, length, Visit, this);
    if (walked < 0) return 0;
    if (count > 1) qsort(others, count, sizeof *others, Compare);
    return 1;
}

CatalogueEntry* NameAnswers::PrefixAt(int index) {
    if (index < 0 || (prefixes >= 0 && index >= prefixes)) return nullptr;
    // From the last one reached when it lies before; else from the start.
    if (cursorIndex < 0 || cursorIndex > index) {
        cursorIndex = -1;
        cursor = nullptr;
    }
    while (cursorIndex < index) {
        CatalogueEntry* next = cursor;
        do {
            next = catalogue->NextPrefix(next, text, length);
        } while (next && next == pick);
        if (!next) {
            prefixes = cursorIndex + 1;  // the end: now they are all known
            return nullptr;
        }
        cursor = next;
        ++cursorIndex;
    }
    return cursor;
}

CatalogueEntry* NameAnswers::At(int index, int* mode) {
    if (!catalogue || index < 0) return nullptr;
    *mode = Catalogue::kPrefixMatch;
    if (pick) {
        if (index == 0) return pick;
        --index;
    }
    if (CatalogueEntry* entry = PrefixAt(index)) return entry;
    if (!Walk()) return nullptr;
    size_t other = static_cast<size_t>(index - prefixes);
    if (index < prefixes || other >= count) return nullptr;
    *mode = others[other].mode;
    return others[other].entry;
}

int NameAnswers::Count() {
    if (!catalogue || !Walk()) return 0;
    return (pick ? 1 : 0) + prefixes + static_cast<int>(count);
}

void NameAnswers::Locate() {
    if (!shown) return;
    const CatalogueEntry* wanted = shown;
    shown = nullptr;
    // Mostly the first answer, found without the whole walk.
    int mode;
    if (At(0, &mode) == wanted) return;
    int n = Count();
    for (int i = 0; i < n; ++i) {
        if (At(i, &mode) == wanted) {
            current = i;
            return;
        }
    }
}

int NameAnswers::Place() {
    Locate();
    return current + 1;
}

int NameAnswers::Go(int index) {
    int mode;
    if (!At(index, &mode)) return 0;
    shown = nullptr;
    current = index;
    return 1;
}

CatalogueEntry* NameAnswers::Step(int forward, int* mode) {
    int n = Count();
    if (n == 0) return nullptr;
    Locate();
    current = forward ? (current + 1) % n : (current + n - 1) % n;
    return At(current, mode);
}
