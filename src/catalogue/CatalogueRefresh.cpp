#include "app/LauncherWindow.h"
#include "settings/SettingsFile.h"

void LauncherWindow::ScanAndWatch(const char* folder, ExtensionNode* extensions, int depth) {
    catalogue.Scan(folder, extensions, depth);
    if (watchFolders) watch.Add(folder, depth != 1);
}

int LauncherWindow::GetWaitHandles(const HANDLE** handles) {
    *handles = watch.Handles();
    return watch.Count();
}

void LauncherWindow::OnHandleSignalled(int index) {
    watch.Rearm(index);
    // Each change of a burst (an installer writing hundreds of files) moves
    // the rebuild on, so that the burst ends in one.
    SetTimer(hwnd, kRebuildTimer, kRebuildDelayMs, nullptr);
}

void LauncherWindow::RebuildWhenIdle() {
    KillTimer(hwnd, kRebuildTimer);
    // A rebuild now would change or free what the strip offers and what
    // Enter would start.
    if (input.length > 0 || completion) {
        rebuildPending = 1;
        return;
    }
    SettingsFile settings(kSettingsName);
    RebuildCatalogue(settings);
    if (infoVisible) InvalidateRect(hwnd, nullptr, TRUE);  // its file count
}

void LauncherWindow::ResumeRebuild() {
    // From the timer, not here: this runs inside the handling of a key.
    if (rebuildPending) SetTimer(hwnd, kRebuildTimer, kTimerPeriodMs, nullptr);
}
