#pragma once

#include "files/FileReplace.h"

// A change of the settings file made through a copy beside it (FileReplace):
// the file is copied under its lock, the copy is written and put in its
// place in one step. A full disk or a crash during a write in place would
// leave the settings cut short, and a second Kwivo writing at the same
// moment would mix its lines with this one's; through the copy the file is
// the old one or the new one, whole.
//
//   SettingsCopy copy(path);
//   ok = copy.Begin(0) && copy.SetKey(section, key, value) && copy.Commit();
//
// A copy that was not committed is removed with the object.
class SettingsCopy {
public:
    explicit SettingsCopy(const wchar_t* path);
    virtual ~SettingsCopy();

    // Makes the copy; a file that does not exist yet gives an empty one.
    // With toUnicode the copy is the file's text in UTF-16LE with its mark,
    // which the profile functions then keep and which holds any character:
    // a file in UTF-8 or UTF-16BE is decoded as such, any other through the
    // ANSI code page, and a file that does not exist yet starts as the mark
    // alone. 0 when the copy cannot be made (no room, a file marked
    // read-only, the lock held too long elsewhere): nothing may be written
    // then. kReadable converts as toUnicode does, for a reader: never
    // through a link, and only once the file as it was is kept beside it.
    int Begin(int toUnicode);
    static constexpr int kReadable = 2;
    const wchar_t* Path() const { return replace.CopyPath(); }
    // Sets one key in the copy, every other byte of it kept (ProfileEdit):
    // in UTF-16 where the copy has its mark, else in the ANSI code page.
    int SetKey(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // Flushes the written copy and puts it in the file's place; 0, with the
    // file exactly as it was, when any step fails.
    int Commit();

    // A larger file is not converted to UTF-16.
    static constexpr unsigned int kMaxConvertBytes = 16 * 1024 * 1024;

private:
    int WriteUnicodeCopy();

    FileReplace replace;
};

// Every section of the settings file with each setting commented out, in
// ASCII, for a kwivo.ini that "/e" creates.
extern const char kSettingsTemplate[];
// Creates the settings file from kSettingsTemplate, in UTF-16LE with its
// mark so that any text typed into it is kept, unless it exists; 1 when it
// exists afterwards.
int CreateSettingsFile(const wchar_t* path);

// Turns a settings file that the profile functions would misread (UTF-8,
// with or without its mark, or UTF-16BE) into UTF-16LE with its mark,
// every line and character kept, through SettingsCopy. Without a mark, a
// file is UTF-8 when its bytes are valid UTF-8 and hold a character beyond
// ASCII (SettingsEncoding). The file as it was is kept beside it once, as
// kUtf8BackupSuffix, before the first conversion; a conversion that could
// not keep it is not made. Never touched: a file in the ANSI code page, in
// UTF-16LE or of ASCII only; a UTF-8 file with bytes that are no UTF-8
// (it would lose them); a file reached through a link (a file of another
// tool's, a repository of dotfiles, is not rewritten by reading it). 1 when
// the file is readable as it now is.
int MakeSettingsReadable(const wchar_t* path);
const wchar_t kUtf8BackupSuffix[] = L".utf8.bak";
