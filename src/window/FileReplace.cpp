#include "window/FileReplace.h"

#include <cwchar>

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
    : path(filePath), lock(nullptr), targetExists(0), made(0) {
    target[0] = 0;
    copyPath[0] = 0;
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

int FileReplace::ResolveTarget(const wchar_t* given) {
    // No access asked: opens whatever sharing others chose, and follows a
    // link to the file it points to.
    HANDLE file = CreateFileW(given, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return 0;
        DWORD n = GetFullPathNameW(given, kPathSize, target, nullptr);
        return n > 0 && n < static_cast<DWORD>(kPathSize);
    }
    wchar_t final[2 * kPathSize];
    DWORD n = GetFinalPathNameByHandleW(file, final, 2 * kPathSize, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (n == 0 || n >= static_cast<DWORD>(2 * kPathSize)) return 0;
    // \\?\C:\... names a drive's file, \\?\UNC\server\... a share's.
    const wchar_t* name = final;
    wchar_t* out = target;
    if (wcsncmp(name, L"\\\\?\\UNC\\", 8) == 0) {
        name += 8;
        *out++ = L'\\';
        *out++ = L'\\';
    } else if (wcsncmp(name, L"\\\\?\\", 4) == 0) {
        name += 4;
    }
    size_t length = wcslen(name);
    if (static_cast<size_t>(out - target) + length >= static_cast<size_t>(kPathSize)) return 0;
    wmemcpy(out, name, length + 1);
    targetExists = 1;
    return 1;
}

int FileReplace::TakeLock() {
    // The same file under any spelling gives the same name: the full path
    // with its letters in capitals, hashed.
    wchar_t upper[kPathSize];
    size_t length = wcslen(target);
    wmemcpy(upper, target, length + 1);
    CharUpperBuffW(upper, static_cast<DWORD>(length));
    unsigned long long hash = 14695981039346656037ull;
    for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<unsigned short>(upper[i])) * 1099511628211ull;
    wchar_t name[40] = L"Local\\KwivoFile-";
    AppendHex(name + 16, hash, 16);
    name[32] = 0;
    lock = CreateMutexW(nullptr, FALSE, name);
    if (!lock) return 0;
    // An abandoned lock was held by a process that ended in the middle of a
    // write; its copy never replaced the file, which is whole.
    DWORD waited = WaitForSingleObject(lock, kLockWaitMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return 1;
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
    if (targetExists &&
        ReplaceFileW(target, copyPath, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        made = 0;
        return 1;
    }
    // No file to replace, or one that went since Begin, or a replace that
    // took the old file away and left the copy under its own name: the
    // copy, whole, moves into the file's place.
    if (targetExists && GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES) return 0;
    ok = MoveFileExW(copyPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (ok) made = 0;
    return ok;
}
