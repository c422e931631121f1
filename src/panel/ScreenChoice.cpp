#include "panel/ScreenChoice.h"

#include "text/PathText.h"
#include "window/SystemCall.h"

namespace {

// The DPI calls, found at run time: Windows 7 has neither of the first two,
// Windows 8 not the first.
typedef BOOL(WINAPI* SetContextCall)(HANDLE);
typedef HRESULT(WINAPI* SetAwarenessCall)(int);
typedef BOOL(WINAPI* SetAwareCall)();
typedef HRESULT(WINAPI* GetMonitorDpiCall)(HMONITOR, int, UINT*, UINT*);
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
const int kProcessPerMonitorDpiAware = 2;
const int kEffectiveDpi = 0;

// The monitor's own DPI where the system tells it (Windows 8.1 on), else the
// system's.
int MonitorDpi(HMONITOR monitor) {
    GetMonitorDpiCall getDpi = FindSystemCall<GetMonitorDpiCall>(L"shcore.dll", "GetDpiForMonitor");
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (getDpi && getDpi(monitor, kEffectiveDpi, &dpiX, &dpiY) == S_OK && dpiX > 0) return static_cast<int>(dpiX);
    return ScreenChoice::SystemDpi();
}

int Is(const char* text, const char* word) {
    int i = 0;
    for (; word[i]; ++i) {
        if (FoldCase(text[i]) != word[i]) return 0;
    }
    return text[i] == '\0';
}

}  // namespace

RECT ScreenChoice::PrimaryRect() {
    RECT rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return rect;
}

int ScreenChoice::SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

HFONT ScreenChoice::CreateFontFor(int dpi) {
    int systemDpi = SystemDpi();
    if (dpi == systemDpi) return nullptr;
    LOGFONTW font;
    if (!GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font)) return nullptr;
    font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi);
    font.lfWidth = MulDiv(font.lfWidth, dpi, systemDpi);
    return CreateFontIndirectW(&font);
}

ScreenChoice::ScreenChoice() {}

ScreenChoice::~ScreenChoice() {}

int ScreenChoice::Parse(const char* text) {
    if (Is(text, "cursor")) return kCursor;
    if (Is(text, "focus")) return kFocus;
    return kPrimary;
}

int ScreenChoice::DeclarePerMonitorDpiAwareness() {
    SetContextCall setContext = FindSystemCall<SetContextCall>(L"user32.dll", "SetProcessDpiAwarenessContext");
    if (setContext && (setContext(kPerMonitorAwareV2) || setContext(kPerMonitorAware))) return 1;
    SetAwarenessCall setAwareness = FindSystemCall<SetAwarenessCall>(L"shcore.dll", "SetProcessDpiAwareness");
    if (setAwareness && setAwareness(kProcessPerMonitorDpiAware) == S_OK) return 1;
    // Windows Vista and 7: aware of the system's DPI, the one there is.
    SetAwareCall setAware = FindSystemCall<SetAwareCall>(L"user32.dll", "SetProcessDPIAware");
    return setAware && setAware();
}

RECT ScreenChoice::Choose(int which, int* dpi) {
    RECT rect = PrimaryRect();
    HMONITOR monitor = nullptr;
    if (which == kCursor) {
        POINT pointer;
        if (GetCursorPos(&pointer)) monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
    } else if (which == kFocus) {
        HWND foreground = GetForegroundWindow();
        if (foreground) monitor = MonitorFromWindow(foreground, MONITOR_DEFAULTTOPRIMARY);
    }
    if (!monitor) {
        POINT origin = {0, 0};
        monitor = MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
    } else {
        MONITORINFO info;
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) rect = info.rcMonitor;
    }
    *dpi = MonitorDpi(monitor);
    return rect;
}
