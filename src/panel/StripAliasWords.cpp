// Words after an alias whose target holds "%s": "g lisbon weather" opens
// the search address with the words in place.
#include <cstring>

#include "app/LauncherWindow.h"
#include "answers/AliasCommand.h"
#include "answers/AliasWords.h"
#include "panel/ShellOpen.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

int LauncherWindow::ShowAliasWords() {
    const char* blank = strchr(input.text, ' ');
    if (!blank) return 0;
    CatalogueEntry* alias = catalogue.FindAlias(input.text, static_cast<int>(blank - input.text));
    // A target with "%s" more than once takes no words either: refused.
    if (!alias || !strstr(alias->path, "%s")) return 0;
    // Whatever else the text looks like (" /s" at its end), Enter gives it
    // to the alias, as shown.
    current.entry = alias;
    current.kind = Answer::kAliasTarget;
    // Shown as a word match is, set apart, so that the user sees where Enter
    // goes; a target that the words would make too long for the platform is
    // refused, never cut.
    char target[kPathBytes];
    if (PutWords(target, sizeof target, alias->path, blank + 1) < 0 || Utf16Length(target) >= kPathSize ||
        FormatText(completionPath, sizeof completionPath, "%s%s", kWordMatchSeparator, target) < 0) {
        return 1;
    }
    completion = completionPath;
    current.name = completion + strlen(kWordMatchSeparator);  // the target alone
    answers.ForOne(current);
    return 1;
}

int LauncherWindow::RunAliasWords() {
    const char* blank = strchr(input.text, ' ');
    if (!completion || !current.entry || !blank) return 0;
    return RunAlias(*current.entry, blank + 1);
}

int LauncherWindow::RunAlias(const CatalogueEntry& alias, const char* words) {
    if (IsAddress(alias.path)) {
        char target[kPathBytes];
        if (PutWords(target, sizeof target, alias.path, words) < 0) return 0;
        ShellOpen(L"open", target, nullptr);
        return 1;  // as for any address handed to the shell
    }
    AliasCommand command;
    return command.Make(alias.path, words) && StartProcess(command.line, command.program);
}
