#include "panel/StripFont.h"

#include "panel/ScreenChoice.h"
#include "text/PathText.h"
#include "text/Wtf8.h"

StripFont::StripFont() : set(0), points(0) {
    face[0] = 0;
}

StripFont::~StripFont() {}

void StripFont::Parse(const char* setting) {
    set = setting[0] != '\0';
    face[0] = 0;
    points = 0;
    if (!set) return;
    // The size after the last comma, when it is one.
    const char* comma = nullptr;
    for (const char* p = setting; *p; ++p) {
        if (*p == ',') comma = p;
    }
    int length = comma ? static_cast<int>(comma - setting) : -1;
    if (comma) {
        int value = 0;
        const char* digit = comma + 1;
        while (*digit == ' ') ++digit;
        for (; *digit >= '0' && *digit <= '9' && value <= kMaxPoints; ++digit) value = value * 10 + (*digit - '0');
        while (*digit == ' ') ++digit;
        if (*digit == '\0' && value >= 1 && value <= kMaxPoints) points = value;
    }
    wchar_t wide[kPathSize];
    if (Utf16FromWtf8(wide, kPathSize, setting, length) < 0) return;
    // Blanks around the face are no part of it.
    wchar_t* start = wide;
    while (*start == L' ') ++start;
    int n = 0;
    while (start[n]) ++n;
    while (n > 0 && start[n - 1] == L' ') --n;
    if (n == 1 && start[0] == L'*') return;
    // "@MS Gothic" is the face turned for vertical writing: every glyph
    // would lie on its side in the strip.
    if (n == 0 || n >= LF_FACESIZE || start[0] == L'@') return;
    for (int i = 0; i < n; ++i) {
        if (start[i] < 32) return;
    }
    for (int i = 0; i < n; ++i) face[i] = start[i];
    face[n] = 0;
}

HFONT StripFont::Create(int dpi, int maxHeight) const {
    if (!set) return nullptr;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font = {};
    int systemDpi = ScreenChoice::SystemDpi();
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        font.lfHeight = -MulDiv(9, systemDpi, 72);
        lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    }
    // The message font is given at the system's DPI.
    font.lfHeight = points ? -MulDiv(points, dpi, 72) : MulDiv(font.lfHeight, dpi, systemDpi);
    font.lfWidth = 0;
    if (face[0]) lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    // The system chooses smoothing: ClearType where it uses it.
    font.lfQuality = DEFAULT_QUALITY;
    HDC screen = GetDC(nullptr);
    HFONT made = nullptr;
    for (int tries = 0; tries < 8; ++tries) {
        made = CreateFontIndirectW(&font);
        if (!made || !screen || maxHeight <= 0) break;
        HGDIOBJ previous = SelectObject(screen, made);
        TEXTMETRICW text;
        int height = GetTextMetricsW(screen, &text) ? text.tmHeight : 0;
        SelectObject(screen, previous);
        int size = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
        if (height <= maxHeight || size <= 1) break;
        // Smaller by as much as the line is too tall, and at least a pixel.
        int smaller = MulDiv(size, maxHeight, height);
        if (smaller >= size) smaller = size - 1;
        font.lfHeight = font.lfHeight < 0 ? -smaller : smaller;
        DeleteObject(made);
        made = nullptr;
    }
    if (screen) ReleaseDC(nullptr, screen);
    return made;
}
