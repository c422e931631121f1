#include <cstring>

#include "app/LauncherWindow.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

void LauncherWindow::UpdateCompletion() {
    answers.Clear();
    completion = nullptr;
    current = Answer();
    // The run for the text before ends, with every process it started.
    StopSource();
    sourceRun.Clear();
    typedLength = input.length;
    if (input.length == 0) {
        ResumeRebuild();
        return;
    }
    if (options.calc && input.text[0] == '=') {
        ShowResult();
        return;
    }

    if (RunSource() || ShowAliasWords()) return;
    Answer first;
    if (options.windows && input.text[0] == '<') {
        // The open windows whose titles hold the words after "<".
        answers.ForWindows(input.text + 1);
        if (answers.At(0, &first)) Show(first);
        return;
    }
    if (!IsAbsolutePath(input.text)) {
        // The entry picked before for this text, else the first catalogued
        // name that begins with it (or, with words=1, has a word or initials
        // that do).
        CatalogueEntry* pick = options.rememberPicks ? picks.Find(catalogue, input.text, input.length) : nullptr;
        if (options.listRows) {
            // The rows' walk of the catalogue finds the first answer too.
            answers.ForNames(&catalogue, input.text, input.length, pick, nullptr);
            if (answers.At(0, &first)) Show(first);
            return;
        }
        first.entry = pick ? pick : catalogue.FindMatch(input.text, input.length, &first.kind);
        answers.ForNames(&catalogue, input.text, input.length, pick, first.entry);
        if (first.entry) Show(first);
        return;
    }
    // Against the file system, one path component at a time: the first
    // entry of the typed folder whose name begins with the typed rest.
    const char* typedName = strrchr(input.text, '\\') + 1;
    answers.ForFolder(&folderListing, input.text, static_cast<int>(typedName - input.text));
    if (answers.At(0, &first)) Show(first);
    // A listing that the search started goes on between the messages.
    if (folderListing.IsListing()) SetTimer(hwnd, kListingTimer, kTimerPeriodMs, nullptr);
}

void LauncherWindow::Show(const Answer& answer) {
    current = answer;
    completion = nullptr;
    if (answer.kind == Answer::kFolderEntry) {
        const char* typedName = strrchr(input.text, '\\') + 1;
        size_t folderLength = static_cast<size_t>(typedName - input.text);
        size_t nameLength = strlen(answer.name);
        // A match whose full path does not fit offers nothing rather than a
        // cut name.
        if (folderLength + nameLength >= sizeof completionPath ||
            Utf16Length(input.text, static_cast<int>(folderLength)) + Utf16Length(answer.name) >= kPathSize) {
            return;
        }
        memcpy(completionPath, input.text, folderLength);
        memcpy(completionPath + folderLength, answer.name, nameLength + 1);
        current.name = nullptr;  // the search's name lasts no longer than it
        // A name found through its 8.3 form or through wildcards does not
        // extend what was typed: offer the empty completion, never text from
        // beyond the end of the name.
        int extends = EqualFolded(answer.name, typedName, static_cast<int>(strlen(typedName)));
        completion = completionPath + (extends ? static_cast<size_t>(input.length) : folderLength + nameLength);
        return;
    }
    // A window's title, a source line's, set apart as a name matched by a
    // word is.
    if (answer.kind == Answer::kWindow || answer.kind == Answer::kSourceLine) {
        SetApart(answer.name);
        current.name = nullptr;  // the title read lasts no longer than the list
        return;
    }
    // The rest of a name that begins with the text completes it.
    if (answer.kind == Answer::kNameStart) {
        completion = answer.entry->Name() + catalogue.CoveredLength(answer.entry, input.text, input.length);
        return;
    }
    // A name matched by a word or its initials does not continue the text:
    // it is shown whole, set apart.
    const char* name = answer.entry->Name();
    completion = FormatText(completionPath, sizeof completionPath, "%s%s", kWordMatchSeparator, name) < 0
                     ? name
                     : completionPath;
}

void LauncherWindow::SetApart(const char* text) {
    if (FormatText(completionPath, sizeof completionPath, "%s%s", kWordMatchSeparator, text) >= 0) {
        completion = completionPath;
    }
}

void LauncherWindow::AcceptCompletion() {
    // A value, an alias's target with words or a window is no name to take.
    if (!completion || !current.IsName()) return;
    if (current.entry && current.kind != Answer::kNameStart) {
        input.Clear();  // the whole name takes the typed text's place
        input.PutText(current.entry->Name());
    } else {
        input.PutText(completion);
    }
    completion = nullptr;
}

void LauncherWindow::OnChar(unsigned int code) {
    // A key other than Enter answers no question with yes.
    if (code != '\r') CancelQuestion();
    switch (code) {
    case '\r':
        Execute();
        break;
    case '\\':
        // Typing a backslash after a folder completion steps into it.
        if (current.isFolder) AcceptCompletion();
        input.PutChar('\\');
        UpdateCompletion();
        break;
    case '\t':
        AcceptCompletion();
        break;
    case '\n':
        // Ctrl+Enter's character: its key did the work once turned on;
        // otherwise it is typed like any other character.
        if (options.ctrlEnter) break;
        [[fallthrough]];
    default:
        // Everything else, backspace and control characters included, is an
        // edit of the text.
        input.PutChar(static_cast<unsigned short>(code));
        UpdateCompletion();
        break;
    }
    ShowChanges();
}

void LauncherWindow::OnPasteText(const char* text) {
    input.PutText(text);
    UpdateCompletion();
    ShowChanges();
}

const char* LauncherWindow::GetCopyText() {
    return input.text;
}
