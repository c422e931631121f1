#pragma once

#include "text/PathText.h"

// A change of the settings file made through a copy beside it: the file is
// copied, the copy is written, flushed and moved over the file in one step.
// The profile functions rewrite a file in place, so a full disk or a crash
// during their write would leave the settings cut short; through the copy
// the file is either the old one or the new one, whole.
//
//   SettingsCopy copy(path);
//   ok = copy.Begin(0) && <write into copy.Path()> && copy.Commit();
//
// A copy that was not committed is removed with the object.
class SettingsCopy {
public:
    // The copy is named after the file, with ".tmp" added.
    explicit SettingsCopy(const wchar_t* path);
    virtual ~SettingsCopy();

    // Makes the copy; a file that does not exist yet gives no copy, and the
    // write creates it. With toUnicode the copy is the file's text in
    // UTF-16LE with its mark, which the profile functions then keep and
    // which holds any character: an ANSI file is read through the ANSI code
    // page, and a file that does not exist yet starts as the mark alone. 0
    // when the copy cannot be made (no room, a file marked read-only, a name
    // too long): nothing may be written then.
    int Begin(int toUnicode);
    const wchar_t* Path() const { return copyPath; }
    // Flushes the written copy and puts it in the file's place; 0, with the
    // file exactly as it was, when any step fails.
    int Commit();

    // Below this many free bytes after the write, the volume counts as
    // having filled up during it.
    static constexpr unsigned int kMinFreeBytes = 4096;
    // A larger file is not converted to UTF-16.
    static constexpr unsigned int kMaxConvertBytes = 16 * 1024 * 1024;

private:
    void Remove();
    int WriteUnicodeCopy(int fileExists);
    int VolumeHasRoom() const;

    const wchar_t* target;
    wchar_t copyPath[kPathSize];
    int made;  // a copy may exist that this object must remove
};
