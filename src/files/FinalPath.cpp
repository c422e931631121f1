#include "files/FinalPath.h"

#include <cwchar>

#include "text/PathText.h"

int PlainFinalPath(const wchar_t* final, wchar_t* out, size_t size) {
    const wchar_t* name = final;
    size_t prefix = 0;
    if (wcsncmp(name, L"\\\\?\\UNC\\", 8) == 0) {
        name += 8;
        prefix = 2;
    } else if (wcsncmp(name, L"\\\\?\\", 4) == 0) {
        name += 4;
    }
    size_t length = wcslen(name);
    if (prefix + length >= size) return 0;
    wmemcpy(out, L"\\\\", prefix);
    wmemcpy(out + prefix, name, length + 1);
    return 1;
}

int ResolveFinalPath(const wchar_t* path, wchar_t* out, size_t size) {
    HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    wchar_t final[2 * kPathSize];
    DWORD n = GetFinalPathNameByHandleW(file, final, 2 * kPathSize, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    return n > 0 && n < static_cast<DWORD>(2 * kPathSize) && PlainFinalPath(final, out, size);
}
