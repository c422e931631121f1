#pragma once

#include <windows.h>

// The strip's font ([ui] font): "*" is the desktop's message font (Segoe UI
// on Windows 10 and 11, a language's own face on a Windows in that
// language), which the system links to fonts of other scripts; "FACE" or
// "FACE,SIZE" is that face at SIZE points (by default the message font's
// size). Without the setting the strip draws in the system font, as it
// always did.
class StripFont {
public:
    // A size beyond this is no size: the default is taken.
    static constexpr int kMaxPoints = 72;

    StripFont();
    virtual ~StripFont();

    // Takes the setting's text. A face that GDI could not take (too long,
    // a control character) or a vertical one ("@MS Gothic") is the message
    // font's; a size that is no whole number from 1 to kMaxPoints is the
    // default.
    void Parse(const char* setting);
    int IsSet() const { return set; }
    // The font at this DPI, reduced until a line of its text is no taller
    // than maxHeight pixels; null when no font is set or GDI makes none.
    HFONT Create(int dpi, int maxHeight) const;

private:
    int set;
    wchar_t face[LF_FACESIZE];  // empty: the message font's
    int points;                 // 0: the message font's size
};
