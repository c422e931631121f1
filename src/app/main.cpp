#include <windows.h>

#include "app/LauncherWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // The window object lives here for the whole run; its constructor makes
    // it the receiver of every message.
    LauncherWindow launcher(instance);
    int result = 0;
    if (launcher.Initialise(showCommand)) result = launcher.Run();
    return result;
}
