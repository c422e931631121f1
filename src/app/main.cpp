#include <windows.h>

#include "app/LauncherWindow.h"
#include "window/SystemCall.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    RestrictDllSearch();
    // The window object lives here for the whole run; its constructor makes
    // it the receiver of every message.
    LauncherWindow launcher(instance);
    int result = 0;
    if (launcher.Initialise(showCommand)) result = launcher.Run();
    return result;
}

#if defined(__MINGW32__)
// The mingw build starts here instead of in the runtime's start-up code (the
// link names this entry point). The program needs none of that code: it has
// no global objects to construct, parses no arguments, and msvcrt.dll sets
// itself up when loaded. Leaving it out is a fifth of the program's size.
extern "C" void KwivoStart() {
    // What follows the program's name, as wWinMain is given it.
    wchar_t* arguments = GetCommandLineW();
    if (*arguments == '"') {
        do ++arguments;
        while (*arguments && *arguments != '"');
        if (*arguments) ++arguments;
    } else {
        while (*arguments > ' ') ++arguments;
    }
    while (*arguments == ' ' || *arguments == '\t') ++arguments;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess(static_cast<UINT>(wWinMain(GetModuleHandleW(nullptr), nullptr, arguments, show)));
}
#endif
