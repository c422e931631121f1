#include "answers/AliasCommand.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "answers/AliasWords.h"
#include "text/TextFold.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

AliasCommand::AliasCommand() {
    program[0] = 0;
    line[0] = '\0';
}

AliasCommand::~AliasCommand() {}

int AliasCommand::Find(const char* target, int length) {
    char name[kPathBytes];
    if (length <= 0 || length >= kPathBytes) return 0;
    memcpy(name, target, static_cast<size_t>(length));
    name[length] = '\0';
    wchar_t wide[kPathSize];
    if (!ToUtf16(wide, name)) return 0;
    if (!strchr(name, '\\') && !strchr(name, '/') && !strchr(name, ':')) {
        // A bare name: the folders of the PATH alone, as a user who types
        // it in a console means (a PATH may hold 32,767 characters).
        DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
        wchar_t* folders = size ? static_cast<wchar_t*>(malloc(size * sizeof *folders)) : nullptr;
        DWORD n = folders ? GetEnvironmentVariableW(L"PATH", folders, size) : 0;
        DWORD found = n > 0 && n < size ? SearchPathW(folders, wide, L".exe", kPathSize, program, nullptr) : 0;
        free(folders);
        return found > 0 && found < static_cast<DWORD>(kPathSize);
    }
    DWORD full = GetFullPathNameW(wide, kPathSize, program, nullptr);
    if (full == 0 || full >= static_cast<DWORD>(kPathSize) - 4) return 0;
    DWORD attributes = GetFileAttributesW(program);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    // "C:\Tools\edit %s" names C:\Tools\edit.exe, as the shell reads it.
    wmemcpy(program + full, L".exe", 5);
    attributes = GetFileAttributesW(program);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int AliasCommand::Split(const char* target, int end, const char** rest) {
    program[0] = 0;
    line[0] = '\0';
    if (target[0] == '"') {
        const char* close = strchr(target + 1, '"');
        if (!close || close - target > end || !Find(target + 1, static_cast<int>(close - target - 1))) return 0;
        *rest = close + 1;
        return 1;
    }
    // The longest leading path that names a program, ending at a blank (or
    // at the end) before the arguments' place.
    for (int at = end; at > 0; --at) {
        if ((target[at] == ' ' || target[at] == '\0') && Find(target, at)) {
            *rest = target + at;
            return 1;
        }
    }
    return 0;
}

int AliasCommand::Compose(const char* target, const char* words, int wordsAside) {
    const char* mark = strstr(target, "%s");
    const char* rest = nullptr;
    if (!mark || !Split(target, static_cast<int>(mark - target), &rest)) return 0;
    char programName[kPathBytes];
    if (!ToWtf8(programName, program)) return 0;
    size_t length = strlen(programName);
    int batch = EndsWithFolded(programName, static_cast<int>(length), ".bat", 4) ||
                EndsWithFolded(programName, static_cast<int>(length), ".cmd", 4);
    // cmd.exe reads a batch file's whole command line: no quoting keeps
    // "&" or "%" in words from starting a command of their own.
    if (batch && wordsAside) words = "";
    if (batch && HasShellMetacharacters(words)) return 0;
    char arguments[kPathBytes];
    if (PutWords(arguments, sizeof arguments, rest, words) < 0) return 0;
    return FormatText(line, sizeof line, "\"%s\"%s", programName, arguments) >= 0;
}

int AliasCommand::Make(const char* target, const char* words) {
    return Compose(target, words, 0);
}

int AliasCommand::MakeSource(const char* target, const char* words) {
    return Compose(target, words, 1);
}

int AliasCommand::MakeLine(const char* commandLine) {
    const char* rest = nullptr;
    char programName[kPathBytes];
    return Split(commandLine, static_cast<int>(strlen(commandLine)), &rest) && ToWtf8(programName, program) &&
           FormatText(line, sizeof line, "\"%s\"%s", programName, rest) >= 0;
}
