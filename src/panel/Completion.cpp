#include <cstdio>
#include <cstring>

#include "app/LauncherWindow.h"

void LauncherWindow::UpdateCompletion() {
    completion = nullptr;
    completionIsFolder = 0;
    if (input.length == 0) return;

    if (!IsAbsolutePath(input.text)) {
        // The rest of the first catalogued name that begins with the text.
        if (catalogue.FindPrefix(input.text, input.length, &completion)) completion += input.length;
        return;
    }

    // Against the file system, one path component at a time: the first
    // entry of the typed folder whose name begins with the typed rest.
    char pattern[MAX_PATH];  // 256 typed characters, "*.*" and the terminator fit
    snprintf(pattern, sizeof pattern, "%s*.*", input.text);
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA(pattern, &item);
    if (find == INVALID_HANDLE_VALUE) return;
    while (strcmp(item.cFileName, ".") == 0 || strcmp(item.cFileName, "..") == 0) {
        if (!FindNextFileA(find, &item)) {
            FindClose(find);
            return;
        }
    }
    const char* typedName = strrchr(input.text, '\\') + 1;
    size_t folderLength = static_cast<size_t>(typedName - input.text);
    size_t nameLength = strlen(item.cFileName);
    // A match whose full path does not fit offers nothing rather than a cut
    // name.
    if (folderLength + nameLength < sizeof completionPath) {
        memcpy(completionPath, input.text, folderLength);
        memcpy(completionPath + folderLength, item.cFileName, nameLength + 1);
        // A name found through its 8.3 form or through wildcards does not
        // extend what was typed: offer the empty completion, never text
        // from beyond the end of the name.
        int extends = EqualFolded(item.cFileName, typedName, static_cast<int>(strlen(typedName)));
        completion = completionPath + (extends ? static_cast<size_t>(input.length) : folderLength + nameLength);
        completionIsFolder = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    FindClose(find);
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
