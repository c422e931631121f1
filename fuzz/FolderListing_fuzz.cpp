// libFuzzer target: any bytes as a folder's names (one a line, "|" before a
// short name, a leading "/" for a folder), the last line as the typed rest.
// Every match the listing gives begins with the rest, in the listed order,
// and none is missed.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/PathText.h"
#include "answers/FolderListing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') lines.emplace_back();
        else if (data[i] != '\0') lines.back() += static_cast<char>(data[i]);
    }
    std::string rest = lines.back();
    lines.pop_back();

    FolderListing listing;
    if (!listing.Start("C:\\f\\", 5)) abort();
    std::vector<std::string> names;  // the names appended, in order, with their short names
    std::vector<std::string> shortNames;
    for (const std::string& line : lines) {
        size_t bar = line.find('|');
        std::string name = line.substr(0, bar);
        std::string shortName = bar == std::string::npos ? "" : line.substr(bar + 1, 255);
        if (!listing.Append(name.c_str(), shortName.c_str(), !name.empty() && name[0] == '/')) break;
        names.push_back(name);
        shortNames.push_back(shortName);
    }
    int length = static_cast<int>(rest.size());
    size_t expected = 0;
    FolderMatch match;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!EqualFolded(names[i].c_str(), rest.c_str(), length) &&
            !(!shortNames[i].empty() && EqualFolded(shortNames[i].c_str(), rest.c_str(), length))) {
            continue;
        }
        if (!listing.Find(rest.c_str(), static_cast<int>(expected), &match)) abort();
        if (names[i] != match.name || match.index != static_cast<int>(expected)) abort();
        ++expected;
    }
    if (listing.Find(rest.c_str(), static_cast<int>(expected), &match)) abort();
    return 0;
}
