#include "settings/SettingsFile.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "settings/ProfileText.h"
#include "settings/SettingsCopy.h"
#include "window/TextFormat.h"

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

int SettingsFile::ReadValue(const char* section, const char* key, char (&text)[kPathSize]) {
    text[0] = '\0';
    if (!path) return 0;
    return static_cast<int>(GetPrivateProfileStringA(section, key, "", text, sizeof text, path));
}

int SettingsFile::GetInt(const char* section, const char* key, int defaultValue) {
    char text[kPathSize];
    if (ReadValue(section, key, text) == 0) return defaultValue;
    return ParseInt(text);
}

int SettingsFile::GetString(char* buffer, int size, const char* section, const char* key,
                            const char* defaultText) {
    if (size <= 0) return 0;
    if (!path) {
        lstrcpynA(buffer, defaultText, size);
        return lstrlenA(buffer);
    }
    return static_cast<int>(
        GetPrivateProfileStringA(section, key, defaultText, buffer, static_cast<DWORD>(size), path));
}

unsigned int SettingsFile::GetColour(const char* section, const char* key,
                                     unsigned int defaultColour) {
    char text[kPathSize];
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
    buffer[0] = '\0';
    DWORD n = path ? GetPrivateProfileSectionA(section, buffer, static_cast<DWORD>(size), path) : 0;
    // The platform reports a section that did not fit as size - 2.
    if (cut && n + 2 >= static_cast<DWORD>(size)) *cut = 1;
    // The section ends with an empty line even when the platform had to cut
    // it, so that NextEntry can never walk past the buffer.
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return buffer;
}

int SettingsFile::SetInt(const char* section, const char* key, int value) {
    if (!path) return 0;
    char text[16];
    FormatText(text, sizeof text, "%d", value);
    SettingsCopy copy(path);
    return copy.Begin() && WritePrivateProfileStringA(section, key, text, copy.Path()) && copy.Commit();
}
