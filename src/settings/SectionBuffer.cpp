#include "settings/SectionBuffer.h"

#include <cstdlib>

#include "settings/ProfileText.h"
#include "settings/SettingsFile.h"

SectionBuffer::SectionBuffer() : data(nullptr), size(0) {
    empty[0] = '\0';
    empty[1] = '\0';
}

SectionBuffer::~SectionBuffer() {
    free(data);
}

int SectionBuffer::Grow(int newSize) {
    // The old text is read again, so nothing needs to be kept; realloc keeps
    // the old buffer when it fails.
    char* grown = static_cast<char*>(realloc(data, static_cast<size_t>(newSize)));
    if (!grown) return 0;
    data = grown;
    size = newSize;
    return 1;
}

char* SectionBuffer::Read(SettingsFile& settings, const char* section) {
    if (!data && !Grow(kFirstSize)) return empty;
    for (;;) {
        int cut = 0;
        settings.GetSection(section, data, size, &cut);
        if (!cut) return data;
        if (size >= kMaxSize || !Grow(size * 2)) break;
    }
    DropLastLine(data);
    return data;
}
