#include "catalogue/ShownName.h"

#include <windows.h>

#include <cstring>

#include "text/TextFormat.h"
#include "text/Wtf8.h"
#include "window/SystemCall.h"

namespace {

typedef HRESULT(WINAPI* IndirectStringCall)(const wchar_t*, wchar_t*, UINT, void**);

// "@%SystemRoot%\system32\shell32.dll,-22563": the string resource it
// names, through the shell's own call, loaded when first needed.
int ResolveIndirect(wchar_t* out, UINT size, const wchar_t* source) {
    static IndirectStringCall resolve = nullptr;
    if (!resolve) resolve = FindSystemCall<IndirectStringCall>(L"shlwapi.dll", "SHLoadIndirectString");
    if (!resolve) return 0;
    wchar_t expanded[kPathSize];
    DWORD n = ExpandEnvironmentStringsW(source, expanded, kPathSize);
    return n > 0 && n <= static_cast<DWORD>(kPathSize) && SUCCEEDED(resolve(expanded, out, size, nullptr));
}

int IsUsableName(const char* name) {
    size_t length = strlen(name);
    return length > 0 && length <= static_cast<size_t>(Catalogue::kMaxNameBytes) && !HasControlCharacter(name);
}

}  // namespace

ShownName::ShownName(const char* folderPath) : folder(folderPath), desktopIni(0) {}

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
        if (!ResolveIndirect(resolved, kPathSize, value)) return 0;
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
