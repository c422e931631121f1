#include "answers/OpenWindows.h"

#include <cwchar>

#include "answers/RunningProgram.h"
#include "text/Wtf8.h"

namespace {

// Letter case aside, by the system's tables, for every script.
void Fold(wchar_t* text) {
    CharLowerBuffW(text, static_cast<DWORD>(wcslen(text)));
}

}  // namespace

OpenWindows::OpenWindows() : count(0) {
    wanted[0] = 0;
}

OpenWindows::~OpenWindows() {}

int OpenWindows::Takes(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process != GetCurrentProcessId() && RunningProgram::IsSwitchable(window);
}

int OpenWindows::Matches(HWND window) const {
    // Another program's caption, as the system keeps it: no WM_GETTEXT.
    wchar_t title[kPathSize];
    if (GetWindowTextW(window, title, kPathSize) <= 0) return 0;
    Fold(title);
    for (const wchar_t* word = wanted; *word;) {
        while (*word == L' ') ++word;
        if (!*word) break;
        size_t length = wcscspn(word, L" ");
        int found = 0;
        for (const wchar_t* at = title; !found && (at = wcschr(at, word[0])) != nullptr; ++at) {
            found = wcsncmp(at, word, length) == 0;
        }
        if (!found) return 0;
        word += length;
    }
    return 1;
}

BOOL CALLBACK OpenWindows::Visit(HWND window, LPARAM self) {
    OpenWindows* list = reinterpret_cast<OpenWindows*>(self);
    if (list->Takes(window) && list->Matches(window)) list->windows[list->count++] = window;
    return list->count < kMaxWindows;
}

int OpenWindows::List(const char* words) {
    count = 0;
    if (!ToUtf16(wanted, words)) return 0;
    Fold(wanted);
    // Top-level windows come in Z order: the most recently active first.
    EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
    return count;
}

HWND OpenWindows::At(int index, char (&title)[kPathBytes]) const {
    title[0] = '\0';
    if (index < 0 || index >= count || !IsWindow(windows[index])) return nullptr;
    wchar_t wide[kPathSize];
    if (GetWindowTextW(windows[index], wide, kPathSize) <= 0) wide[0] = 0;
    ToWtf8(title, wide);
    return windows[index];
}
