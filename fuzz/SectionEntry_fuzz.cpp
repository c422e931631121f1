// libFuzzer target: any bytes as a settings section, as values and as keys.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "settings/ProfileText.h"
#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A section buffer as the platform fills it: ends with two NULs.
    std::vector<char> section(data, data + size);
    section.push_back('\0');
    section.push_back('\0');
    // A cut section loses its last line; the rest must still split safely.
    if (size && data[0] & 1) DropLastLine(section.data());
    char* cursor = section.data();
    char* end = section.data() + section.size();
    char* key;
    int value;
    while (SettingsFile::NextIntEntry(&cursor, &key, &value)) {
        if (cursor > end || key < section.data() || key >= end) abort();
    }
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    unsigned int colour;
    ParseInt(text.data());
    if (IsWritableKey(text.data()) && strpbrk(text.data(), "\r\n")) abort();
    if (ParseColour(text.data(), &colour) && colour > 0xFFFFFF) abort();
    return 0;
}
