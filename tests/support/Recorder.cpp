// A program for the launch tests: appends the file it was started from and
// its command line ("<file>|<command line>"), in UTF-8, one line per start,
// to the file that KWIVO_RECORD names, then ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KWIVO_RECORD", path, MAX_PATH)) return 1;
    FILE* f = _wfopen(path, L"ab");
    if (!f) return 1;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    char self8[4 * MAX_PATH];
    char line8[4 * 32768];
    WideCharToMultiByte(CP_UTF8, 0, self, -1, self8, sizeof self8, nullptr, nullptr);
    WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line8, sizeof line8, nullptr, nullptr);
    fprintf(f, "%s|%s\n", self8, line8);
    fclose(f);
    return 0;
}
