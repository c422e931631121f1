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

int AliasCommand::Make(const char* target, const char* words) {
    program[0] = 0;
    line[0] = '\0';
    const char* mark = strstr(target, "%s");
    if (!mark) return 0;
    int before = static_cast<int>(mark - target);
    const char* rest = nullptr;
    if (target[0] == '"') {
        const char* close = strchr(target + 1, '"');
        if (!close || close > mark || !Find(target + 1, static_cast<int>(close - target - 1))) return 0;
        rest = close + 1;
    } else {
        // The longest leading path that names a program, ending at a blank
        // before the words' place.
        for (int end = before; end > 0 && !rest; --end) {
            if (target[end] == ' ' && Find(target, end)) rest = target + end;
        }
        if (!rest) return 0;
    }
    char programName[kPathBytes];
    if (!ToWtf8(programName, program)) return 0;
    size_t length = strlen(programName);
    int batch = EndsWithFolded(programName, static_cast<int>(length), ".bat", 4) ||
                EndsWithFolded(programName, static_cast<int>(length), ".cmd", 4);
    // cmd.exe reads a batch file's whole command line: no quoting keeps
    // "&" or "%" in words from starting a command of their own.
    if (batch && HasShellMetacharacters(words)) return 0;
    char arguments[kPathBytes];
    if (PutWords(arguments, sizeof arguments, rest, words) < 0) return 0;
    return FormatText(line, sizeof line, "\"%s\"%s", programName, arguments) >= 0;
}
