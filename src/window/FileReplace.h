#pragma once

#include <windows.h>

#include <cstddef>

#include "text/PathText.h"

// A file written whole as a copy beside it, then put in its place in one
// step, for the files Kwivo rewrites (kwivo.ini, the picks): a full disk, a
// crash or a second Kwivo writing at the same moment leaves the old file or
// the new one, never a part or a mix.
//
//   FileReplace replace(path);
//   ok = replace.Begin() && <write replace.CopyPath()> && replace.Commit();
//
// - Every Kwivo process takes the file's lock (a mutex named after its full
//   path) for the whole of one write, so that each write starts from the
//   file as the last one left it.
// - A link to the file is followed: the file it points to is replaced, and
//   the link stays a link.
// - The copy's name is this process's own; a copy it did not make is never
//   touched, and a leftover of its own, or of an earlier process that had
//   the same identifier, is cleared or passed by.
// - An existing file is replaced with ReplaceFileW, which keeps its
//   attributes, its security and its alternate streams.
class FileReplace {
public:
    explicit FileReplace(const wchar_t* path);
    // Removes a copy that was not committed, and releases the lock.
    virtual ~FileReplace();

    // Takes the lock (waiting at most kLockWaitMs), finds the file behind a
    // link and creates an empty copy. 0 when any step fails: nothing may be
    // written then.
    int Begin();
    // The copy, to be written; the file it will replace; whether that file
    // existed at Begin.
    const wchar_t* CopyPath() const { return copyPath; }
    const wchar_t* TargetPath() const { return target; }
    int TargetExists() const { return targetExists; }
    // Fills the copy with the file's bytes as they are now.
    int CopyTarget();
    // Fills the copy with these bytes.
    int WriteCopy(const void* data, size_t length);
    // Flushes the copy and puts it in the file's place; 0, with the file as
    // it was, when any step fails.
    int Commit();

    static constexpr DWORD kLockWaitMs = 3000;
    // Below this many free bytes after the write, the volume counts as
    // having filled up during it.
    static constexpr unsigned int kMinFreeBytes = 4096;

private:
    int ResolveTarget(const wchar_t* path);
    int TakeLock();
    int CreateCopy();
    int VolumeHasRoom() const;

    const wchar_t* path;
    wchar_t target[kPathSize];
    wchar_t copyPath[kPathSize];
    HANDLE lock;
    int targetExists;
    int made;  // a copy exists that this object must remove
};
