#pragma once

#include <windows.h>

// Which screen the strip shows on ([ui] monitor), and at what DPI. The
// platform calls sit behind Choose, which tests replace.
class ScreenChoice {
public:
    static constexpr int kPrimary = 0;  // the primary screen
    static constexpr int kCursor = 1;   // the monitor under the mouse pointer
    static constexpr int kFocus = 2;    // the monitor of the foreground window
    // What every pixel size of the strip is given for.
    static constexpr int kBaseDpi = 96;

    ScreenChoice();
    virtual ~ScreenChoice();

    // "primary", "cursor" or "focus", letter case aside; anything else is
    // primary.
    static int Parse(const char* text);
    // Declares the process aware of each monitor's DPI, through the newest
    // call the system has (looked up at run time, so that older systems
    // still start): 1 when one of them took.
    static int DeclarePerMonitorDpiAwareness();

    // The primary screen as it is now, at the origin.
    static RECT PrimaryRect();
    // The DPI that the system's own font is made for.
    static int SystemDpi();
    // The system's font for text at the DPI; null when that is the DPI the
    // font is made for, and the font itself serves. The caller deletes it.
    static HFONT CreateFontFor(int dpi);

    // The chosen screen's rectangle (for kPrimary, the primary screen's
    // size at the origin), and its DPI.
    virtual RECT Choose(int which, int* dpi);
};
