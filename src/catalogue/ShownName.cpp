#include "catalogue/ShownName.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "text/TextFormat.h"
#include "text/Wtf8.h"
#include "window/SystemCall.h"

namespace {

typedef HRESULT(WINAPI* IndirectStringCall)(const wchar_t*, wchar_t*, UINT, void**);

// The file and the string of "@file,-id" (a comment may follow after ";"):
// 0 when the text has no such form.
int SplitIndirect(wchar_t* text, wchar_t** file, UINT* id) {
    wchar_t* comment = wcschr(text, L';');
    if (comment) *comment = 0;
    wchar_t* comma = wcsrchr(text, L',');
    if (!comma || comma[1] != L'-' || comma[2] == 0) return 0;
    unsigned long value = 0;
    for (const wchar_t* digit = comma + 2; *digit; ++digit) {
        if (*digit < L'0' || *digit > L'9' || value > 0xFFFF) return 0;
        value = value * 10 + static_cast<unsigned long>(*digit - L'0');
    }
    if (value > 0xFFFF) return 0;
    *comma = 0;
    *file = text;
    *id = static_cast<UINT>(value);
    return 1;
}

// 1 for a full path on a fixed drive of this computer: a folder's
// desktop.ini may come from an archive, a stick or a share, and must not
// make Kwivo reach the network or a removable disk.
int IsLocalFixedPath(const wchar_t* path) {
    if (!((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) || path[1] != L':' ||
        path[2] != L'\\') {
        return 0;
    }
    wchar_t root[4] = {path[0], L':', L'\\', 0};
    return GetDriveTypeW(root) == DRIVE_FIXED;
}

// "@%SystemRoot%\system32\shell32.dll,-22563": the string resource it
// names, read from the file mapped as data, so that none of its code runs.
// "@{Package...}" names a packaged app's string, which only the shell's
// call resolves, with COM started.
int ResolveIndirect(wchar_t* out, UINT size, const wchar_t* source, int packageStrings) {
    wchar_t expanded[kPathSize];
    DWORD n = ExpandEnvironmentStringsW(source + 1, expanded, kPathSize);
    if (n == 0 || n > static_cast<DWORD>(kPathSize)) return 0;
    if (expanded[0] == L'{') {
        static IndirectStringCall resolve = nullptr;
        if (!packageStrings) return 0;
        if (!resolve) resolve = FindSystemCall<IndirectStringCall>(L"shlwapi.dll", "SHLoadIndirectString");
        return resolve && SUCCEEDED(resolve(source, out, size, nullptr));
    }
    wchar_t* file;
    UINT id;
    if (!SplitIndirect(expanded, &file, &id) || !IsLocalFixedPath(file)) return 0;
    HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return 0;
    int found = LoadStringW(module, id, out, static_cast<int>(size)) > 0;
    FreeLibrary(module);
    return found;
}

int IsUsableName(const char* name) {
    size_t length = strlen(name);
    return length > 0 && length <= static_cast<size_t>(Catalogue::kMaxNameBytes) && !HasControlCharacter(name);
}

}  // namespace

ShownName::ShownName(const char* folderPath, int packageStrings)
    : folder(folderPath), desktopIni(0), packageStringsOn(packageStrings) {}

ShownName::~ShownName() {}

int ShownName::Localized(char (&out)[Catalogue::kMaxNameBytes + 1], const char* fileName) {
    char path[kPathBytes];
    wchar_t widePath[kPathSize];
    wchar_t wideFile[kPathSize];
    if (FormatText(path, sizeof path, "%s\\desktop.ini", folder) < 0 || !ToUtf16(widePath, path) ||
        !ToUtf16(wideFile, fileName)) {
        return 0;
    }
    if (desktopIni == 0) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        desktopIni = GetFileAttributesExW(widePath, GetFileExInfoStandard, &data) &&
                             !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 &&
                             data.nFileSizeLow <= static_cast<DWORD>(kMaxDesktopIniBytes)
                         ? 1
                         : -1;
    }
    if (desktopIni < 0) return 0;
    wchar_t value[kPathSize];
    wchar_t resolved[kPathSize];
    if (GetPrivateProfileStringW(L"LocalizedFileNames", wideFile, L"", value, kPathSize, widePath) == 0) return 0;
    const wchar_t* name = value;
    if (value[0] == L'@') {
        if (!ResolveIndirect(resolved, kPathSize, value, packageStringsOn)) return 0;
        name = resolved;
    }
    return ToWtf8(out, name) && IsUsableName(out);
}

int ShownName::Of(char (&out)[Catalogue::kMaxNameBytes + 1], const char* fileName) {
    if (Localized(out, fileName)) return 1;
    const char* dot = strrchr(fileName, '.');
    size_t length = dot ? static_cast<size_t>(dot - fileName) : strlen(fileName);
    if (length >= sizeof out) return 0;
    memcpy(out, fileName, length);
    out[length] = '\0';
    return IsUsableName(out);
}
