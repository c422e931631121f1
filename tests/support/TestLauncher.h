#pragma once

// A LauncherWindow with a real (hidden) window and the values start-up would
// give it, without reading settings, scanning or taking the hot key.

#include <string>

#include "app/LauncherWindow.h"

namespace test {

class TestLauncher : public LauncherWindow {
public:
    TestLauncher() : LauncherWindow(GetModuleHandleA(nullptr)) {
        static int counter = 0;
        std::string className = "KwivoTestStrip" + std::to_string(++counter);
        style = WS_POPUP;
        exStyle = WS_EX_TOOLWINDOW;
        backColour = RGB(232, 95, 25);
        textColour = RGB(255, 255, 255);
        completionColour = RGB(0, 0, 0);
        LOGBRUSH brush = {BS_SOLID, backColour, 0};
        background = CreateBrushIndirect(&brush);
        created = Create(className.c_str(), "kwivo", SW_HIDE) == 1;
        width = kMaxStripWidth;
        height = kStripHeight;
        y = 369;
        slideSpeed = StripSettings::kDefaultSlideSpeed;
        growSpeed = StripSettings::kDefaultGrowSpeed;
        started = 1;
    }
    ~TestLauncher() override {
        tearingDown_ = true;  // no shutdown of the launcher for the test's own clean-up
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        DeleteObject(background);
    }
    void OnDestroy() override {
        if (tearingDown_) return;
        ++destroys;
        LauncherWindow::OnDestroy();
    }

    void Type(const char* text) {
        for (const char* p = text; *p; ++p) OnChar(static_cast<unsigned char>(*p));
    }
    bool TimerRunning(UINT_PTR id) {
        // KillTimer tells whether it was running; start it again if so.
        if (!KillTimer(hwnd, id)) return false;
        SetTimer(hwnd, id, kTimerPeriodMs, nullptr);
        return true;
    }

    bool created;
    int destroys = 0;

private:
    bool tearingDown_ = false;
};

}  // namespace test
