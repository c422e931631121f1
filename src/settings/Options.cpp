#include "settings/Options.h"

#include "panel/ScreenChoice.h"
#include "settings/SettingsFile.h"

namespace {

int IsOn(SettingsFile& settings, const char* section, const char* key) {
    return settings.GetInt(section, key, 0) == 1;
}

}  // namespace

Options::Options()
    : screenChoice(ScreenChoice::kPrimary),
      dpiScale(0),
      listRows(0),
      icons(0),
      rememberPicks(0),
      watchFolders(0),
      ctrlEnter(0),
      names(0),
      words(0),
      accents(0),
      calc(0),
      switchRunning(0),
      settingsPages(0),
      windows(0),
      recent(0),
      system(0) {
    font[0] = '\0';
}

void Options::Read(SettingsFile& settings) {
    char monitor[16];
    settings.GetString(monitor, sizeof monitor, "ui", "monitor", "primary");
    screenChoice = ScreenChoice::Parse(monitor);
    dpiScale = IsOn(settings, "ui", "dpiscale");
    settings.GetString(font, sizeof font, "ui", "font", "");
    // Any other value than 1 to 9 (99, -1, a word) keeps the strip alone.
    listRows = settings.GetInt("ui", "list", 0);
    if (listRows < 0 || listRows > 9) listRows = 0;
    icons = IsOn(settings, "ui", "icons");
    rememberPicks = IsOn(settings, "misc", "remember");
    watchFolders = IsOn(settings, "misc", "watch");
    ctrlEnter = IsOn(settings, "misc", "ctrlenter");
    names = IsOn(settings, "misc", "names");
    words = IsOn(settings, "misc", "words");
    accents = IsOn(settings, "misc", "accents");
    calc = IsOn(settings, "misc", "calc");
    switchRunning = IsOn(settings, "misc", "switch");
    settingsPages = IsOn(settings, "misc", "settingspages");
    windows = IsOn(settings, "misc", "windows");
    recent = IsOn(settings, "misc", "recent");
    system = IsOn(settings, "misc", "system");
}
