#pragma once

#include <windows.h>

#include "text/PathText.h"

// The windows that Alt+Tab would show ([misc] windows=1: a text that
// starts with "<"), whose titles hold every word typed after it, letter
// case aside, the most recently used first. Another program's title is
// read without a message to its window, so that a hung program holds
// nothing up; this process's own windows are left out.
class OpenWindows {
public:
    static constexpr int kMaxWindows = 256;

    OpenWindows();
    virtual ~OpenWindows();

    // Lists them anew for the words (WTF-8); their count.
    int List(const char* words);
    int Count() const { return count; }
    // The index-th window, and its title now (WTF-8); null when there is
    // none or it has gone.
    HWND At(int index, char (&title)[kPathBytes]) const;

protected:
    // 1 for a window to list; a test's own may take others.
    virtual int Takes(HWND window);

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    // 1 when the title holds every word of wanted (both folded).
    int Matches(HWND window) const;

    HWND windows[kMaxWindows];
    int count;
    wchar_t wanted[kPathSize];  // the words, folded
};
