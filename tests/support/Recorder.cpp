// A program for the launch tests: appends the file it was started from and
// its command line ("<file>|<command line>"), in UTF-8, one line per start,
// to the file that KWIVO_RECORD names, then ends; or, when
// KWIVO_RECORD_WINDOW names a title, shows a window of that title until it
// is closed (at most a minute), as a program that runs does.
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
    wchar_t title[64];
    if (!GetEnvironmentVariableW(L"KWIVO_RECORD_WINDOW", title, 64)) return 0;
    HWND window = CreateWindowW(L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
    SetTimer(nullptr, 0, 100, nullptr);  // wakes the loop to see the window gone
    DWORD start = GetTickCount();
    MSG msg;
    while (IsWindow(window) && GetTickCount() - start < 60000 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}
