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
    int Running() const { return pipe && !stopped; }
    // Whether a start is due (the caller's timer will make it); Start and
    // Stop end the wait.
    void Await(int due) { awaited = due; }
    int Awaited() const { return awaited; }
    // Ends the run: nothing more is read or waited on, and the output read
    // stays. The read is cancelled and the processes ended now, or at
    // Finish when later: the system may take a millisecond over them,
    // which a keystroke need not wait for.
    void Stop(int later = 0);
    // Does what a Stop left for later; 1 when there was something.
    int Finish();
    // Forgets the output (its memory goes at once, or at Finish when a
    // stop left a read to cancel), stopping a run that goes on.
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
    int reading;    // a read is under way
    int awaited;
    int stopped;    // by a Stop that left the rest for Finish
    int forgotten;  // the output's memory goes at Finish
};
