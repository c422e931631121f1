#include "app/LauncherWindow.h"

#include "resources/resource.h"
#include "settings/Options.h"
#include "settings/SettingsFile.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

LauncherWindow::LauncherWindow(HINSTANCE moduleInstance)
    : AppWindow(moduleInstance),
      hotkeyAtom(0),
      hotkeyId(0),
      hotkeyHeld(0),
      hotkeyModifiers(0),
      hotkeyKey(0),
      completion(nullptr),
      current(),
      typedLength(0),
      completionColour(0),
      infoVisible(0),
      x(0),
      y(0),
      width(0),
      height(0),
      slideTarget(0),
      slideSpeed(0),
      slideFlags(0),
      growFlags(0),
      slidePause(0),
      pauseTicks(0),
      growTarget(0),
      growSpeed(0),
      runs(0),
      started(0),
      rebuildPending(0),
      changeWaiting(0),
      firstChange(0),
      settingsWatch(kSettingsName),
      catalogueDigest(0),
      dpi(ScreenChoice::kBaseDpi),
      screen(),
      screens(&systemScreens),
      apps(&systemApps),
      announcer(&systemAnnouncer),
      commands(&systemCommands) {
    completionPath[0] = '\0';
    helpText[0] = '\0';
    FormatText(decimalSeparator, sizeof decimalSeparator, ".");
}

// The brush and the atom live as long as the process; the catalogue and the
// input go with their members.
LauncherWindow::~LauncherWindow() {
    if (font) DeleteObject(font);
}

int LauncherWindow::Initialise(int) {
    // Borderless, always on top, no taskbar button.
    style = WS_POPUP;
    exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

    SettingsFile settings(kSettingsName);
    // The file about to be read is the one in force: a save during the
    // first build is newer, and is applied then.
    settingsWatch.Take();
    StripSettings read;
    read.Read(settings);
    runs = settings.GetInt("misc", "runs", 0);
    TakeSettings(read);
    // Before any window: the awareness of a process is set once.
    if (options.dpiScale) ScreenChoice::DeclarePerMonitorDpiAwareness();

    LOGBRUSH brush = {BS_SOLID, backColour, 0};
    background = CreateBrushIndirect(&brush);

    iconName = MAKEINTRESOURCEW(IDI_KWIVO);
    smallIconName = nullptr;
    menuName = nullptr;

    // Empty, not undefined, should a string resource be missing.
    wchar_t wide[100];
    char className[300] = "";
    char title[300] = "";
    if (LoadStringW(instance, IDS_CLASSNAME, wide, 100) > 0) ToWtf8(className, wide);
    if (LoadStringW(instance, IDS_TITLE, wide, 100) > 0) ToWtf8(title, wide);

    // Created hidden whatever the show command: the opening animation or the
    // hot key shows it.
    if (!Create(className, title, SW_HIDE)) return 0;

    height = kStripHeight;
    ChooseScreen();
    int centreX = CentreX();

    RebuildCatalogue(settings);

    hotkeyAtom = GlobalAddAtomW(kHotkeyAtomName);
    if (!TakeHotKey(read.hotkeyModifiers, read.hotkeyKey)) {
        ShowMessage("Can't register Hotkey", title);
        return 0;
    }
    if (options.watchFolders && !settingsWatch.Notify()) SetTimer(hwnd, kSettingsTimer, kSettingsPollMs, nullptr);

    if (slideSpeed != 0) {
        x = ScreenRect().left - width;
        ShowWindow(hwnd, SW_SHOW);
        if (runs == 0) {
            // First start: the help slides in and stays.
            ShowInfo(1);
            StartSlide(centreX, kSlideEmptyInput, 0);
        } else {
            input.PutText("Kwivo Activated...");
            StartSlide(ScreenRect().right, kSlideHide | kSlideEmptyInput, centreX);
        }
    } else {
        x = centreX;
    }
    started = 1;
    return 1;
}

int LauncherWindow::IsUsableHotKey(int modifiers, int key) {
    return key >= 1 && key <= 254 && (modifiers & ~(MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN)) == 0;
}

int LauncherWindow::TakeHotKey(int modifiers, int key) {
    if (hotkeyHeld && modifiers == hotkeyModifiers && key == hotkeyKey) return 1;
    // A key that cannot be pressed (a value that is no number reads as 0)
    // would leave a launcher that nothing can show or quit.
    int id = hotkeyHeld && hotkeyId == hotkeyAtom ? kAlternateHotkeyId : hotkeyAtom;
    if (!IsUsableHotKey(modifiers, key) ||
        !RegisterHotKey(hwnd, id, static_cast<UINT>(modifiers), static_cast<UINT>(key))) {
        return 0;
    }
    if (hotkeyHeld) UnregisterHotKey(hwnd, hotkeyId);
    hotkeyId = id;
    hotkeyHeld = 1;
    hotkeyModifiers = modifiers;
    hotkeyKey = key;
    return 1;
}

void LauncherWindow::OnDestroy() {
    // A message box of a failed start-up still delivers the session's end
    // here; only a launcher that ran may write its count.
    if (started) {
        SettingsFile settings(kSettingsName);
        settings.SetInt("misc", "runs", runs);
        // Once: the session's end may come before the window's.
        started = 0;
    }
    if (hotkeyHeld) UnregisterHotKey(hwnd, hotkeyId);
    hotkeyHeld = 0;
    // A screen reader that still holds the strip's object is told it has gone.
    accessible.Disconnect();
    PostQuitMessage(0);
}
