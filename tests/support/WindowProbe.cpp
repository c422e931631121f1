// A helper for the end-to-end test, run under Wine beside the launcher:
//   winprobe visible TITLE   exit 0 when a visible top-level window's title
//                            contains TITLE, 1 otherwise
//   winprobe close TITLE     posts WM_CLOSE to every such window
//   winprobe hold            keeps a hidden window until ended, so that the
//                            Wine desktop stays up between the tests' programs
#include <windows.h>

#include <cstring>

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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "hold") == 0) {
        CreateWindowA("STATIC", "kwivo test holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                      nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
        return 0;
    }
    if (argc != 3) return 2;
    Search search = {argv[2], strcmp(argv[1], "close") == 0, 0};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found > 0 ? 0 : 1;
}
