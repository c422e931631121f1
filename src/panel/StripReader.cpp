// What the strip tells screen readers: its object, its value, its events.
#include <cstring>

#include "app/LauncherWindow.h"
#include "panel/Painting.h"
#include "text/TextFormat.h"

LRESULT LauncherWindow::OnGetObject(WPARAM wParam, LPARAM lParam) {
    return accessible.Answer(hwnd, wParam, lParam, this);
}

void LauncherWindow::ShownText(char* out, int size) {
    // A path completion reads as the path it completes to, also where the
    // typed name is the short 8.3 form of it.
    if (completion && !current.entry && IsAbsolutePath(input.text)) {
        FormatText(out, static_cast<size_t>(size), "%s", completionPath);
    } else {
        FormatText(out, static_cast<size_t>(size), "%s%s", input.text, completion ? completion : "");
    }
}

const char* LauncherWindow::HelpText() {
    if (!infoVisible) return nullptr;
    FormatInfoText(helpText, catalogue.Count(), runs, GetWorkingSetKB());
    return helpText;
}

int LauncherWindow::IsShown() {
    return IsWindowVisible(hwnd) != 0;
}

void LauncherWindow::ShowChanges() {
    if (options.listRows && !infoVisible) {
        ArrangeList();
    } else {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    accessible.Changed(hwnd, this);
}

void LauncherWindow::AnnounceStep(int place, int count) {
    const char* name = current.entry ? current.entry->Name() : nullptr;
    if (!name && completion) {
        const char* backslash = strrchr(completionPath, '\\');
        name = backslash ? backslash + 1 : completionPath;
    }
    if (!name) return;
    char text[Catalogue::kMaxNameBytes + 32];
    FormatAnnouncement(text, sizeof text, name, place, count);
    announcer->Announce(hwnd, text);
}
