#include <cstring>

#include "app/LauncherWindow.h"
#include "catalogue/CatalogueBuild.h"
#include "settings/SettingsFile.h"
#include "text/Wtf8.h"

void LauncherWindow::RebuildCatalogue(SettingsFile& settings) {
    // Whatever asked for this build, a rebuild that waited is done by it;
    // the folders it scans are watched anew.
    rebuildPending = 0;
    StopRebuildTimer();
    watch.Clear();
    // What the strip offers points into the catalogue about to be emptied:
    // a screen reader that asks while it is built (COM may deliver its
    // calls during the shell's listing) is told the typed text alone.
    completion = nullptr;
    current = Answer();
    answers.Clear();
    sourceRun.Clear();  // the table of sources it ran by is read anew
    icons.Clear();  // kept per file until the catalogue is built anew
    if (options.listRows) ArrangeList();  // no row of the old catalogue stays
    CatalogueBuild build(catalogue, options);
    build.apps = apps;
    build.fold = &textFold;
    build.scanned = options.watchFolders ? &watch : nullptr;
    build.scriptSources = &sources;
    build.Run(settings);
    // What a saved kwivo.ini is compared with, to tell whether it changed
    // what the catalogue was built from.
    catalogueDigest = build.digest;
}

int LauncherWindow::WaitedFolders(int sourceHandles) {
    // A source's two handles may take the last folders' places: a change
    // there keeps its notification signalled until the source is done.
    int room = MAXIMUM_WAIT_OBJECTS - 1 - sourceHandles - (settingsWatch.Handle() != INVALID_HANDLE_VALUE);
    return watch.Count() < room ? watch.Count() : room;
}

int LauncherWindow::GetWaitHandles(const HANDLE** handles) {
    // The watched folders, kwivo.ini's folder, then a running source's read
    // and program.
    HANDLE source[2];
    int sourceHandles = sourceRun.Handles(source);
    int count = WaitedFolders(sourceHandles);
    memcpy(waitHandles, watch.Handles(), static_cast<size_t>(count) * sizeof waitHandles[0]);
    if (settingsWatch.Handle() != INVALID_HANDLE_VALUE) waitHandles[count++] = settingsWatch.Handle();
    for (int i = 0; i < sourceHandles; ++i) waitHandles[count++] = source[i];
    *handles = waitHandles;
    return count;
}

void LauncherWindow::OnHandleSignalled(int index) {
    HANDLE source[2];
    int sourceHandles = sourceRun.Handles(source);
    int folders = WaitedFolders(sourceHandles);
    int settings = settingsWatch.Handle() != INVALID_HANDLE_VALUE;
    if (sourceHandles && index >= folders + settings) {
        OnSourceSignalled(index - folders - settings);
        return;
    }
    if (index == folders) {
        // A file of kwivo.ini's folder changed: polled until it has settled.
        // The poll's first arming stands, so that a log written beside
        // kwivo.ini every moment does not put it off for ever.
        settingsWatch.Rearm();
        if (!settingsWatch.Polling()) {
            settingsWatch.SetPolling(1);
            SetTimer(hwnd, kSettingsTimer, kSettingsPollMs, nullptr);
        }
        return;
    }
    watch.Rearm(index);
    // Each change of a burst (an installer writing hundreds of files) moves
    // the rebuild on, so that the burst ends in one; steady changes (a busy
    // documents folder) never move it further than kMaxRebuildWaitMs from
    // the first change it waits for.
    DWORD now = GetTickCount();
    if (!changeWaiting) {
        changeWaiting = 1;
        firstChange = now;
    }
    DWORD waited = now - firstChange;
    DWORD left = waited < kMaxRebuildWaitMs ? kMaxRebuildWaitMs - waited : 0;
    SetTimer(hwnd, kRebuildTimer, left < kRebuildDelayMs ? left : kRebuildDelayMs, nullptr);
}

void LauncherWindow::StopRebuildTimer() {
    KillTimer(hwnd, kRebuildTimer);
    changeWaiting = 0;
}

void LauncherWindow::RebuildWhenIdle() {
    StopRebuildTimer();
    // A rebuild now would change or free what the strip offers and what
    // Enter would start. A strip hidden in place keeps its text but is not
    // in use.
    if (IsWindowVisible(hwnd) && (input.length > 0 || completion)) {
        rebuildPending = 1;
        return;
    }
    // A kwivo.ini caught half-way (emptied, held by its writer, a folder,
    // deleted) would give a catalogue of no settings: the catalogue waits
    // for it to be whole again, and after kMaxRebuildWaitMs is built from
    // the bytes of the last whole file, so that a file left broken stops
    // no rebuild.
    wchar_t taken[kPathSize];
    char takenName[kPathBytes];
    int fromTaken = 0;
    if (options.watchFolders && !settingsWatch.IsWhole()) {
        fromTaken = settingsWatch.NotWholeFor() >= kMaxRebuildWaitMs && settingsWatch.WriteTaken(taken);
        if (fromTaken && !ToWtf8(takenName, taken)) {
            DeleteFileW(taken);
            fromTaken = 0;
        }
        if (!fromTaken) {
            SetTimer(hwnd, kRebuildTimer, kSettingsPollMs, nullptr);
            return;
        }
    }
    // Kept through Tab or a hidden strip, the entry on display belongs to
    // the old catalogue: it is looked up afresh in the new one.
    int offered = current.entry != nullptr;
    {
        SettingsFile settings(fromTaken ? takenName : kSettingsName);
        RebuildCatalogue(settings);
    }
    if (fromTaken) DeleteFileW(taken);
    if (offered) {
        int typed = typedLength;  // the key of a pick stays what the user typed
        UpdateCompletion();
        typedLength = typed;
    }
    if (offered || infoVisible) ShowChanges();  // the new completion, the file count
}

void LauncherWindow::ResumeRebuild() {
    // From the timer, not here: this runs inside the handling of a key.
    if (rebuildPending) SetTimer(hwnd, kRebuildTimer, kTimerPeriodMs, nullptr);
}
