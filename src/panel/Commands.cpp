#include <windows.h>

#include <cstring>

#include "app/LauncherWindow.h"
#include "catalogue/CatalogueBuild.h"
#include "answers/AliasCommand.h"
#include "answers/AliasWords.h"
#include "answers/RunningProgram.h"
#include "panel/ShellOpen.h"
#include "settings/ProfileText.h"
#include "settings/SettingsCopy.h"
#include "settings/SettingsFile.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"
#include "files/WholeFile.h"

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
    ShellOpen(L"open", target, nullptr);
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
    if (options.calc && text[0] == '=') {
        if (CopyResult()) Dismiss(1);
        return;
    }
    if (options.windows && text[0] == '<') {
        // The window on display forward, with the care of switching to a
        // running program; one that has gone leaves the text.
        HWND window = answers.WindowOf(current);
        RunningProgram running;
        if (window && running.BringForward(window)) Dismiss(1);
        return;
    }

    // A source's line: its target opened, as an alias's is. A source's text
    // without one on display stays.
    const char* words = nullptr;
    if (current.kind == Answer::kSourceLine || sources.Find(text, &words)) {
        char target[kPathBytes];
        if (answers.TargetOf(current, target) && OpenTarget(target)) Dismiss(1);
        return;
    }

    // A system command on display: carried out, or asked about first.
    int command = options.system && current.entry ? SystemCommands::Find(current.entry->path) : -1;
    if (command >= 0) {
        if (RunSystemCommand(command)) Dismiss(1);
        return;
    }

    int done;
    // Words after an alias are the alias's, even when they end in " /s".
    if (current.kind == Answer::kAliasTarget) {
        done = RunAliasWords();
    } else if (length >= 4 && text[length - 3] == ' ' && text[length - 2] == '/' &&
               FoldCase(text[length - 1]) == 's') {
        done = AddFolder(text, length - 3);
    } else if (CatalogueEntry* entry = current.entry ? current.entry
                                                      : catalogue.FindPrefix(text, length, nullptr)) {
        // Exactly the entry on display, stepped to or picked, even after Tab.
        done = Launch(*entry);
        // A pick is the entry for the start of a name; one found by a word
        // or initials would never be offered again for the typed text.
        if (done && options.rememberPicks && entry->kind != CatalogueEntry::kAlias &&
            current.kind == Answer::kNameStart) {
            // A picks file that cannot be written leaves the launch as it is.
            // One that could not be read (held open by another program at
            // start-up) is read now, before the pick joins it.
            int typed = typedLength > 0 && typedLength <= length ? typedLength : length;
            if (picks.Unread()) picks.Load(kPicksName);
            if (picks.Remember(text, typed, *entry)) picks.Save(kPicksName);
        }
    } else {
        done = OpenCompleted();
    }
    // What could not be done leaves the strip and the text, so that Enter can
    // try again after an edit.
    if (done) Dismiss(1);
}

int LauncherWindow::AddFolder(const char* text, int length) {
    // "<folder> /s": scan that folder's own files from now on. A folder that
    // would not read back as the same key (a line break, a leading "[" that
    // opens a section, a leading ";" that makes a comment) is refused.
    char folder[kPathBytes];
    memcpy(folder, text, static_cast<size_t>(length));
    folder[length] = '\0';
    if (!IsWritableKey(folder)) return 0;
    SettingsFile settings(kSettingsName);
    // A settings file that cannot be written (read-only, a full disk) adds
    // nothing: the text stays, so the user sees that it did not work.
    if (!settings.SetInt("folders", folder, 1)) return 0;
    RebuildCatalogue(settings);
    return 1;
}

