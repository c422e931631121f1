// Prints how many keys a user presses before the program wanted is the one
// Enter starts, over a catalogue of real Start Menu names, with the
// catalogue's own lookup as the strip uses it: the first answer of the
// typed text is offered, and Down walks the rest (NameAnswers).
//   name: each name typed from its first letter until it is offered (Down
//         at the end when the whole name is not enough);
//   word: for each name of several words, the fewest keys (typed and Down)
//         from a prefix of a later word, and the names no such prefix reaches;
//   best: the fewest keys over name prefixes, later-word prefixes and
//         initials, and the share of names within two keys.
// Usage: keys_bench start-menu.txt

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "answers/NameAnswers.h"
#include "catalogue/Catalogue.h"
#include "text/TextFold.h"

namespace {

const int kUnreachable = 1 << 20;

// The keys that the text costs to put the entry in front of Enter: the
// typed characters, and the Downs from the first match; kUnreachable when
// Down never comes to it.
int KeysFor(Catalogue& catalogue, const std::string& text, CatalogueEntry* wanted) {
    int length = static_cast<int>(text.size());
    int mode = Catalogue::kPrefixMatch;
    CatalogueEntry* first = catalogue.FindMatch(text.c_str(), length, &mode);
    if (!first) return kUnreachable;
    if (first == wanted) return length;
    NameAnswers answers;
    answers.Start(catalogue, text.c_str(), length, nullptr, first);
    for (int downs = 1; downs < answers.Count(); ++downs) {
        if (answers.Step(1, &mode) == wanted) return length + downs;
    }
    return kUnreachable;
}

// Where each later word of the name starts, as the catalogue reads words:
// after a blank, "-", "_", "." or "(", and at a capital after a small letter.
std::vector<size_t> WordStarts(const std::string& name) {
    std::vector<size_t> starts;
    for (size_t i = 1; i < name.size(); ++i) {
        char before = name[i - 1];
        char c = name[i];
        int separated = strchr(" -_.(", before) != nullptr && !strchr(" -_.(", c);
        int capital = c >= 'A' && c <= 'Z' && before >= 'a' && before <= 'z';
        if (separated || capital) starts.push_back(i);
    }
    return starts;
}

std::string Initials(const std::string& name) {
    std::string initials(1, name[0]);
    for (size_t start : WordStarts(name)) initials += name[start];
    return initials;
}

// The fewest keys over the prefixes of text from at.
int FewestFrom(Catalogue& catalogue, const std::string& text, size_t at, CatalogueEntry* wanted) {
    int best = kUnreachable;
    for (size_t end = at + 1; end <= text.size(); ++end) {
        int keys = KeysFor(catalogue, text.substr(at, end - at), wanted);
        if (keys < best) best = keys;
    }
    return best;
}

void Measure(const std::vector<std::string>& names, int words) {
    Catalogue catalogue;
    catalogue.words = words;
    std::vector<CatalogueEntry*> entries;
    for (const std::string& name : names) {
        std::string path = "C:\\Menu\\" + name + ".lnk";
        catalogue.AddName(path.c_str(), name.c_str(), CatalogueEntry::kShellItem);
        entries.push_back(catalogue.FindEntry(path.c_str(), name.c_str()));
    }
    double nameKeys = 0;
    int nameCount = 0;
    double wordKeys = 0;
    int wordNames = 0;
    int wordReached = 0;
    double bestKeys = 0;
    int bestCount = 0;
    int withinTwo = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        CatalogueEntry* wanted = entries[i];
        if (!wanted) continue;
        // Typed from the first letter, one more each time it is not offered.
        int typedKeys = kUnreachable;
        for (size_t end = 1; end <= name.size() && typedKeys == kUnreachable; ++end) {
            std::string text = name.substr(0, end);
            int length = static_cast<int>(end);
            int mode = Catalogue::kPrefixMatch;
            if (catalogue.FindMatch(text.c_str(), length, &mode) == wanted) typedKeys = length;
        }
        if (typedKeys == kUnreachable) typedKeys = KeysFor(catalogue, name, wanted);
        if (typedKeys != kUnreachable) {
            nameKeys += typedKeys;
            ++nameCount;
        }
        int best = FewestFrom(catalogue, name, 0, wanted);
        std::vector<size_t> starts = WordStarts(name);
        if (!starts.empty()) {
            ++wordNames;
            int fewest = kUnreachable;
            for (size_t start : starts) {
                int keys = FewestFrom(catalogue, name, start, wanted);
                if (keys < fewest) fewest = keys;
            }
            if (fewest != kUnreachable) {
                wordKeys += fewest;
                ++wordReached;
            }
            if (fewest < best) best = fewest;
            int byInitials = FewestFrom(catalogue, Initials(name), 0, wanted);
            if (byInitials < best) best = byInitials;
        }
        if (best != kUnreachable) {
            bestKeys += best;
            ++bestCount;
            withinTwo += best <= 2;
        }
    }
    printf("words=%d over %d names: name %.2f keys (%d reached); word %.2f keys, %d of %d names of several words "
           "cannot be reached from a later word; best %.2f keys, %.0f%% within two keys\n",
           words, static_cast<int>(names.size()), nameCount ? nameKeys / nameCount : 0.0, nameCount,
           wordReached ? wordKeys / wordReached : 0.0, wordNames - wordReached, wordNames,
           bestCount ? bestKeys / bestCount : 0.0, bestCount ? 100.0 * withinTwo / bestCount : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: keys_bench start-menu.txt\n");
        return 2;
    }
    FILE* file = fopen(argv[1], "rb");
    if (!file) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    // One name a line, in the order a scan adds them; each name once.
    std::vector<std::string> names;
    char line[512];
    while (fgets(line, sizeof line, file)) {
        size_t n = strcspn(line, "\r\n");
        line[n] = '\0';
        if (n == 0) continue;
        int seen = 0;
        for (const std::string& name : names) {
            seen = seen || (name.size() == n && EqualFolded(name.c_str(), line, static_cast<int>(n)));
        }
        if (!seen) names.push_back(line);
    }
    fclose(file);
    Measure(names, 0);
    Measure(names, 1);
    return 0;
}
