#pragma once

#include "PerformanceClock.h"
#include "app/LauncherWindow.h"

// Milliseconds of one whole keystroke as the user sees it, after the text:
// the character, the completion, the event a screen reader would hear, and
// the strip (and its list) painted.
inline double ShownKeystrokeMs(LauncherWindow& launcher, const char* text, char key) {
    launcher.input.Clear();
    launcher.input.PutText(text);
    double start = Now();
    launcher.OnChar(key);
    UpdateWindow(launcher.hwnd);
    return (Now() - start) * 1e3;
}