int LauncherWindow::IsFileEntry(const CatalogueEntry& entry) {
    if (entry.kind == CatalogueEntry::kShellItem) return 0;  // the shell opens it
    if (entry.kind != CatalogueEntry::kAlias || catalogue.FindPath(entry.path)) return 1;
    DWORD attributes = FileAttributes(entry.path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int LauncherWindow::Launch(const CatalogueEntry& entry) {
    // An alias that takes words, chosen alone: nothing in their place.
    if (entry.kind == CatalogueEntry::kAlias && TakesWords(entry.path)) return RunAlias(entry, "");
    if (!IsFileEntry(entry)) {
        // An alias to a drive or network path that is not there cannot be
        // opened: it stays, as a program that cannot be started does.
        if (IsAbsolutePath(entry.path) && FileAttributes(entry.path) == INVALID_FILE_ATTRIBUTES) return 0;
        OpenWithShell(entry.path);
        return 1;  // as for any text handed to the shell
    }
    // switch=1: a program that runs already comes to the front instead of
    // starting again; Shift+Enter starts another copy, and a window that
    // does not come (the system refused) starts one as before.
    size_t length = strlen(entry.path);
    if (options.switchRunning && !entry.program && EndsWithFolded(entry.path, static_cast<int>(length), ".exe", 4) &&
        GetKeyState(VK_SHIFT) >= 0) {
        RunningProgram running;
        HWND window = running.FindWindowOf(entry.path);
        if (window && running.BringForward(window)) return 1;
    }
    // Both paths quoted: unquoted, a path with a blank such as
    // C:\Program Files\App\app.exe could start C:\Program.exe instead.
    char commandLine[2 * kPathBytes + 8];
    if (entry.program) {
        FormatText(commandLine, sizeof commandLine, "\"%s\" \"%s\"", entry.program->path, entry.path);
    } else {
        FormatText(commandLine, sizeof commandLine, "\"%s\"", entry.path);
    }
    return StartProcess(commandLine);
}

int LauncherWindow::StartProcess(const char* commandLine, const wchar_t* program) {
    wchar_t wideCommandLine[2 * kPathSize];
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!ToUtf16(wideCommandLine, commandLine) ||
        !CreateProcessW(program, wideCommandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
        return 0;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return 1;
}

int LauncherWindow::OpenTarget(const char* target) {
    // A file, a folder or an address goes to the shell; anything else is a
    // command line, its program found as an alias's is.
    AliasCommand command;
    if (IsAddress(target) || FileAttributes(target) != INVALID_FILE_ATTRIBUTES || !command.MakeLine(target)) {
        return ShellOpen(L"open", target, nullptr);
    }
    return StartProcess(command.line, command.program);
}

int LauncherWindow::EditSettings() {
    // The full path: the shell's program runs in a folder of its own.
    wchar_t path[kPathSize];
    WidePath name(kSettingsName);
    DWORD n = GetFullPathNameW(name.text, kPathSize, path, nullptr);
    char file[kPathBytes];
    if (n == 0 || n >= static_cast<DWORD>(kPathSize) || !CreateSettingsFile(path) || !ToWtf8(file, path)) return 0;
    return ShellOpen(L"edit", file, nullptr) || ShellOpen(L"open", file, nullptr);
}

int LauncherWindow::OpenCompleted() {
    // The text, completed, goes to the shell; a text ending in a backslash
    // opens that folder, not the entry offered inside it.
    const char* text = input.text;
    const int length = input.length;
    char target[kPathBytes];
    const char* rest = (completion && text[length - 1] != '\\') ? completion : "";
    // Never a cut target; one the platform's path size cannot hold stays.
    if (FormatText(target, sizeof target, "%s%s", text, rest) < 0 || Utf16Length(target) >= kPathSize) return 0;
    // A name of the folder's listing may have gone since it was listed:
    // the listing is let go, and the strip offers what the folder holds now.
    if (*rest && IsAbsolutePath(text) && FileAttributes(target) == INVALID_FILE_ATTRIBUTES) {
        folderListing.Drop();
        UpdateCompletion();
        return 0;
    }
    OpenWithShell(target);
    return 1;  // a shell request that fails is not noticed
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
        char folder[kPathBytes];
        CatalogueBuild::ResolveFolderToken(folder, kDocumentsToken);
        OpenWithShell(folder);
    } else if (IsCommand(command, 'r')) {
        SettingsFile settings(kSettingsName);
        RebuildCatalogue(settings);
    } else if (IsCommand(command, 'e')) {
        if (!EditSettings()) return;
    } else {
        return;  // unknown: the text and the strip stay
    }
    Dismiss(1);
}
