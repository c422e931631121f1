#include <cstring>

#include "app/LauncherWindow.h"
#include "catalogue/CatalogueBuild.h"
#include "settings/SettingsFile.h"
#include "text/Wtf8.h"

void LauncherWindow::TakeSettings(const StripSettings& read) {
    backColour = read.backColour;
    textColour = read.textColour;
    completionColour = read.completionColour;
    slideSpeed = read.slideSpeed;
    growSpeed = read.growSpeed;
    // Picks turned on, at start-up or by a saved file, are read then.
    if (read.options.rememberPicks && !options.rememberPicks) picks.Load(kPicksName);
    options = read.options;
    stripFont.Parse(options.font);
    wchar_t separator[4];
    if (options.calc && GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) > 0) {
        ToWtf8(decimalSeparator, separator);
    }
}

void LauncherWindow::PollSettings() {
    if (!settingsWatch.Poll()) {
        // Told of changes by the folder, Kwivo polls only while one is
        // under way.
        if (settingsWatch.Handle() != INVALID_HANDLE_VALUE && !settingsWatch.Pending()) {
            KillTimer(hwnd, kSettingsTimer);
            settingsWatch.SetPolling(0);
        }
        return;
    }
    // The reader first, as it may turn the file into UTF-16; then the file
    // is held, so that no writer changes it between the first read and the
    // last.
    SettingsFile settings(kSettingsName);
    if (!settingsWatch.Hold()) return;  // a writer has it: the next poll tries again
    StripSettings read;
    read.Read(settings);
    unsigned long long digest = CatalogueBuild::Digest(settings);
    if (settingsWatch.Release()) ApplySettings(read, digest);
}

void LauncherWindow::ApplySettings(const StripSettings& saved, unsigned long long digest) {
    // A process declares itself aware of each monitor's DPI once, before its
    // first window: dpiscale keeps the value it started with, which matches
    // the window's awareness.
    StripSettings read = saved;
    read.options.dpiScale = options.dpiScale;
    const Options& now = options;
    int rebuild = digest != catalogueDigest || read.options.names != now.names || read.options.words != now.words ||
                  read.options.accents != now.accents || read.options.watchFolders != now.watchFolders ||
                  read.options.settingsPages != now.settingsPages || read.options.recent != now.recent ||
                  read.options.system != now.system;
    int screenChanged = read.options.screenChoice != now.screenChoice;
    int fontChanged = strcmp(read.options.font, now.font) != 0;
    COLORREF oldBack = backColour;
    TakeSettings(read);

    if (backColour != oldBack) {
        LOGBRUSH brush = {BS_SOLID, backColour, 0};
        HBRUSH made = CreateBrushIndirect(&brush);
        if (made) {
            SetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(made));
            DeleteObject(background);
            background = made;
        } else {
            backColour = oldBack;  // the fill and the text's background agree
        }
    }
    if (fontChanged || screenChanged) {
        if (font) DeleteObject(font);
        font = nullptr;  // made anew for the new setting, or the system's
        if (screenChanged) {
            MeasureScreen();
            x = CentreX();
            if (IsWindowVisible(hwnd)) PlaceWindow();
        } else {
            SetDpi(dpi);
        }
    }
    // Never under the user's hands, as for a change of the folders.
    if (rebuild) SetTimer(hwnd, kRebuildTimer, kTimerPeriodMs, nullptr);
    if (!options.watchFolders) {
        settingsWatch.Stop();
        KillTimer(hwnd, kSettingsTimer);
    }
    ShowChanges();

    // Last: the box's own message loop must find everything else in place.
    if (!TakeHotKey(read.hotkeyModifiers, read.hotkeyKey)) {
        wchar_t wide[100];
        char title[300] = "";
        if (GetWindowTextW(hwnd, wide, 100) > 0) ToWtf8(title, wide);
        ShowMessage("Can't register Hotkey", title, MB_TOPMOST | MB_SETFOREGROUND);
    }
}
