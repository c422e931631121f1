// libFuzzer target: any bytes as a picks file, and as skip patterns and names.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/SkipPatterns.h"
#include "answers/Picks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    Picks picks;
    picks.Parse(text, size);
    if (picks.Count() > Picks::kMaxPicks) abort();
    // What is kept writes out and reads back the same.
    size_t length = 0;
    char* once = picks.Format(&length);
    if (!once) return 0;
    Picks again;
    again.Parse(once, length);
    size_t againLength = 0;
    char* twice = again.Format(&againLength);
    if (!twice || againLength != length || memcmp(once, twice, length) != 0) abort();
    free(once);
    free(twice);

    Catalogue catalogue;
    catalogue.Add("C:\\a\\notepad.exe");
    std::string typed(text, size < 256 ? size : 256);
    picks.Find(catalogue, typed.c_str(), static_cast<int>(strlen(typed.c_str())));

    // The first half as a pattern, the rest as a name.
    std::string pattern(text, size / 2), name(text + size / 2, size - size / 2);
    MatchesWildcard(pattern.c_str(), name.c_str());
    return 0;
}
