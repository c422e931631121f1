#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "app/LauncherWindow.h"
#include "settings/SettingsFile.h"

namespace {

// The page that "/w" opens.
const char kWebAddress[] = "https://www.kwivo.example/";

// The documents folder, for "/m".
const char kDocumentsToken[] = "$0x0005";

// A command is one letter, compared as a whole text, letter case aside.
int IsCommand(const char* text, char letter) {
    return FoldCase(text[0]) == letter && text[1] == '\0';
}

void OpenWithShell(const char* target) {
    ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void LauncherWindow::Execute() {
    const char* text = input.text;
    const int length = input.length;
    if (length == 0) {
        Dismiss(1);
        return;
    }
    if (text[0] == '/') {
        RunCommand(text + 1);
        return;
    }

    if (length >= 4 && text[length - 3] == ' ' && text[length - 2] == '/' &&
        FoldCase(text[length - 1]) == 's') {
        // "<folder> /s": scan that folder's own files from now on. A line
        // break (pasted text) would write other sections and keys into the
        // settings file: such a folder is refused.
        char folder[MAX_PATH];
        memcpy(folder, text, static_cast<size_t>(length - 3));
        folder[length - 3] = '\0';
        if (strpbrk(folder, "\r\n")) return;
        SettingsFile settings(kSettingsName);
        settings.SetInt("folders", folder, 1);
        RebuildCatalogue(settings);
        Dismiss(1);
        return;
    }

    CatalogueEntry* entry = catalogue.FindPrefix(text, length, nullptr);
    if (entry) {
        // Both paths quoted: unquoted, a path with a blank such as
        // C:\Program Files\App\app.exe could start C:\Program.exe instead.
        char commandLine[1024];
        if (entry->program) {
            snprintf(commandLine, sizeof commandLine, "\"%s\" \"%s\"", entry->program->path, entry->path);
        } else {
            snprintf(commandLine, sizeof commandLine, "\"%s\"", entry->path);
        }
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                            nullptr, nullptr, &startup, &process)) {
            return;  // the text stays, so Enter can try again
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        Dismiss(1);
        return;
    }

    // Anything else goes to the shell, completed; a text ending in a
    // backslash opens that folder, not the entry offered inside it.
    char target[MAX_PATH];
    const char* rest = (completion && text[length - 1] != '\\') ? completion : "";
    int n = snprintf(target, sizeof target, "%s%s", text, rest);
    if (n < 0 || n >= static_cast<int>(sizeof target)) return;  // never a cut target
    OpenWithShell(target);
    Dismiss(1);
}

void LauncherWindow::RunCommand(const char* command) {
    if (IsCommand(command, 'q')) {
        DestroyWindow(hwnd);  // OnDestroy saves and ends the loop
        return;
    }
    if (command[0] == '\0' || command[0] == '?') {
        ShowInfo(infoVisible ? 0 : 1);
        input.Clear();
        return;
    }
    if (IsCommand(command, 'w')) {
        OpenWithShell(kWebAddress);
    } else if (IsCommand(command, 'm')) {
        char folder[MAX_PATH];
        ResolveFolderToken(folder, kDocumentsToken);
        OpenWithShell(folder);
    } else if (IsCommand(command, 'r')) {
        SettingsFile settings(kSettingsName);
        RebuildCatalogue(settings);
    } else {
        return;  // unknown: the text and the strip stay
    }
    Dismiss(1);
}
