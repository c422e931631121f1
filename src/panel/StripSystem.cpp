// The system's own commands ([misc] system=1): Enter on one, its question,
// and what cancels it.
#include "app/LauncherWindow.h"

int LauncherWindow::RunSystemCommand(int command) {
    char said[64];
    commands->window = hwnd;
    if (commands->Enter(command, GetTickCount(), said)) return 1;
    // The question, or the refusal, after the text in the completion's
    // place; the text stays.
    SetApart(said);
    if (commands->Asking()) SetTimer(hwnd, kQuestionTimer, SystemCommands::kConfirmMs, nullptr);
    return 0;
}

int LauncherWindow::CancelQuestion() {
    if (!commands->Asking()) return 0;
    KillTimer(hwnd, kQuestionTimer);
    commands->Cancel();
    if (current.entry) Show(current);
    return 1;
}
