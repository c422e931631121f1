#include <windows.h>

#include "app/LauncherWindow.h"
#include "panel/ShellOpen.h"
#include "text/TextFormat.h"

void LauncherWindow::OnKeyDown(int virtualKey) {
    if (virtualKey == VK_RETURN) {
        // Ctrl+Enter and Ctrl+Shift+Enter, once turned on, as keys: the
        // keyboard gives Ctrl+Shift+Enter no character at all.
        if (!options.ctrlEnter || GetKeyState(VK_CONTROL) >= 0) return;
        if (GetKeyState(VK_SHIFT) < 0 ? RunOnDisplayAsAdministrator() : OpenFolderOnDisplay()) Dismiss(1);
        ShowChanges();
        return;
    }
    if (virtualKey != VK_DOWN && virtualKey != VK_UP) return;
    // Nothing on display to step from, or no name (a value, an alias's
    // target with words).
    if (!completion || completionMode >= kResultMode) return;
    StepCompletion(virtualKey == VK_DOWN);
    ShowChanges();
}

void LauncherWindow::StepCompletion(int forward) {
    // The typed text stays as typed; only what completes it changes.
    if (IsAbsolutePath(input.text)) {
        ShowFolderMatch(forward ? completionIndex + 1 : completionIndex - 1);
        AnnounceStep(0, 0);
        return;
    }
    // The answers of the text, gathered at its first step.
    if (!answers.Held()) {
        CatalogueEntry* pick = options.rememberPicks ? picks.Find(catalogue, input.text, input.length) : nullptr;
        answers.Gather(catalogue, input.text, input.length, pick, completionEntry);
    }
    int mode = completionMode;
    CatalogueEntry* entry = answers.Step(forward, &mode);
    if (entry) ShowEntry(entry, mode);
    AnnounceStep(answers.Place(), answers.Count());
}

const char* LauncherWindow::FileOnDisplay() {
    if (completionEntry) return IsFileEntry(*completionEntry) ? completionEntry->path : nullptr;
    if (!IsAbsolutePath(input.text)) return nullptr;
    return completion ? completionPath : input.text;
}

int LauncherWindow::OpenFolderOnDisplay() {
    const char* file = FileOnDisplay();
    if (!file) return 0;
    char parameters[kPathBytes + 16];
    if (FormatText(parameters, sizeof parameters, "/select,\"%s\"", file) < 0) return 0;
    return ShellOpen(L"open", "explorer.exe", parameters);
}

int LauncherWindow::RunOnDisplayAsAdministrator() {
    const char* file = FileOnDisplay();
    if (!file) return 0;
    // A document is elevated through the program that opens it.
    const CatalogueEntry* program = completionEntry ? completionEntry->program : nullptr;
    char parameters[kPathBytes + 2];
    const char* target = file;
    const char* arguments = nullptr;
    if (program) {
        FormatText(parameters, sizeof parameters, "\"%s\"", file);
        target = program->path;
        arguments = parameters;
    }
    return ShellOpen(L"runas", target, arguments);
}
