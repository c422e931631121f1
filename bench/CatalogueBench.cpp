// Prints the cost of the catalogue's lists: Add at growing sizes (against the
// walking duplicate test that the index replaces), the worst keystroke
// (FindPrefix with no match, with and without remembered picks), and the
// time to add and free entries and the memory they take, against the earlier
// layout of two heap blocks an entry. Runs natively and under Wine.
// Build without sanitizers (the "bench" preset) for meaningful figures.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#elif defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#endif

#include "catalogue/Catalogue.h"
#include "answers/Picks.h"
#include "text/Hash.h"
#include "text/TextFold.h"

namespace {

typedef std::chrono::steady_clock Clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> MakePaths(int n) {
    std::vector<std::string> paths;
    paths.reserve(n);
    char path[260];
    for (int i = 0; i < n; ++i) {
        snprintf(path, sizeof path, "C:\\Program Files\\Vendor %03d\\Product %03d\\bin\\tool%07d.exe",
                 i % 997, i % 113, i);
        paths.push_back(path);
    }
    return paths;
}

// The catalogue as it would be without the index: every Add walks the list.
struct WalkingList {
    struct Entry {
        Entry* next;
        char* path;
    };
    Entry* head = nullptr;
    void Add(const char* path) {
        for (Entry* e = head; e; e = e->next) {
            if (strcmp(e->path, path) == 0) return;
        }
        Entry* entry = static_cast<Entry*>(malloc(sizeof *entry));
        entry->path = strdup(path);
        entry->next = head;
        head = entry;
    }
    ~WalkingList() {
        while (head) {
            Entry* e = head;
            head = e->next;
            free(e->path);
            free(e);
        }
    }
};

// The catalogue's earlier layout, kept here as the yardstick for the lean
// one: a record and a path copy in two blocks, index slots of pointer and
// full hash, the same probing and growth.
struct TwoBlockCatalogue {
    struct Entry {
        Entry* next;
        char* path;
        char* name;
        Entry* program;
        int isAlias;
    };
    struct Slot {
        Entry* entry;
        size_t hash;
    };
    Entry* head = nullptr;
    Slot* index = nullptr;
    size_t indexSize = 0;
    size_t count = 0;

    static size_t Hash(const char* path) {
        return HashFold32(HashBytes(kHashStart, path, strlen(path)));
    }
    void Grow() {
        size_t size = indexSize ? indexSize * 2 : 1024;
        Slot* grown = static_cast<Slot*>(calloc(size, sizeof *grown));
        for (size_t old = 0; old < indexSize; ++old) {
            if (!index[old].entry) continue;
            size_t i = index[old].hash & (size - 1);
            while (grown[i].entry) i = (i + 1) & (size - 1);
            grown[i] = index[old];
        }
        free(index);
        index = grown;
        indexSize = size;
    }
    void Add(const char* path) {
        if ((count + 1) * 2 > indexSize) Grow();
        size_t hash = Hash(path);
        size_t i = hash & (indexSize - 1);
        for (; index[i].entry; i = (i + 1) & (indexSize - 1)) {
            if (index[i].hash == hash && strcmp(index[i].entry->path, path) == 0) return;
        }
        Entry* entry = static_cast<Entry*>(malloc(sizeof *entry));
        entry->path = strdup(path);
        entry->name = strrchr(entry->path, '\\') + 1;
        entry->program = nullptr;
        entry->isAlias = 0;
        entry->next = head;
        head = entry;
        index[i].entry = entry;
        index[i].hash = hash;
        ++count;
    }
    void Clear() {
        while (head) {
            Entry* e = head;
            head = e->next;
            free(e->path);
            free(e);
        }
        free(index);
        index = nullptr;
        indexSize = count = 0;
    }
    ~TwoBlockCatalogue() { Clear(); }
};

// Best of five: the time to add every path, and to free them all again.
template <class List>
void TimeAddAndClear(const std::vector<std::string>& paths, double* add, double* clear) {
    *add = *clear = 1e9;
    for (int repeat = 0; repeat < 5; ++repeat) {
        List list;
        Clock::time_point start = Clock::now();
        for (const std::string& p : paths) list.Add(p.c_str());
        double s = Seconds(start);
        if (s < *add) *add = s;
        start = Clock::now();
        list.Clear();
        s = Seconds(start);
        if (s < *clear) *clear = s;
    }
}

// Heap bytes in use (glibc), or the process's committed private bytes
// (Windows).
size_t MemoryInUse() {
#if defined(__GLIBC__)
    return mallinfo2().uordblks;
#elif defined(_WIN32)
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PagefileUsage;
#else
    return 0;
#endif
}

// What adding every path takes, per entry.
template <class List>
double BytesPerEntry(const std::vector<std::string>& paths) {
    size_t before = MemoryInUse();
    List* list = new List;
    for (const std::string& p : paths) list->Add(p.c_str());
    size_t after = MemoryInUse();
    delete list;
    return static_cast<double>(after - before) / paths.size();
}

// The catalogue as accents=1 and words=1 make it; ASCII names are never
// folded, whatever the fold.
class LowercaseFold : public TextFold {
public:
    int Fold(char* out, int size, const char* text, int length) const override {
        if (length >= size) return -1;
        for (int i = 0; i < length; ++i) out[i] = FoldCase(text[i]);
        out[length] = '\0';
        return length;
    }
};
const LowercaseFold kLowercase;
struct FoldingCatalogue : Catalogue {
    FoldingCatalogue() {
        fold = &kLowercase;
        words = 1;
    }
};

double TimeIndexedAdd(const std::vector<std::string>& paths) {
    Catalogue catalogue;
    Clock::time_point start = Clock::now();
    for (const std::string& p : paths) catalogue.Add(p.c_str());
    double s = Seconds(start);
    if (catalogue.Count() != static_cast<int>(paths.size())) abort();
    return s;
}

double TimeWalkingAdd(const std::vector<std::string>& paths) {
    WalkingList list;
    Clock::time_point start = Clock::now();
    for (const std::string& p : paths) list.Add(p.c_str());
    return Seconds(start);
}

}  // namespace

