#include <cstring>

#include "app/LauncherWindow.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

void LauncherWindow::UpdateCompletion() {
    answers.Clear();
    completion = nullptr;
    completionIsFolder = 0;
    completionEntry = nullptr;
    completionMode = Catalogue::kPrefixMatch;
    completionIndex = 0;
    typedLength = input.length;
    if (input.length == 0) {
        ResumeRebuild();
        return;
    }
    if (options.calc && input.text[0] == '=') {
        ShowResult();
        return;
    }

    if (ShowAliasWords()) return;
    if (!IsAbsolutePath(input.text)) {
        // The entry picked before for this text, else the first catalogued
        // name that begins with it (or, with words=1, has a word or initials
        // that do).
        CatalogueEntry* entry = options.rememberPicks ? picks.Find(catalogue, input.text, input.length) : nullptr;
        int mode = Catalogue::kPrefixMatch;
        if (!entry) entry = catalogue.FindMatch(input.text, input.length, &mode);
        if (entry) ShowEntry(entry, mode);
        return;
    }
    // Against the file system, one path component at a time.
    ShowFolderMatch(0);
}

namespace {

// The index-th entry (other than "." and "..") that the search returns; -1
// asks for the last. Stops as soon as it is found. 1 with the entry and its
// index; 0 when the search has fewer entries or none.
int FindFolderMatch(const wchar_t* pattern, int wanted, WIN32_FIND_DATAW* item, int* found) {
    WIN32_FIND_DATAW current;
    HANDLE find = FindFirstFileW(pattern, &current);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int seen = 0;
    do {
        if (IsDotName(current.cFileName)) continue;
        *item = current;
        *found = seen;
        if (seen++ == wanted) break;
    } while (FindNextFileW(find, &current));
    FindClose(find);
    return wanted < 0 ? seen > 0 : seen > wanted;
}

// The same from the names of the typed folder, listed once while the user
// types inside it; from the file system when the listing cannot answer.
// name holds the name of a match the file system gave.
int SearchFolder(FolderListing& listing, const char* text, int folderLength, int wanted, FolderMatch* match,
                 char (&name)[kPathBytes]) {
    const char* typedName = text + folderLength;
    if (FolderListing::CanAnswer(typedName) && listing.Hold(text, folderLength)) {
        return listing.Find(typedName, wanted, match);
    }
    char pattern[kPathBytes];
    wchar_t widePattern[kPathSize];
    WIN32_FIND_DATAW item;
    if (FormatText(pattern, sizeof pattern, "%s*.*", text) < 0 || !ToUtf16(widePattern, pattern) ||
        !FindFolderMatch(widePattern, wanted, &item, &match->index)) {
        return 0;
    }
    ToWtf8(name, item.cFileName);
    match->name = name;
    match->isFolder = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return 1;
}

}  // namespace

int LauncherWindow::ShowFolderMatch(int index) {
    completion = nullptr;
    completionIsFolder = 0;
    // The first entry of the typed folder whose name begins with the typed
    // rest, or the one stepped to.
    const char* typedName = strrchr(input.text, '\\') + 1;
    int folderLength = static_cast<int>(typedName - input.text);
    FolderMatch match;
    char name[kPathBytes];
    // Past the last match, the first again.
    int found = SearchFolder(folderListing, input.text, folderLength, index, &match, name) ||
                (index > 0 && SearchFolder(folderListing, input.text, folderLength, 0, &match, name));
    // A listing that the search started goes on between the messages.
    if (folderListing.IsListing()) SetTimer(hwnd, kListingTimer, kTimerPeriodMs, nullptr);
    if (!found) return 0;
    size_t nameLength = strlen(match.name);
    // A match whose full path does not fit offers nothing rather than a cut
    // name.
    if (static_cast<size_t>(folderLength) + nameLength >= sizeof completionPath ||
        Utf16Length(input.text, folderLength) + Utf16Length(match.name) >= kPathSize) {
        return 0;
    }
    memcpy(completionPath, input.text, static_cast<size_t>(folderLength));
    memcpy(completionPath + folderLength, match.name, nameLength + 1);
    // A name found through its 8.3 form or through wildcards does not extend
    // what was typed: offer the empty completion, never text from beyond the
    // end of the name.
    int extends = EqualFolded(match.name, typedName, static_cast<int>(strlen(typedName)));
    completion = completionPath + (extends ? static_cast<size_t>(input.length) : folderLength + nameLength);
    completionIsFolder = match.isFolder;
    completionIndex = match.index;
    return 1;
}

void LauncherWindow::ShowEntry(CatalogueEntry* entry, int mode) {
    completionEntry = entry;
    completionMode = mode;
    // The rest of a name that begins with the text completes it.
    if (mode == Catalogue::kPrefixMatch) {
        completion = entry->Name() + catalogue.CoveredLength(entry, input.text, input.length);
        return;
    }
    // A name matched by a word or its initials does not continue the text:
    // it is shown whole, set apart.
    const char* name = entry->Name();
    completion = FormatText(completionPath, sizeof completionPath, "%s%s", kWordMatchSeparator, name) < 0
                     ? name
                     : completionPath;
}

void LauncherWindow::AcceptCompletion() {
    // A value or an alias's target with words is no name to take.
    if (!completion || completionMode >= kResultMode) return;
    if (completionEntry && completionMode != Catalogue::kPrefixMatch) {
        input.Clear();  // the whole name takes the typed text's place
        input.PutText(completionEntry->Name());
    } else {
        input.PutText(completion);
    }
    completion = nullptr;
}

void LauncherWindow::OnChar(unsigned int code) {
    switch (code) {
    case '\r':
        Execute();
        break;
    case '\\':
        // Typing a backslash after a folder completion steps into it.
        if (completionIsFolder) AcceptCompletion();
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
