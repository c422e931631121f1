#include "settings/SettingsCopy.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "window/WholeFile.h"

namespace {

const unsigned char kUtf16Mark[2] = {0xFF, 0xFE};

int WriteAll(HANDLE file, const void* data, DWORD length) {
    DWORD written = 0;
    return WriteFile(file, data, length, &written, nullptr) && written == length;
}

}  // namespace

SettingsCopy::SettingsCopy(const wchar_t* path) : target(path), made(0) {
    copyPath[0] = 0;
    size_t length = wcslen(path);
    if (length + 5 > static_cast<size_t>(kPathSize)) return;
    wmemcpy(copyPath, path, length);
    wmemcpy(copyPath + length, L".tmp", 5);
}

SettingsCopy::~SettingsCopy() {
    if (made) Remove();
}

void SettingsCopy::Remove() {
    // A copy of a read-only file is read-only too, and would not go.
    SetFileAttributesW(copyPath, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copyPath);
}

int SettingsCopy::WriteUnicodeCopy(int fileExists) {
    size_t length = 0;
    char* text = nullptr;
    if (fileExists && !(text = ReadWholeFile(target, kMaxConvertBytes, &length))) return 0;
    if (length >= 2 && static_cast<unsigned char>(text[0]) == kUtf16Mark[0] &&
        static_cast<unsigned char>(text[1]) == kUtf16Mark[1]) {
        free(text);
        return CopyFileW(target, copyPath, FALSE) != 0;  // UTF-16 already
    }
    int ok = 1;
    wchar_t* wide = nullptr;
    int units = 0;
    if (length > 0) {
        units = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
        wide = units > 0 ? static_cast<wchar_t*>(malloc(static_cast<size_t>(units) * sizeof *wide)) : nullptr;
        ok = wide && MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide, units) == units;
    }
    free(text);
    HANDLE file = ok ? CreateFileW(copyPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                     : INVALID_HANDLE_VALUE;
    ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = WriteAll(file, kUtf16Mark, sizeof kUtf16Mark) &&
             (units == 0 || WriteAll(file, wide, static_cast<DWORD>(units) * sizeof(wchar_t)));
        CloseHandle(file);
    }
    free(wide);
    return ok;
}

int SettingsCopy::Begin(int toUnicode) {
    if (copyPath[0] == 0) return 0;
    // A file the user marked read-only stays as it is, also where the
    // platform would let a write through (an administrator under Wine).
    DWORD attributes = GetFileAttributesW(target);
    DWORD error = GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return 0;
    int exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && error != ERROR_FILE_NOT_FOUND) return 0;
    Remove();  // one that an interrupted write left behind
    made = 1;
    if (toUnicode) return WriteUnicodeCopy(exists);
    return !exists || CopyFileW(target, copyPath, FALSE);
}

int SettingsCopy::VolumeHasRoom() const {
    // The folder of the file, with its backslash; the current one for none.
    wchar_t folder[kPathSize];
    const wchar_t* slash = wcsrchr(target, L'\\');
    size_t length = slash ? static_cast<size_t>(slash - target) + 1 : 0;
    wmemcpy(folder, target, length);
    folder[length] = 0;
    ULARGE_INTEGER available;
    // A volume that cannot tell is trusted.
    if (!GetDiskFreeSpaceExW(length ? folder : nullptr, &available, nullptr, nullptr)) return 1;
    return available.QuadPart >= kMinFreeBytes;
}

int SettingsCopy::Commit() {
    if (!made) return 0;
    // Three nulls write the profile functions' cached text of the copy out.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copyPath);
    HANDLE file = CreateFileW(copyPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = FlushFileBuffers(file);
    CloseHandle(file);
    // The profile functions report success even when the volume filled up
    // under their write (Wine's do, and the copy is then cut short): a
    // volume left with almost no room counts as a write that failed.
    ok = ok && VolumeHasRoom() &&
         MoveFileExW(copyPath, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (ok) made = 0;
    return ok;
}
