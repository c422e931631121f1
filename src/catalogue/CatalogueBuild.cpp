#include "app/LauncherWindow.h"
#include "settings/SettingsFile.h"

// Folder scanning arrives with the catalogue build; until then a build leaves
// the catalogue empty.
void LauncherWindow::RebuildCatalogue(SettingsFile&) {
    catalogue.Clear();
}
