#pragma once

#include "text/PathText.h"

// The command line of an alias whose target holds "%s" and is no address,
// with the words typed after it: the program split from its arguments as an
// alias target is read (in quotes, or the longest leading path that names a
// file, so that C:\Program Files\X\x.exe is never C:\Program.exe), a bare
// name found on the PATH (never in Kwivo's own folder or the current one),
// and the words one argument (AliasWords). A batch file never gets words
// that cmd.exe would read as its own.
class AliasCommand {
public:
    AliasCommand();
    virtual ~AliasCommand();

    // 1 with program and line made; 0 when no program is found, the words
    // cannot reach it safely, or the result does not fit.
    int Make(const char* target, const char* words);
    // The same for a script source: a batch file gets nothing in place of
    // "%s", the words reaching it only through the environment.
    int MakeSource(const char* target, const char* words);
    // A command line that takes no words: the program found and the
    // arguments as they stand.
    int MakeLine(const char* commandLine);

    wchar_t program[kPathSize];
    // The program quoted, then the arguments.
    char line[2 * kPathBytes];

private:
    // The program of the target's first length bytes, found; 0 when none.
    int Find(const char* target, int length);
    // The program found before the target's end-th byte, and where the
    // arguments after it start; 0 when none.
    int Split(const char* target, int end, const char** rest);
    int Compose(const char* target, const char* words, int wordsAside);
};
