#pragma once

#include <windows.h>

#include "catalogue/CatalogueBuild.h"
#include "text/PathText.h"

// Change notifications for the folders that a catalogue build scans: files
// and folders created, deleted or renamed. One handle a folder, on the
// launcher's own thread; its message loop waits on them.
class FolderWatch : public FolderSink {
public:
    // What one wait can take beside the message queue and kwivo.ini's
    // folder.
    static constexpr int kMaxFolders = MAXIMUM_WAIT_OBJECTS - 2;

    FolderWatch();
    virtual ~FolderWatch();

    // Stops watching every folder.
    void Clear();
    // Watches the folder, with the folders below it when subtree is 1. 0 when
    // it is not watched: already watched, no such folder, or kMaxFolders
    // are watched already.
    int Add(const char* folder, int subtree);
    // After the index-th handle was signalled: watches on for the next
    // change, or stops watching a folder that is gone or whose notification
    // failed, until the next build.
    void Rearm(int index);
    // A folder a build scanned: watched with those below it when the scan
    // went below it.
    void Scanned(const char* folder, int depth) override { Add(folder, depth != 1); }

    int Count() const { return count; }
    const HANDLE* Handles() const { return handles; }

private:
    void Remove(int index);

    HANDLE handles[kMaxFolders];
    char folders[kMaxFolders][kPathBytes];
    int subtrees[kMaxFolders];
    int count;
};
