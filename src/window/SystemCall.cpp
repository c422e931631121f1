#include "window/SystemCall.h"

#include <cwchar>

#include "text/PathText.h"

HMODULE LoadSystemLibrary(const wchar_t* dll) {
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A system without the search flags (Windows 7 before its update)
    // refuses them: the full path in the system folder then.
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    wchar_t path[kPathSize];
    UINT folder = GetSystemDirectoryW(path, kPathSize);
    size_t length = wcslen(dll);
    if (folder == 0 || folder + 1 + length >= static_cast<size_t>(kPathSize)) return nullptr;
    path[folder] = L'\\';
    wmemcpy(path + folder + 1, dll, length + 1);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearch() {
    typedef BOOL(WINAPI * DefaultDirectoriesCall)(DWORD);
    // Kernel32 is always loaded; the call is there from Windows 8, and on
    // Windows 7 with its update.
    DefaultDirectoriesCall setDefault = reinterpret_cast<DefaultDirectoriesCall>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    // The system folder alone: the default directories would include the
    // program's own folder, where a portable copy in Downloads may have a
    // planted version.dll beside it.
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The older search, where that call is missing, without the current folder.
    SetDllDirectoryW(L"");
}
