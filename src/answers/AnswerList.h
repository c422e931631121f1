#pragma once

#include "answers/Answer.h"
#include "answers/FolderListing.h"
#include "answers/NameAnswers.h"
#include "answers/OpenWindows.h"
#include "answers/SourceOutput.h"
#include "text/PathText.h"

class Catalogue;

// The typed text's answers in the one order that Down and Up, the results
// list and a screen reader walk: the catalogue's names (NameAnswers), the
// entries of a typed folder in the file system's order, or the single answer
// of an expression or of an alias with words, the open windows by their
// titles, or the lines a script source printed. Set at each keystroke; what
// lies beyond the first answer is found only when asked (the count computed
// once for the text). Holds no window.
class AnswerList {
public:
    AnswerList();
    virtual ~AnswerList();

    // Forgets the text's answers: the text changed, or the catalogue was
    // rebuilt (the answers point into it).
    void Clear();
    // Catalogue names for the text (kept, not copied: it must outlive the
    // answers); the pick, when given, leads them; shown is the answer on
    // display, null when the list is to find the first itself.
    void ForNames(Catalogue* catalogue, const char* text, int length, CatalogueEntry* pick,
                  CatalogueEntry* shown);
    // The names of the folder that the typed path's first folderLength
    // bytes name, which begin with the rest of the path.
    void ForFolder(FolderListing* listing, const char* path, int folderLength);
    // A single answer: a value, an alias's target.
    void ForOne(const Answer& only);
    // The open windows whose titles hold the words (OpenWindows).
    void ForWindows(const char* words);
    // The window a kWindow answer names; null when it has gone.
    HWND WindowOf(const Answer& answer);
    // The lines of a script source's output, as many as it printed so far
    // (kept, not copied); none is current until Go or Step.
    void ForSource(const SourceOutput* output);
    // The target of a kSourceLine answer; 0 when it has none.
    int TargetOf(const Answer& answer, char (&target)[kPathBytes]) const;

    // How many answers; 0 for none, or for a folder whose listing is not
    // yet whole.
    int Count();
    // The current answer's place, from 1; 0 for none.
    int Place();
    // The index-th answer (-1: the last); a folder entry's name lasts until
    // the next call. 0 when there is none.
    int At(int index, Answer* out);
    // The answer after (or before) the current one, round past the ends,
    // which becomes current. 0 when there is none.
    int Step(int forward, Answer* out);
    // Makes the index-th answer current; 0 when there is none.
    int Go(int index, Answer* out);
    // What a row of the results list or a screen reader says of an answer:
    // its name, and where it leads (the folder of a file, an alias's own
    // target, the typed folder of a folder entry; nothing for a value).
    void Describe(const Answer& answer, char (&name)[kPathBytes], char (&leads)[kPathBytes]) const;
    // The file an answer names, for its icon: an entry's path, a folder
    // entry's full path, a source line's target; 0 for a value or a target
    // with words.
    int PathOf(const Answer& answer, char (&path)[kPathBytes]) const;

private:
    static constexpr int kNone = 0;
    static constexpr int kNames = 1;
    static constexpr int kFolder = 2;
    static constexpr int kOne = 3;
    static constexpr int kWindows = 4;
    static constexpr int kSource = 5;

    // A source whose current answer is kept here by its index (the
    // catalogue's names keep their own place).
    int Indexed() const { return source == kFolder || source == kWindows || source == kSource; }

    int source;
    const char* text;
    int length;
    NameAnswers names;
    FolderListing* listing;
    OpenWindows windows;
    const SourceOutput* lines;
    int current;  // for the folder and the single answer
    int count;    // -1 until computed
    Answer one;
    char found[kPathBytes];  // a name the file system's search gave
};
