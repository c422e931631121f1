// libFuzzer target: any bytes as a script source's output, read in pieces
// whose sizes the first byte sets, and as a [sources] section.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "answers/ScriptSources.h"
#include "answers/SourceOutput.h"
#include "text/Wtf8.h"

namespace {

// Valid UTF-8: no NUL inside, no surrogate, no byte that starts nothing.
void CheckUtf8(const char* text) {
    size_t length = strlen(text);
    for (size_t i = 0; i < length;) {
        unsigned int codePoint = 0;
        int n = DecodeWtf8(text + i, length - i, &codePoint);
        if ((n == 1 && static_cast<unsigned char>(text[i]) >= 0x80) || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            abort();
        }
        i += static_cast<size_t>(n);
    }
    if (length >= static_cast<size_t>(kPathBytes)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t piece = data[0] % 16 + 1;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;
    SourceOutput output;
    for (size_t at = 0; at < length;) {
        int room = 0;
        char* space = output.Space(&room);
        if (!space) break;
        size_t n = piece < length - at ? piece : length - at;
        if (n > static_cast<size_t>(room)) n = static_cast<size_t>(room);
        memcpy(space, bytes + at, n);
        output.Wrote(static_cast<int>(n));
        at += n;
    }
    output.End();
    if (output.Count() > SourceOutput::kMaxLines) abort();
    char field[kPathBytes];
    for (int i = 0; i < output.Count(); ++i) {
        if (!output.Field(i, SourceOutput::kTitle, field) || !field[0]) abort();
        CheckUtf8(field);
        if (output.Field(i, SourceOutput::kTarget, field)) CheckUtf8(field);
        if (output.Field(i, SourceOutput::kLeads, field)) CheckUtf8(field);
    }

    // The same bytes as a section: lines split at NULs, ending in an empty one.
    std::string section(bytes, length);
    section.append(2, '\0');
    ScriptSources sources;
    sources.Take(section.data());
    const char* words = nullptr;
    const char* command = sources.Find(section.c_str(), &words);
    if (command && !strstr(command, "%s")) abort();
    return 0;
}
