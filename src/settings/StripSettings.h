#pragma once

#include <windows.h>

#include "settings/Options.h"

class SettingsFile;

// Everything kwivo.ini sets but the count of runs and the catalogue's
// sections: read at start-up, and again when a saved file is applied, so
// that both read it the same way.
struct StripSettings {
    static constexpr COLORREF kDefaultBackColour = 0x195FE8;  // 232,95,25
    static constexpr COLORREF kDefaultTextColour = 0xFFFFFF;
    static constexpr COLORREF kDefaultCompletionColour = 0x000000;
    static constexpr int kDefaultSlideSpeed = 100;
    static constexpr int kDefaultGrowSpeed = 20;
    static constexpr int kDefaultHotkeyModifiers = MOD_ALT;
    static constexpr int kDefaultHotkeyKey = VK_SPACE;
    // Speeds beyond this reach any target on the screen in one tick; the cap
    // keeps the arithmetic of a tick far from overflow.
    static constexpr int kMaxSpeed = 10000;

    // The defaults: what a missing kwivo.ini gives.
    StripSettings();
    void Read(SettingsFile& settings);

    COLORREF backColour;
    COLORREF textColour;
    COLORREF completionColour;
    int slideSpeed;
    int growSpeed;
    int hotkeyModifiers;
    int hotkeyKey;
    Options options;
};
