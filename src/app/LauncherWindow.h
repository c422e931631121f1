#pragma once

#include <windows.h>

#include "catalogue/Catalogue.h"
#include "panel/InputLine.h"
#include "window/AppWindow.h"

class SettingsFile;

// The launcher strip: one hidden, always-on-top popup window that the hot key
// slides in and out.
class LauncherWindow : public AppWindow {
public:
    static constexpr const char* kSettingsName = "kwivo.ini";
    static constexpr const char* kHotkeyAtomName = "Kwivo";
    static constexpr int kStripHeight = 30;
    static constexpr int kMaxStripWidth = 480;

    // Start-up defaults of the settings file.
    static constexpr COLORREF kDefaultBackColour = 0x195FE8;  // 232,95,25
    static constexpr COLORREF kDefaultTextColour = 0xFFFFFF;
    static constexpr COLORREF kDefaultCompletionColour = 0x000000;
    static constexpr int kDefaultSlideSpeed = 100;
    static constexpr int kDefaultGrowSpeed = 20;
    static constexpr int kDefaultHotkeyModifiers = MOD_ALT;
    static constexpr int kDefaultHotkeyKey = VK_SPACE;

    // End-of-slide actions.
    static constexpr unsigned short kSlideHide = 1;
    static constexpr unsigned short kSlideEmptyInput = 2;

    explicit LauncherWindow(HINSTANCE moduleInstance);
    ~LauncherWindow() override;

    // 1 when the window exists, the hot key is held and the opening animation
    // runs; 0 after a message box told the user why not.
    int Initialise(int showCommand);
    void OnDestroy() override;

    // Empties the catalogue and fills it from the special folders and the
    // folders and extensions of the settings file.
    void RebuildCatalogue(SettingsFile& settings);
    // Writes the path of the special folder that a "$0x..." token names (the
    // empty string when the shell has none); 0 when the text is no token,
    // the output then untouched.
    int ResolveFolderToken(char (&output)[MAX_PATH], const char* token);
    void StartSlide(int target, unsigned short flags, int pauseX);
    void ShowInfo(int show);

    ATOM hotkeyAtom;
    InputLine input;
    Catalogue catalogue;
    const char* completion;
    int completionIsFolder;
    char completionPath[MAX_PATH];
    COLORREF completionColour;
    int infoVisible;
    int x;
    int y;
    int width;
    int height;
    int slideTarget;
    int slideSpeed;
    unsigned short slideFlags;
    unsigned short growFlags;
    int slidePause;
    int pauseTicks;
    int growTarget;
    int growSpeed;
    int runs;
};
