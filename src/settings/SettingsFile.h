#pragma once

#include "text/PathText.h"

// Typed access to one private profile (INI) file in the current directory,
// or at a full path.
// An object lives for one operation: start-up, shutdown or one command.
// Colours are 0x00BBGGRR, as the GDI takes them.
class SettingsFile {
public:
    explicit SettingsFile(const char* fileName);
    virtual ~SettingsFile();

    int GetInt(const char* section, const char* key, int defaultValue);
    int GetString(char* buffer, int size, const char* section, const char* key,
                  const char* defaultText);
    unsigned int GetColour(const char* section, const char* key, unsigned int defaultColour);
    // Fills the buffer with the section's lines, each NUL-terminated, the last
    // followed by one more NUL; returns the buffer, the cursor for NextEntry.
    // When cut is given, it is set to 1 when the section did not fit (its last
    // line may then be cut short), else 0.
    char* GetSection(const char* section, char* buffer, int size, int* cut = nullptr);
    // Writes through a copy of the file (SettingsCopy): 0, the file exactly
    // as it was, when the write cannot be made whole.
    int SetInt(const char* section, const char* key, int value);

    // Splits the line at the cursor at its last "=" in place and moves the
    // cursor to the next line; 0 at the end of the section. Both use no
    // platform call and live in ProfileText.cpp, which builds natively too.
    static int NextEntry(char** cursor, char** key, char** value);
    static int NextIntEntry(char** cursor, char** key, int* value);

    // ".\" and the file name; null only when memory ran out, and then every
    // read gives its default and every write fails.
    char* path;

private:
    // The value, or the default when the file has no such key; its length.
    int ReadValue(const char* section, const char* key, char (&text)[kPathBytes], const char* defaultText = "");
};
