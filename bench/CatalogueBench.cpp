// Prints the cost of the catalogue's lists: Add at growing sizes (against the
// walking duplicate test that the index replaces), the worst keystroke
// (FindPrefix with no match, with and without remembered picks) and the
// memory an entry takes.
// Build without sanitizers (the "bench" preset) for meaningful figures.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "catalogue/Catalogue.h"
#include "panel/Picks.h"

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
    CatalogueEntry* head = nullptr;
    void Add(const char* path) {
        for (CatalogueEntry* e = head; e; e = e->next) {
            if (strcmp(e->path, path) == 0) return;
        }
        CatalogueEntry* entry = static_cast<CatalogueEntry*>(malloc(sizeof *entry));
        entry->path = strdup(path);
        entry->name = strrchr(entry->path, '\\') + 1;
        entry->program = nullptr;
        entry->next = head;
        head = entry;
    }
    ~WalkingList() {
        while (head) {
            CatalogueEntry* e = head;
            head = e->next;
            free(e->path);
            free(e);
        }
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

#if defined(__GLIBC__)
    {
        std::vector<std::string> paths = MakePaths(100000);
        size_t pathBytes = 0;
        for (const std::string& p : paths) pathBytes += p.size() + 1;
        size_t before = mallinfo2().uordblks;
        Catalogue* catalogue = new Catalogue;
        for (const std::string& p : paths) catalogue->Add(p.c_str());
        size_t after = mallinfo2().uordblks;
        printf("Memory at 100000 entries: %.1f bytes per entry in all, of which %.1f are the "
               "path text\n",
               static_cast<double>(after - before) / 100000, static_cast<double>(pathBytes) / 100000);
        delete catalogue;
    }
#endif
    return 0;
}
