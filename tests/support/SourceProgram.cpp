// A script source for the tests: records how it was started, in UTF-8, to
// the file that KWIVO_RECORD names ("start <pid> <argument count>
// <first argument as CommandLineToArgvW reads it><TAB><KWIVO_WORDS>"),
// prints the bytes of the file that KWIVO_SOURCE_OUTPUT names (recording
// "written <performance counter>" as the first write begins), then does what
// KWIVO_SOURCE_THEN says: "wait" a minute; "child" start a copy of itself
// that waits (and inherits the output) and end; "flood" print 100 MB;
// "fail" end at once with an error; "stdin" read its standard input to its
// end and print how many bytes it held.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace {

void Record(const char* line) {
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KWIVO_RECORD", path, MAX_PATH)) return;
    FILE* f = _wfopen(path, L"ab");
    if (!f) return;
    fputs(line, f);
    fclose(f);
}

void Utf8(char* out, int size, const wchar_t* text) {
    if (!WideCharToMultiByte(CP_UTF8, 0, text, -1, out, size, nullptr, nullptr)) out[0] = '\0';
}

void Print(HANDLE out) {
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KWIVO_SOURCE_OUTPUT", path, MAX_PATH)) return;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    static char bytes[1 << 16];
    DWORD n;
    LARGE_INTEGER first = {};
    while (ReadFile(file, bytes, sizeof bytes, &n, nullptr) && n > 0) {
        if (!first.QuadPart) QueryPerformanceCounter(&first);
        DWORD written;
        if (!WriteFile(out, bytes, n, &written, nullptr)) break;
    }
    CloseHandle(file);
    char line[64];
    snprintf(line, sizeof line, "written %lld\n", first.QuadPart);
    Record(line);
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    static wchar_t words[32768];
    if (!GetEnvironmentVariableW(L"KWIVO_WORDS", words, 32768)) lstrcpyW(words, L"(none)");
    static char first[4 * 32768];
    static char words8[4 * 32768];
    Utf8(first, sizeof first, count > 1 ? arguments[1] : L"");
    Utf8(words8, sizeof words8, words);
    static char line[sizeof first + sizeof words8 + 64];
    snprintf(line, sizeof line, "start %lu %d %s\t%s\n", GetCurrentProcessId(), count - 1, first, words8);
    Record(line);

    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    Print(out);
    wchar_t then[16] = L"";
    GetEnvironmentVariableW(L"KWIVO_SOURCE_THEN", then, 16);
    if (!lstrcmpW(then, L"wait")) Sleep(60000);
    if (!lstrcmpW(then, L"fail")) return 3;
    if (!lstrcmpW(then, L"stdin")) {
        char bytes[256];
        DWORD n = 0;
        unsigned long total = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), bytes, sizeof bytes, &n, nullptr) && n > 0) total += n;
        char read[64];
        int length = snprintf(read, sizeof read, "stdin held %lu bytes\n", total);
        DWORD written;
        WriteFile(out, read, static_cast<DWORD>(length), &written, nullptr);
    }
    if (!lstrcmpW(then, L"flood")) {
        static char lines[1 << 16];
        for (size_t i = 0; i < sizeof lines; ++i) lines[i] = i % 8 == 7 ? '\n' : 'f';
        DWORD written;
        for (int i = 0; i < 1600; ++i) {
            if (!WriteFile(out, lines, sizeof lines, &written, nullptr)) break;
        }
    }
    if (!lstrcmpW(then, L"child")) {
        // The copy inherits the output's handle, so it holds the pipe open
        // after this one ends.
        SetEnvironmentVariableW(L"KWIVO_SOURCE_THEN", L"wait");
        SetEnvironmentVariableW(L"KWIVO_SOURCE_OUTPUT", nullptr);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        PROCESS_INFORMATION process;
        wchar_t commandLine[MAX_PATH + 8];
        swprintf(commandLine, MAX_PATH + 8, L"\"%ls\"", self);
        if (CreateProcessW(self, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            char started[64];
            snprintf(started, sizeof started, "child %lu\n", process.dwProcessId);
            Record(started);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    return 0;
}
