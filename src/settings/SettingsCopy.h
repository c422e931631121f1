#pragma once

#include "catalogue/PathText.h"

// A change of the settings file made through a copy beside it: the file is
// copied, the copy is written, flushed and moved over the file in one step.
// The profile functions rewrite a file in place, so a full disk or a crash
// during their write would leave the settings cut short; through the copy
// the file is either the old one or the new one, whole.
//
//   SettingsCopy copy(path);
//   ok = copy.Begin() && <write into copy.Path()> && copy.Commit();
//
// A copy that was not committed is removed with the object.
class SettingsCopy {
public:
    // The copy is named after the file, with ".tmp" added.
    explicit SettingsCopy(const char* path);
    virtual ~SettingsCopy();

    // Makes the copy; a file that does not exist yet gives no copy, and the
    // write creates it. 0 when the copy cannot be made (no room, a file
    // marked read-only, a name too long): nothing may be written then.
    int Begin();
    const char* Path() const { return copyPath; }
    // Flushes the written copy and puts it in the file's place; 0, with the
    // file exactly as it was, when any step fails.
    int Commit();

    // Below this many free bytes after the write, the volume counts as
    // having filled up during it.
    static constexpr unsigned int kMinFreeBytes = 4096;

private:
    void Remove();
    int VolumeHasRoom() const;

    const char* target;
    char copyPath[kPathSize];
    int made;  // a copy may exist that this object must remove
};