int main() {
    printf("Add of distinct paths (indexed):\n");
    double perEntrySmall = 0, perEntryLarge = 0;
    for (int n : {10000, 100000, 1000000}) {
        std::vector<std::string> paths = MakePaths(n);
        double s = TimeIndexedAdd(paths);
        double ns = s * 1e9 / n;
        if (n == 10000) perEntrySmall = ns;
        if (n == 1000000) perEntryLarge = ns;
        printf("  %8d entries: %8.1f ms, %6.1f ns per entry\n", n, s * 1e3, ns);
    }
    printf("  per-entry cost, 1M against 10k: %.2fx\n", perEntryLarge / perEntrySmall);

    printf("Walking duplicate test against the index, same paths:\n");
    for (int n : {10000, 30000}) {
        std::vector<std::string> paths = MakePaths(n);
        double walking = TimeWalkingAdd(paths);
        double indexed = TimeIndexedAdd(paths);
        printf("  %8d entries: walking %8.1f ms, indexed %6.2f ms, ratio %.0fx\n", n, walking * 1e3,
               indexed * 1e3, walking / indexed);
    }

    {
        std::vector<std::string> paths = MakePaths(100000);
        Catalogue catalogue;
        for (const std::string& p : paths) catalogue.Add(p.c_str());
        const int rounds = 200;
        Clock::time_point start = Clock::now();
        int found = 0;
        for (int i = 0; i < rounds; ++i) found += catalogue.FindPrefix("zz", 2, nullptr) != nullptr;
        double ms = Seconds(start) * 1e3 / rounds;
        printf("FindPrefix with no match over 100000 entries: %.3f ms (%d found)\n", ms, found);

        // The same keystroke with remembered picks: 512 of them, none for the
        // typed text or any prefix of it, so every prefix is looked up before
        // the walk (the most a pick lookup adds).
        Picks picks;
        for (int i = 0; i < Picks::kMaxPicks; ++i) {
            std::string typed = "pick" + std::to_string(i);
            picks.Remember(typed.c_str(), static_cast<int>(typed.size()), paths[i * 100].c_str());
        }
        const char typed[] = "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzz";
        const int length = static_cast<int>(sizeof typed - 1);
        double best[2] = {1e9, 1e9};
        for (int repeat = 0; repeat < 5; ++repeat) {
            for (int remember = 0; remember < 2; ++remember) {
                start = Clock::now();
                for (int i = 0; i < rounds; ++i) {
                    CatalogueEntry* entry = remember ? picks.Find(catalogue, typed, length) : nullptr;
                    if (!entry) entry = catalogue.FindPrefix(typed, length, nullptr);
                    found += entry != nullptr;
                }
                double each = Seconds(start) * 1e3 / rounds;
                if (each < best[remember]) best[remember] = each;
            }
        }
        printf("Keystroke over 100000 entries, %d characters, no match: %.3f ms; with %d picks: "
               "%.3f ms; ratio %.3f (best of 5)\n",
               length, best[0], picks.Count(), best[1], best[1] / best[0]);
    }

    printf("Lean entries against the earlier two-block layout (best of 5):\n");
    for (int n : {100000, 1000000}) {
        std::vector<std::string> paths = MakePaths(n);
        double add[2], clear[2];
        TimeAddAndClear<TwoBlockCatalogue>(paths, &add[0], &clear[0]);
        TimeAddAndClear<Catalogue>(paths, &add[1], &clear[1]);
        printf("  %8d entries: add %7.1f ms (was %7.1f, ratio %.2f), free %6.2f ms (was %6.2f, "
               "ratio %.2f)\n",
               n, add[1] * 1e3, add[0] * 1e3, add[1] / add[0], clear[1] * 1e3, clear[0] * 1e3,
               clear[1] / clear[0]);
        if (n == 100000) {
            size_t pathBytes = 0;
            for (const std::string& p : paths) pathBytes += p.size() + 1;
            // The lean layout first: memory that the earlier one frees may
            // stay with the process and would flatter a later measurement.
            double now = BytesPerEntry<Catalogue>(paths);
            double options = BytesPerEntry<FoldingCatalogue>(paths);
            double was = BytesPerEntry<TwoBlockCatalogue>(paths);
            if (now > 0) {
                printf("  memory at %d entries: %.1f bytes per entry (was %.1f, ratio %.2f), of "
                       "which %.1f are the path text\n",
                       n, now, was, now / was, static_cast<double>(pathBytes) / n);
                printf("  with accents and words on (ASCII paths): %.1f bytes per entry (%.3fx)\n", options,
                       options / now);
            }
        }
    }
    return 0;
}
