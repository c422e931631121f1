#pragma once

#include <windows.h>

// A program that already runs ([misc] switch=1): its most recently active
// window is brought to the front instead of starting a second copy.
class RunningProgram {
public:
    RunningProgram();
    virtual ~RunningProgram();

    // The most recently active visible, unowned top-level window of this
    // desktop whose process runs the file at path (WTF-8; compared as full
    // long paths, letter case aside), other than this process's own; null
    // when there is none. Windows of a process that cannot be asked for its
    // file (another user's, an elevated one) never match.
    HWND FindWindowOf(const char* path);
    // Restores the window when minimised and brings it to the front; 1
    // when it came.
    static int BringForward(HWND window);

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    int Runs(HWND window);

    wchar_t wanted[MAX_PATH];
    HWND found;
};
