#include "catalogue/FolderWatch.h"

#include <cstring>

#include "text/Wtf8.h"
#include "files/WholeFile.h"

namespace {

const DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

int IsFolder(const char* path) {
    DWORD attributes = FileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FolderWatch::FolderWatch() : count(0) {}

FolderWatch::~FolderWatch() {
    Clear();
}

void FolderWatch::Clear() {
    while (count > 0) FindCloseChangeNotification(handles[--count]);
}

int FolderWatch::Add(const char* folder, int subtree) {
    WidePath wide(folder);
    if (strlen(folder) >= static_cast<size_t>(kPathBytes) || !wide.ok) return 0;
    for (int i = 0; i < count; ++i) {
        // A folder scanned twice (its own files, and with those below) is
        // watched once, the wider way.
        if (!EqualFolded(folders[i], folder, kPathBytes)) continue;
        if (subtrees[i] >= subtree) return 0;
        Remove(i);
        break;
    }
    if (count == kMaxFolders) return 0;
    HANDLE handle = FindFirstChangeNotificationW(wide.text, subtree ? TRUE : FALSE, kChanges);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    handles[count] = handle;
    memcpy(folders[count], folder, strlen(folder) + 1);
    subtrees[count] = subtree ? 1 : 0;
    ++count;
    return 1;
}

void FolderWatch::Rearm(int index) {
    if (index < 0 || index >= count) return;
    // A folder that is gone may signal for good: not waited on again.
    if (!IsFolder(folders[index]) || !FindNextChangeNotification(handles[index])) Remove(index);
}

void FolderWatch::Remove(int index) {
    FindCloseChangeNotification(handles[index]);
    --count;
    // The last takes the freed place: the order of handles does not matter.
    handles[index] = handles[count];
    memcpy(folders[index], folders[count], sizeof folders[index]);
    subtrees[index] = subtrees[count];
}
