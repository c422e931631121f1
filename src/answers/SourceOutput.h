#pragma once

#include "text/PathText.h"

// What a script source printed, as its answers: UTF-8 lines
// "title<TAB>target" or "title<TAB>target<TAB>where it leads"; a line without
// a tab is its own target. At most kMaxBytes and kMaxLines are taken; a
// longer output is cut at its last whole line. The bytes are kept as they
// came and made valid (an invalid byte or a NUL as U+FFFD) only when a field
// is asked for. Holds memory only from the first bytes to Clear. Plain C++,
// so it also builds natively.
class SourceOutput {
public:
    static constexpr int kMaxBytes = 64 * 1024;
    static constexpr int kMaxLines = 500;
    static constexpr int kTitle = 0;
    static constexpr int kTarget = 1;
    static constexpr int kLeads = 2;

    SourceOutput();
    virtual ~SourceOutput();

    // Where the next bytes read go, and how many fit (*room); null when the
    // output is full (or no memory is to be had): nothing more is read.
    char* Space(int* room);
    // That many bytes were written to Space: its whole lines are answers.
    void Wrote(int bytes);
    // The output ended: a last line without its line break is one too,
    // unless the output was cut.
    void End();
    // 1 once kMaxBytes or kMaxLines were reached.
    int Full() const;
    int Count() const { return lines; }
    // A field of the index-th answer, valid UTF-8 in out: a title or where
    // it leads cut to fit at a character's start; a target that does not
    // fit is none. 0 for none (where it leads, when the line gives none).
    int Field(int index, int field, char (&out)[kPathBytes]) const;
    // Forgets the output and frees its memory.
    void Clear();
    // Forgets the answers and takes no more bytes, keeping the memory (a
    // read may still write to it) until Clear.
    void Forget();

private:
    // Takes the line of raw[from, to) as an answer when it has a target.
    void TakeLine(int from, int to);

    char* raw;     // kMaxBytes, then the lines' starts and ends
    int* bounds;   // two per answer: its start and end in raw
    int used;      // bytes in raw
    int parsed;    // bytes of raw that whole lines took
    int lines;
    int ended;
};
