#pragma once

#include <windows.h>

#include "text/PathText.h"

// A program that already runs ([misc] switch=1): its most recently active
// window is brought to the front instead of starting a second copy. Nothing
// here waits on another program: a hung one's window is never sent a
// message.
class RunningProgram {
public:
    RunningProgram();
    virtual ~RunningProgram();

    // The most recently active window that Alt+Tab shows (IsSwitchable) of
    // this desktop whose process runs the file at path (WTF-8; compared as
    // final paths, letter case aside, so that a program reached through a
    // folder link is the one that runs), other than this process's own;
    // null when there is none. An elevated program's windows match too:
    // the limited information asked for is granted across integrity levels.
    HWND FindWindowOf(const char* path);
    // Restores the window when minimised (posted, never waited for) and
    // brings it to the front; 1 when it came. 0, so that the program is
    // started as before, for a minimised window that the system will not
    // let this process restore (an elevated program's, or a hung one's).
    int BringForward(HWND window);

    // 1 for a window that Alt+Tab would show: visible, not a tool window or
    // one that never activates, unowned (unless it asks for a taskbar
    // button), not cloaked (another virtual desktop, a suspended app), of
    // a real size, and not the taskbar.
    static int IsSwitchable(HWND window);

protected:
    // The system's answers, for tests to change.
    virtual int IsHung(HWND window);
    // 1 when this process may post to the window's process (the same or a
    // lower integrity level, told by its token being readable).
    virtual int CanRestore(HWND window);

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    int Runs(HWND window);

    wchar_t wanted[kPathSize];
    wchar_t wantedFinal[kPathSize];  // behind every link; empty when unknown
    HWND found;
};
