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
//   attributes, its security and its alternate streams. The old file gets a
//   backup name of this write's own for the moment of the swap, so that a
//   replace that fails half-way never leaves it under a name nobody knows,
//   and the only copy of the settings is never deleted.
// - The file system's steps are virtual, so that tests can make each of
//   them fail as Windows can and Wine does not.
class FileReplace {
public:
    explicit FileReplace(const wchar_t* path);
    // Removes a copy that was not committed, and releases the lock.
    virtual ~FileReplace();

    // Takes the lock (waiting at most kLockWaitMs, while messages sent to
    // this thread, a screen reader's among them, are still answered), finds
    // the file behind a link and creates an empty copy. 0 when any step
    // fails: nothing may be written then. A link whose target is missing is
    // refused and stays a link.
    int Begin();
    // The copy, to be written; the file it will replace; whether that file
    // existed at Begin.
    const wchar_t* CopyPath() const { return copyPath; }
    const wchar_t* TargetPath() const { return target; }
    int TargetExists() const { return targetExists; }
    // 1 when the path given is a link to the file replaced.
    int Linked() const { return linked; }
    // Fills the copy with the file's bytes as they are now.
    int CopyTarget();
    // Fills the copy with these bytes.
    int WriteCopy(const void* data, size_t length);
    // Flushes the copy and puts it in the file's place; 0, with the file as
    // it was, when any step fails. Where the platform took the old file
    // away and the copy cannot follow it into its place, the old file is
    // put back; when even that fails, both stay on the disk under their own
    // names, and neither is deleted.
    int Commit();

    // The lock's name for a full path: the same file under any spelling
    // gives the same name.
    static void LockName(const wchar_t* fullPath, wchar_t (&name)[40]);

    static constexpr DWORD kLockWaitMs = 3000;
    // A copy that an antivirus or a sync client holds for a moment.
    static constexpr int kMoveTries = 5;
    static constexpr DWORD kMoveRetryMs = 100;
    // Below this many free bytes after the write, the volume counts as
    // having filled up during it.
    static constexpr unsigned int kMinFreeBytes = 4096;

protected:
    // The platform's calls, for tests to fail.
    virtual DWORD FinalPath(HANDLE file, wchar_t* out, DWORD size, DWORD flags);
    // 1 when the folder lists the name (Wine hides a link whose target is
    // missing; Windows lists it).
    virtual int Listed(const wchar_t* name);
    virtual BOOL Replace(const wchar_t* replaced, const wchar_t* replacement, const wchar_t* backup);
    virtual BOOL Move(const wchar_t* from, const wchar_t* to);

private:
    int ResolveTarget(const wchar_t* path);
    int MoveCopyIntoPlace();
    int TakeLock();
    int CreateCopy();
    int VolumeHasRoom() const;

    const wchar_t* path;
    wchar_t target[kPathSize];
    wchar_t copyPath[kPathSize];
    wchar_t backupPath[kPathSize];  // the copy's name, ".bak" for ".tmp"
    HANDLE lock;
    int targetExists;
    int linked;
    int made;  // a copy exists that this object must remove
};
