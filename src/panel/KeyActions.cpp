#include <windows.h>

#include "app/LauncherWindow.h"
#include "panel/ShellOpen.h"
#include "text/TextFormat.h"

void LauncherWindow::OnKeyDown(int virtualKey) {
    // A key other than Enter (and the modifiers held with one) cancels a
    // system command's question.
    if (virtualKey != VK_RETURN && virtualKey != VK_SHIFT && virtualKey != VK_CONTROL && virtualKey != VK_MENU &&
        CancelQuestion()) {
        ShowChanges();
    }
    if (virtualKey == VK_RETURN) {
        // Ctrl+Enter and Ctrl+Shift+Enter, once turned on, as keys: the
        // keyboard gives Ctrl+Shift+Enter no character at all.
        if (!options.ctrlEnter || GetKeyState(VK_CONTROL) >= 0) return;
        if (GetKeyState(VK_SHIFT) < 0 ? RunOnDisplayAsAdministrator() : OpenFolderOnDisplay()) Dismiss(1);
        ShowChanges();
        return;
    }
    if (virtualKey != VK_DOWN && virtualKey != VK_UP) return;
    // Nothing on display to step from, or an answer that is the text's only
    // one (a value, an alias's target with words).
    if (!completion || current.IsSingle()) return;
    StepCompletion(virtualKey == VK_DOWN);
    ShowChanges();
}

void LauncherWindow::StepCompletion(int forward) {
    // The typed text stays as typed; only the answer after it changes.
    Answer next;
    if (answers.Step(forward, &next)) Show(next);
    AnnounceStep(answers.Place(), answers.Count());
}

const char* LauncherWindow::FileOnDisplay() {
    if (current.entry) return IsFileEntry(*current.entry) ? current.entry->path : nullptr;
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
    const CatalogueEntry* program = current.entry ? current.entry->program : nullptr;
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
