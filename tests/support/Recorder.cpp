// A program for the launch tests: appends the file it was started from and
// its command line ("<file>|<command line>"), one line per start, to the file
// that KWIVO_RECORD names, then ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("KWIVO_RECORD", path, sizeof path)) return 1;
    FILE* f = fopen(path, "ab");
    if (!f) return 1;
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    fprintf(f, "%.*s|%s\n", static_cast<int>(n), self, GetCommandLineA());
    fclose(f);
    return 0;
}
