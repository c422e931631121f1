#pragma once

#include <windows.h>

#include "answers/SourceOutput.h"

// One run of a script source: the command line started with the words
// (AliasCommand; a batch file gets them only in KWIVO_WORDS, which every
// source gets), without a window, its standard input empty, its output read
// through a pipe while the message loop goes on: the loop waits on Handles
// beside its own and calls Signalled. The program and every process it
// starts belong to a job, so that Stop ends them all. Nothing is held
// between runs but the output read, until Clear.
class SourceRun {
public:
    SourceRun();
    virtual ~SourceRun();

    // Starts the source's command line with the words (WTF-8) in place of
    // its "%s"; 1 when it runs, 0 when it cannot be started (nothing then
    // runs).
    int Start(const char* command, const char* words);
    // What the loop waits on while the source runs: the read's event and,
    // until it ends, the program; their count, 0 when none runs.
    int Handles(HANDLE (&out)[2]) const;
    // The which-th of Handles was signalled: the bytes that came are read
    // and the next read begun, or the program's end makes an end of the
    // processes it left. 1 while the source still runs.
    int Signalled(int which);
    int Running() const { return pipe != nullptr; }
    // Ends the run: the processes, the read; the output read stays.
    void Stop();
    // Stops, and forgets the output.
    void Clear();

    SourceOutput output;

private:
    // Begins the next read; 0 when the output ended or is full (then
    // stopped).
    int Read();

    HANDLE job;
    HANDLE process;
    HANDLE pipe;  // the read end, overlapped
    OVERLAPPED overlapped;
    int reading;  // a read is under way
};
