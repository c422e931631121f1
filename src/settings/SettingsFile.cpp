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
    // of the Windows folder; a full path is taken as it is.
    int full = (fileName[0] && fileName[1] == ':' && fileName[2] == '\\') ||
               (fileName[0] == '\\' && fileName[1] == '\\');
    size_t size = strlen(fileName) + 3;
    path = static_cast<char*>(malloc(size));
    if (!path) return;
    FormatText(path, size, full ? "%s" : ".\\%s", fileName);
    // Every reader of the settings starts here: a file in an encoding that
    // the profile functions misread is turned into UTF-16 first.
    WidePath file(path);
    if (file.ok) MakeSettingsReadable(file.text);
}

SettingsFile::~SettingsFile() {
    free(path);
}

namespace {

// 1 when the ANSI code page cannot hold the text: the profile functions
// would write "?" (or a look-alike) for what it lacks, and report success.
int NeedsUnicode(const wchar_t* text) {
    // A UTF-8 code page holds every character but a lone surrogate, and
    // takes no question about lost ones.
    if (GetACP() == CP_UTF8) {
        return !WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    }
    BOOL lost = FALSE;
    return !WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &lost) || lost;
}

}  // namespace

int SettingsFile::ReadValue(const char* section, const char* key, char (&text)[kPathBytes],
                            const char* defaultText) {
    text[0] = '\0';
    WidePath file(path);
    WidePath wideSection(section);
    WidePath wideKey(key);
    WidePath wideDefault(defaultText);
    wchar_t wide[kPathSize];
    if (!file.ok || !wideSection.ok || !wideKey.ok || !wideDefault.ok ||
        !GetPrivateProfileStringW(wideSection.text, wideKey.text, wideDefault.text, wide, kPathSize, file.text)) {
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
    WidePath file(path);
    WidePath wideSection(section);
    // As many units as the buffer has bytes: what does not fit in them does
    // not fit in the bytes either.
    wchar_t* wide = file.ok && wideSection.ok ? static_cast<wchar_t*>(malloc(static_cast<size_t>(size) * sizeof *wide))
                                               : nullptr;
    DWORD n = wide ? GetPrivateProfileSectionW(wideSection.text, wide, static_cast<DWORD>(size), file.text) : 0;
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
    WidePath file(path);
    WidePath wideSection(section);
    WidePath wideKey(key);
    if (!file.ok || !wideSection.ok || !wideKey.ok) return 0;
    char text[16];
    FormatText(text, sizeof text, "%d", value);
    WidePath wideValue(text);
    // An ANSI file that cannot hold the key is turned into UTF-16 first.
    SettingsCopy copy(file.text);
    return copy.Begin(NeedsUnicode(wideKey.text)) &&
           copy.SetKey(wideSection.text, wideKey.text, wideValue.text) && copy.Commit();
}
