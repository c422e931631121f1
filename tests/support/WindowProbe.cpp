// A helper for the shell tests, run under Wine beside the launcher:
//   winprobe visible TITLE   exit 0 when a visible top-level window's title
//                            contains TITLE, 1 otherwise
//   winprobe close TITLE     posts WM_CLOSE to every such window
//   winprobe hold            keeps a hidden window until ended, so that the
//                            Wine desktop stays up between the tests' programs
//   winprobe running         exit 0 when a launcher window (class "KWIVO") exists
//   winprobe type TEXT       sends the launcher TEXT and Enter, as typed keys
//   winprobe hotkey [N]      sends the launcher N (1) hot key presses, each
//                            handled before the next; prints "pressed" for each
//   winprobe version FILE    prints the ProductVersion of FILE's version information
//   winprobe target LINK     prints the file that a shell link points to, as the
//                            catalogue reads it
//   winprobe rect            prints the launcher window's left, top, width and
//                            height, then the screen's width and height
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalogue/Catalogue.h"

namespace {

struct Search {
    const char* title;
    bool close;
    int found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    char title[256];
    if (!IsWindowVisible(window) || GetWindowTextA(window, title, sizeof title) == 0) return TRUE;
    if (!strstr(title, search->title)) return TRUE;
    ++search->found;
    if (search->close) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

int Hold() {
    CreateWindowA("STATIC", "kwivo test holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                  nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    return 0;
}

int PrintVersion(const char* file) {
    DWORD ignored;
    DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    if (size == 0) return 1;
    char* block = new char[size];
    char* text = nullptr;
    UINT length = 0;
    int found = GetFileVersionInfoA(file, 0, size, block) &&
                VerQueryValueA(block, "\\StringFileInfo\\040904b0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length) &&
                length > 0;
    if (found) printf("%s\n", text);
    delete[] block;
    return found ? 0 : 1;
}

int PrintTarget(const char* link) {
    char target[kPathBytes];
    if (!Catalogue::ReadShortcutTarget(target, link)) return 1;
    printf("%s\n", target);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "";
    if (argc == 2 && strcmp(command, "hold") == 0) return Hold();
    HWND launcher = FindWindowA("KWIVO", nullptr);
    if (argc == 2 && strcmp(command, "running") == 0) return launcher ? 0 : 1;
    if ((argc == 2 || argc == 3) && strcmp(command, "hotkey") == 0) {
        // Sent, not posted: counted once the call returns, before any later
        // close. Each press is reported, so that a caller knows how many
        // arrived even when this process ends early.
        int presses = argc == 3 ? atoi(argv[2]) : 1;
        for (int i = 0; i < presses; ++i) {
            DWORD_PTR ignored;
            if (!launcher || !SendMessageTimeoutA(launcher, WM_HOTKEY, 0, 0, SMTO_BLOCK, 10000, &ignored)) return 1;
            printf("pressed\n");
            fflush(stdout);
        }
        return 0;
    }
    if (argc == 2 && strcmp(command, "rect") == 0) {
        RECT r;
        if (!launcher || !GetWindowRect(launcher, &r)) return 1;
        printf("%ld %ld %ld %ld %d %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    if (argc != 3) return 2;
    if (strcmp(command, "type") == 0) {
        if (!launcher) return 1;
        for (const char* p = argv[2]; *p; ++p) {
            PostMessageA(launcher, WM_CHAR, static_cast<unsigned char>(*p), 0);
        }
        return PostMessageA(launcher, WM_CHAR, '\r', 0) ? 0 : 1;
    }
    if (strcmp(command, "version") == 0) return PrintVersion(argv[2]);
    if (strcmp(command, "target") == 0) return PrintTarget(argv[2]);
    Search search = {argv[2], strcmp(command, "close") == 0, 0};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found > 0 ? 0 : 1;
}
