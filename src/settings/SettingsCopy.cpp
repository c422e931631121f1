#include "settings/SettingsCopy.h"

#include <windows.h>

#include <cstring>

#include "window/TextFormat.h"

SettingsCopy::SettingsCopy(const char* path) : target(path), made(0) {
    if (!path || FormatText(copyPath, sizeof copyPath, "%s.tmp", path) < 0) copyPath[0] = '\0';
}

SettingsCopy::~SettingsCopy() {
    if (made) Remove();
}

void SettingsCopy::Remove() {
    // A copy of a read-only file is read-only too, and would not go.
    SetFileAttributesA(copyPath, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(copyPath);
}

int SettingsCopy::Begin() {
    if (copyPath[0] == '\0') return 0;
    // A file the user marked read-only stays as it is, also where the
    // platform would let a write through (an administrator under Wine).
    DWORD attributes = GetFileAttributesA(target);
    DWORD error = GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return 0;
    Remove();  // one that an interrupted write left behind
    made = 1;
    if (attributes == INVALID_FILE_ATTRIBUTES) return error == ERROR_FILE_NOT_FOUND;
    return CopyFileA(target, copyPath, FALSE) != 0;
}

int SettingsCopy::VolumeHasRoom() const {
    // The folder of the file, with its backslash; the current one for none.
    char folder[kPathSize];
    const char* slash = strrchr(target, '\\');
    size_t length = slash ? static_cast<size_t>(slash - target) + 1 : 0;
    memcpy(folder, target, length);
    folder[length] = '\0';
    ULARGE_INTEGER available;
    // A volume that cannot tell is trusted.
    if (!GetDiskFreeSpaceExA(length ? folder : nullptr, &available, nullptr, nullptr)) return 1;
    return available.QuadPart >= kMinFreeBytes;
}

int SettingsCopy::Commit() {
    if (!made) return 0;
    // Three nulls write the profile functions' cached text of the copy out.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copyPath);
    HANDLE file = CreateFileA(copyPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = FlushFileBuffers(file);
    CloseHandle(file);
    // The profile functions report success even when the volume filled up
    // under their write (Wine's do, and the copy is then cut short): a
    // volume left with almost no room counts as a write that failed.
    ok = ok && VolumeHasRoom() &&
         MoveFileExA(copyPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (ok) made = 0;
    return ok;
}
