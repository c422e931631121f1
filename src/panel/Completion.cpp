#include <cstring>

#include "app/LauncherWindow.h"
#include "window/TextFormat.h"

void LauncherWindow::UpdateCompletion() {
    completion = nullptr;
    completionIsFolder = 0;
    completionEntry = nullptr;
    completionIndex = 0;
    typedLength = input.length;
    if (input.length == 0) return;

    if (!IsAbsolutePath(input.text)) {
        // The entry picked before for this text, else the first catalogued
        // name that begins with it; the rest of its name completes the text.
        CatalogueEntry* entry = rememberPicks ? picks.Find(catalogue, input.text, input.length) : nullptr;
        if (!entry) entry = catalogue.FindPrefix(input.text, input.length, nullptr);
        if (entry) {
            completionEntry = entry;
            completion = entry->Name() + input.length;
        }
        return;
    }
    // Against the file system, one path component at a time.
    ShowFolderMatch(0);
}

namespace {

int IsDotName(const char* name) {
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// The index-th entry (other than "." and "..") that the search returns; -1
// asks for the last. Stops as soon as it is found. 1 with the entry and its
// index; 0 when the search has fewer entries or none.
int FindFolderMatch(const char* pattern, int wanted, WIN32_FIND_DATAA* item, int* found) {
    WIN32_FIND_DATAA current;
    HANDLE find = FindFirstFileA(pattern, &current);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int seen = 0;
    do {
        if (IsDotName(current.cFileName)) continue;
        *item = current;
        *found = seen;
        if (seen++ == wanted) break;
    } while (FindNextFileA(find, &current));
    FindClose(find);
    return wanted < 0 ? seen > 0 : seen > wanted;
}

}  // namespace

int LauncherWindow::ShowFolderMatch(int index) {
    completion = nullptr;
    completionIsFolder = 0;
    // The first entry of the typed folder whose name begins with the typed
    // rest, or the one stepped to.
    char pattern[MAX_PATH];  // 256 typed characters, "*.*" and the terminator fit
    FormatText(pattern, sizeof pattern, "%s*.*", input.text);
    WIN32_FIND_DATAA item;
    int found = 0;
    // Past the last match, the first again.
    if (!FindFolderMatch(pattern, index, &item, &found) &&
        (index <= 0 || !FindFolderMatch(pattern, 0, &item, &found))) {
        return 0;
    }
    const char* typedName = strrchr(input.text, '\\') + 1;
    size_t folderLength = static_cast<size_t>(typedName - input.text);
    size_t nameLength = strlen(item.cFileName);
    // A match whose full path does not fit offers nothing rather than a cut
    // name.
    if (folderLength + nameLength >= sizeof completionPath) return 0;
    memcpy(completionPath, input.text, folderLength);
    memcpy(completionPath + folderLength, item.cFileName, nameLength + 1);
    // A name found through its 8.3 form or through wildcards does not extend
    // what was typed: offer the empty completion, never text from beyond the
    // end of the name.
    int extends = EqualFolded(item.cFileName, typedName, static_cast<int>(strlen(typedName)));
    completion = completionPath + (extends ? static_cast<size_t>(input.length) : folderLength + nameLength);
    completionIsFolder = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    completionIndex = found;
    return 1;
}

void LauncherWindow::AcceptCompletion() {
    if (!completion) return;
    input.PutText(completion);
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
        // Ctrl+Enter, with Shift or without, once turned on; otherwise it is
        // typed like any other character.
        if (ctrlEnter) {
            if (GetKeyState(VK_SHIFT) < 0 ? RunOnDisplayAsAdministrator() : OpenFolderOnDisplay()) Dismiss(1);
            break;
        }
        [[fallthrough]];
    default:
        // Everything else, backspace and control characters included, is an
        // edit of the text.
        input.PutChar(static_cast<unsigned short>(code));
        UpdateCompletion();
        break;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

void LauncherWindow::OnPasteText(const char* text) {
    input.PutText(text);
    UpdateCompletion();
    InvalidateRect(hwnd, nullptr, TRUE);
}

const char* LauncherWindow::GetCopyText() {
    return input.text;
}
