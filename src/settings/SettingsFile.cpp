#include "settings/SettingsFile.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "settings/ProfileText.h"
#include "settings/SettingsCopy.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

SettingsFile::SettingsFile(const char* fileName) {
    // ".\" makes the profile functions look in the current directory instead
    // of the Windows folder.
    size_t size = strlen(fileName) + 3;
    path = static_cast<char*>(malloc(size));
    if (path) FormatText(path, size, ".\\%s", fileName);
}

SettingsFile::~SettingsFile() {
    free(path);
}

namespace {

// The names of one call in UTF-16: the file, the section and the key (null
// for none). ok is 0 when one does not fit, which no real name reaches.
struct WideNames {
    WideNames(const char* path, const char* sectionName, const char* keyName)
        : key(keyName ? keyText : nullptr),
          ok(path && ToUtf16(file, path) && ToUtf16(section, sectionName) &&
             (!keyName || ToUtf16(keyText, keyName))) {}
    wchar_t file[kPathSize];
    wchar_t section[kPathSize];
    wchar_t keyText[kPathSize];
    const wchar_t* key;
    int ok;
};

// 1 when the ANSI code page cannot hold the text: the profile functions
// would write "?" (or a look-alike) for what it lacks, and report success.
int NeedsUnicode(const wchar_t* text) {
    BOOL lost = FALSE;
    // Fails for a code page that takes no such question (UTF-8): then as
    // if the text were lost, and the file holds UTF-16, which any reads.
    return !WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &lost) || lost;
}

}  // namespace

int SettingsFile::ReadValue(const char* section, const char* key, char (&text)[kPathBytes],
                            const char* defaultText) {
    text[0] = '\0';
    WideNames names(path, section, key);
    wchar_t wideDefault[kPathSize];
    wchar_t wide[kPathSize];
    if (!names.ok || !ToUtf16(wideDefault, defaultText) ||
        !GetPrivateProfileStringW(names.section, names.key, wideDefault, wide, kPathSize, names.file)) {
        return 0;
    }
    return ToWtf8(text, wide) ? static_cast<int>(strlen(text)) : 0;
}

int SettingsFile::GetInt(const char* section, const char* key, int defaultValue) {
    char text[kPathBytes];
    if (ReadValue(section, key, text) == 0) return defaultValue;
    return ParseInt(text);
}

int SettingsFile::GetString(char* buffer, int size, const char* section, const char* key,
                            const char* defaultText) {
    if (size <= 0) return 0;
    char text[kPathBytes];
    int length = path ? ReadValue(section, key, text, defaultText) : FormatText(text, sizeof text, "%s", defaultText);
    // A value that does not fit the buffer reads as empty: a cut value
    // would be another one.
    buffer[0] = '\0';
    if (length <= 0 || length >= size) return 0;
    memcpy(buffer, text, static_cast<size_t>(length) + 1);
    return length;
}

unsigned int SettingsFile::GetColour(const char* section, const char* key,
                                     unsigned int defaultColour) {
    char text[kPathBytes];
    unsigned int colour;
    if (ReadValue(section, key, text) == 0 || !ParseColour(text, &colour)) return defaultColour;
    return colour;
}

char* SettingsFile::GetSection(const char* section, char* buffer, int size, int* cut) {
    if (cut) *cut = 0;
    if (size < 2) {
        if (size == 1) buffer[0] = '\0';
        return buffer;
    }
    WideNames names(path, section, nullptr);
    // As many units as the buffer has bytes: what does not fit in them does
    // not fit in the bytes either.
    wchar_t* wide = names.ok ? static_cast<wchar_t*>(malloc(static_cast<size_t>(size) * sizeof *wide)) : nullptr;
    DWORD n = wide ? GetPrivateProfileSectionW(names.section, wide, static_cast<DWORD>(size), names.file) : 0;
    // The platform reports a section that did not fit as size - 2.
    if (cut && n + 2 >= static_cast<DWORD>(size)) *cut = 1;
    // Line by line, as far as whole lines fit, the last byte kept for the
    // empty line that ends the section.
    size_t used = 0;
    for (DWORD at = 0; at < n && wide[at];) {
        DWORD line = 0;
        while (at + line < n && wide[at + line]) ++line;
        int bytes = Wtf8FromUtf16(buffer + used, static_cast<size_t>(size) - 1 - used, wide + at,
                                  static_cast<int>(line));
        if (bytes < 0) {
            if (cut) *cut = 1;
            break;
        }
        used += static_cast<size_t>(bytes) + 1;
        at += line + 1;
    }
    free(wide);
    buffer[used] = '\0';
    // The section ends with an empty line even when it had to be cut, so
    // that NextEntry can never walk past the buffer.
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return buffer;
}

int SettingsFile::SetInt(const char* section, const char* key, int value) {
    WideNames names(path, section, key);
    if (!names.ok) return 0;
    char text[16];
    wchar_t wide[16];
    FormatText(text, sizeof text, "%d", value);
    ToUtf16(wide, text);
    // An ANSI file that cannot hold the key is turned into UTF-16 first.
    SettingsCopy copy(names.file);
    return copy.Begin(NeedsUnicode(names.keyText)) &&
           WritePrivateProfileStringW(names.section, names.key, wide, copy.Path()) && copy.Commit();
}
