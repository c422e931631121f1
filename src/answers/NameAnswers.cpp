#include "answers/NameAnswers.h"

#include <cstdlib>
#include <cstring>

NameAnswers::NameAnswers()
    : answers(nullptr), count(0), capacity(0), current(0), held(0), failed(0), wanted(0), stopped(0), prefixes(0),
      leading(nullptr) {}

NameAnswers::~NameAnswers() {
    free(answers);
}

void NameAnswers::Clear() {
    count = 0;
    current = 0;
    held = 0;
    failed = 0;
    wanted = 0;
    stopped = 0;
    prefixes = 0;
    leading = nullptr;
}

int NameAnswers::Add(CatalogueEntry* entry, int mode) {
    if (count == capacity) {
        size_t grown = capacity ? capacity * 2 : 64;
        Answer* larger = static_cast<Answer*>(realloc(answers, grown * sizeof *answers));
        if (!larger) return 0;
        answers = larger;
        capacity = grown;
    }
    Answer& answer = answers[count];
    answer.entry = entry;
    answer.mode = mode;
    answer.length = mode == Catalogue::kPrefixMatch ? 0 : strlen(entry->Name());
    answer.order = count;
    ++count;
    return 1;
}

int NameAnswers::Visit(void* self, CatalogueEntry* entry, int mode) {
    NameAnswers* list = static_cast<NameAnswers*>(self);
    if (entry == list->leading) return 1;
    if (!list->Add(entry, mode)) {
        list->failed = 1;
        return 0;
    }
    // Names that begin with the text come first, in the walk's own order:
    // once there are as many of them as wanted, no later name comes before.
    if (mode == Catalogue::kPrefixMatch) ++list->prefixes;
    list->stopped = list->wanted && static_cast<int>(list->prefixes) >= list->wanted;
    return !list->stopped;
}

int NameAnswers::Compare(const void* a, const void* b) {
    const Answer& x = *static_cast<const Answer*>(a);
    const Answer& y = *static_cast<const Answer*>(b);
    if (x.mode != y.mode) return x.mode < y.mode ? -1 : 1;
    if (x.length != y.length) return x.length < y.length ? -1 : 1;
    return x.order < y.order ? -1 : x.order > y.order;
}

int NameAnswers::Gather(Catalogue& catalogue, const char* text, int length, CatalogueEntry* pick,
                        const CatalogueEntry* shown, int first) {
    Clear();
    leading = pick;
    if (pick && !Add(pick, Catalogue::kPrefixMatch)) return 0;
    wanted = first;
    catalogue.ForEachMatch(text, length, Visit, this);
    if (failed) {
        Clear();
        return 0;
    }
    size_t from = pick ? 1 : 0;
    // The pass gives the kinds mixed in list order: each kind its run, in
    // the order of the kinds, the word and initials runs shortest first.
    qsort(answers + from, count - from, sizeof *answers, Compare);
    // A walk that stopped holds only the first of the other kinds: they go.
    if (stopped) count = from + prefixes;
    for (size_t i = 0; i < count; ++i) {
        if (answers[i].entry == shown) current = i;
    }
    held = 1;
    return 1;
}

CatalogueEntry* NameAnswers::Step(int forward, int* mode) {
    if (count == 0) return nullptr;
    current = forward ? (current + 1) % count : (current + count - 1) % count;
    *mode = answers[current].mode;
    return answers[current].entry;
}

CatalogueEntry* NameAnswers::At(int index, int* mode) const {
    if (index < 0 || static_cast<size_t>(index) >= count) return nullptr;
    *mode = answers[index].mode;
    return answers[index].entry;
}

int NameAnswers::Go(int index) {
    if (index < 0 || static_cast<size_t>(index) >= count) return 0;
    current = static_cast<size_t>(index);
    return 1;
}
