#include "files/FileReplace.h"

#include <cwchar>

#include "files/FinalPath.h"
#include "text/Hash.h"

namespace {

// Hexadecimal digits of value into out, from the lowest; the characters
// written.
int AppendHex(wchar_t* out, unsigned long long value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = L"0123456789abcdef"[value & 15];
    return digits;
}

// Each write of this process gets a copy of a name of its own: no cached
// profile text of an earlier copy is ever met again.
LONG copyCounter = 0;

const int kCopyTries = 16;

}  // namespace

FileReplace::FileReplace(const wchar_t* filePath)
    : path(filePath), lock(nullptr), targetExists(0), linked(0), made(0) {
    target[0] = 0;
    copyPath[0] = 0;
    backupPath[0] = 0;
}

FileReplace::~FileReplace() {
    if (made) {
        // A copy of a read-only file is read-only too, and would not go.
        SetFileAttributesW(copyPath, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(copyPath);
    }
    if (lock) {
        ReleaseMutex(lock);
        CloseHandle(lock);
    }
}

DWORD FileReplace::FinalPath(HANDLE file, wchar_t* out, DWORD size, DWORD flags) {
    return GetFinalPathNameByHandleW(file, out, size, flags);
}

int FileReplace::Listed(const wchar_t* name) {
    WIN32_FIND_DATAW entry;
    HANDLE listed = FindFirstFileW(name, &entry);
    if (listed == INVALID_HANDLE_VALUE) return 0;
    FindClose(listed);
    return 1;
}

BOOL FileReplace::Replace(const wchar_t* replaced, const wchar_t* replacement, const wchar_t* backup) {
    return ReplaceFileW(replaced, replacement, backup, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

BOOL FileReplace::Move(const wchar_t* from, const wchar_t* to) {
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

int FileReplace::ResolveTarget(const wchar_t* given) {
    // No access asked: opens whatever sharing others chose, and follows a
    // link to the file it points to.
    HANDLE file = CreateFileW(given, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return 0;
        // A name that its folder lists but that cannot be opened through it:
        // a link whose target is missing (a dotfiles checkout not there
        // yet). It stays a link; a file written in its place would end it.
        if (Listed(given)) return 0;
        DWORD n = GetFullPathNameW(given, kPathSize, target, nullptr);
        return n > 0 && n < static_cast<DWORD>(kPathSize);
    }
    // Volumes outside the mount manager (RAM disks, some shared-folder and
    // user-mode file systems) have no normalised name: the name the file was
    // opened by, then the path as given, which is how such files were
    // always written.
    wchar_t final[2 * kPathSize];
    DWORD n = FinalPath(file, final, 2 * kPathSize, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= static_cast<DWORD>(2 * kPathSize)) {
        n = FinalPath(file, final, 2 * kPathSize, FILE_NAME_OPENED | VOLUME_NAME_DOS);
    }
    CloseHandle(file);
    targetExists = 1;
    if (n == 0 || n >= static_cast<DWORD>(2 * kPathSize)) {
        n = GetFullPathNameW(given, kPathSize, target, nullptr);
        return n > 0 && n < static_cast<DWORD>(kPathSize);
    }
    if (!PlainFinalPath(final, target, kPathSize)) return 0;
    wchar_t full[kPathSize];
    n = GetFullPathNameW(given, kPathSize, full, nullptr);
    linked = n > 0 && n < static_cast<DWORD>(kPathSize) &&
             CompareStringOrdinal(full, -1, target, -1, TRUE) != CSTR_EQUAL;
    return 1;
}

void FileReplace::LockName(const wchar_t* fullPath, wchar_t (&name)[40]) {
    // The full path with its letters in capitals, hashed unit by unit.
    wchar_t upper[kPathSize];
    lstrcpynW(upper, fullPath, kPathSize);
    DWORD length = static_cast<DWORD>(wcslen(upper));
    CharUpperBuffW(upper, length);
    unsigned long long hash = kHashStart;
    for (DWORD i = 0; i < length; ++i) hash = HashStep(hash, static_cast<unsigned short>(upper[i]));
    wmemcpy(name, L"Local\\KwivoFile-", 16);
    AppendHex(name + 16, hash, 16);
    name[32] = 0;
}

int FileReplace::TakeLock() {
    wchar_t name[40];
    LockName(target, name);
    lock = CreateMutexW(nullptr, FALSE, name);
    if (!lock) return 0;
    // Any program of the session may hold a mutex of that name. While this
    // thread waits, what other threads and programs send it (a screen
    // reader's questions, the system's) is still answered; posted input
    // waits in the queue.
    DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = GetTickCount() - start;
        DWORD left = waited < kLockWaitMs ? kLockWaitMs - waited : 0;
        DWORD result = MsgWaitForMultipleObjectsEx(1, &lock, left, QS_SENDMESSAGE, 0);
        // An abandoned lock was held by a process that ended in the middle
        // of a write; its copy never replaced the file, which is whole.
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) return 1;
        if (result != WAIT_OBJECT_0 + 1 || left == 0) break;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(lock);
    lock = nullptr;
    return 0;
}

int FileReplace::CreateCopy() {
    size_t length = wcslen(target);
    // ".<process>-<write>.tmp": 1 + 8 + 1 + 8 + 4 characters.
    if (length + 23 > static_cast<size_t>(kPathSize)) return 0;
    wmemcpy(copyPath, target, length);
    wchar_t* suffix = copyPath + length;
    for (int tries = 0; tries < kCopyTries; ++tries) {
        wchar_t* p = suffix;
        *p++ = L'.';
        p += AppendHex(p, GetCurrentProcessId(), 8);
        *p++ = L'-';
        p += AppendHex(p, static_cast<unsigned long>(InterlockedIncrement(&copyCounter)), 8);
        wmemcpy(p, L".tmp", 5);
        wmemcpy(backupPath, copyPath, static_cast<size_t>(p - copyPath));
        wmemcpy(backupPath + (p - copyPath), L".bak", 5);
        HANDLE file = CreateFileW(copyPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            made = 1;
            return 1;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) return 0;
        // A name of this process's own, left by an earlier process with the
        // same identifier: cleared when it is a file; the next name else.
        SetFileAttributesW(copyPath, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(copyPath);
    }
    return 0;
}

int FileReplace::Begin() {
    if (made || lock || !ResolveTarget(path) || !TakeLock()) return 0;
    // A file the user marked read-only stays as it is, also where the
    // platform would let a write through (an administrator under Wine).
    // Read under the lock, as the file is now.
    DWORD attributes = GetFileAttributesW(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return 0;
        targetExists = 0;
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return 0;
    } else {
        targetExists = 1;
    }
    return CreateCopy();
}

int FileReplace::CopyTarget() {
    return made && targetExists && CopyFileW(target, copyPath, FALSE);
}

int FileReplace::WriteCopy(const void* data, size_t length) {
    if (!made || length > 0xFFFFFFFFu) return 0;
    HANDLE file = CreateFileW(copyPath, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    int ok = WriteFile(file, data, static_cast<DWORD>(length), &written, nullptr) && written == length;
    CloseHandle(file);
    return ok;
}

int FileReplace::VolumeHasRoom() const {
    // The folder of the file, with its backslash.
    wchar_t folder[kPathSize];
    const wchar_t* slash = wcsrchr(target, L'\\');
    if (!slash) return 1;
    size_t length = static_cast<size_t>(slash - target) + 1;
    wmemcpy(folder, target, length);
    folder[length] = 0;
    ULARGE_INTEGER available;
    // A volume that cannot tell is trusted.
    if (!GetDiskFreeSpaceExW(folder, &available, nullptr, nullptr)) return 1;
    return available.QuadPart >= kMinFreeBytes;
}

int FileReplace::Commit() {
    if (!made) return 0;
    HANDLE file = CreateFileW(copyPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = FlushFileBuffers(file);
    CloseHandle(file);
    // The profile functions report success even when the volume filled up
    // under their write (Wine's do, and the copy is then cut short): a
    // volume left with almost no room counts as a write that failed.
    if (!ok || !VolumeHasRoom()) return 0;
    if (targetExists) {
        // A leftover of this name is an earlier process's, with our id.
        SetFileAttributesW(backupPath, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(backupPath);
        if (Replace(target, copyPath, backupPath)) {
            made = 0;
            DeleteFileW(backupPath);
            return 1;
        }
        // The old file still in its place (the replace refused, or could
        // not rename either file): the write failed, nothing is lost.
        if (GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES) return 0;
    }
    // No file to replace, one that went since Begin, or a replace that took
    // the old file away to its backup name and left the copy under its own:
    // the copy, whole, moves into the file's place.
    return MoveCopyIntoPlace();
}

int FileReplace::MoveCopyIntoPlace() {
    // A copy that a scanner or a sync client holds for a moment moves a
    // little later.
    for (int tries = 0; tries < kMoveTries; ++tries) {
        if (tries > 0) Sleep(kMoveRetryMs);
        if (Move(copyPath, target)) {
            made = 0;
            DeleteFileW(backupPath);
            return 1;
        }
    }
    // The old file back from its backup, where the replace put it; the
    // copy then goes with the object. When the old file cannot come back
    // either, both stay where they are: the copy may be the only whole text
    // of the file now, and is never deleted.
    if (GetFileAttributesW(backupPath) != INVALID_FILE_ATTRIBUTES && Move(backupPath, target)) return 0;
    if (targetExists) made = 0;
    return 0;
}
