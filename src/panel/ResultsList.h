#pragma once

#include <windows.h>

#include "answers/AnswerList.h"
#include "panel/IconCache.h"

// The results list below the strip ([ui] list=N): up to N rows of the
// text's answers, each its name and, dimmer, where it leads; the current
// answer's row marked. The rows follow the current answer when Down or Up
// moves it past the last; a screen too short for them shows fewer. Each row
// is repainted only when what it shows changed.
class ResultsList {
public:
    static constexpr int kMaxRows = 9;
    // A row's height at 96 DPI: the strip's line and a little room.
    static constexpr int kRowHeight = 22;

    ResultsList();
    virtual ~ResultsList();

    // After any change of the answers or of the current one: which answers
    // the rows show (as many as there are, at most wanted, and as fit in
    // room pixels of rows rowHeight high), the first row moved just enough
    // to show the current answer. The list's height in pixels; 0 for none.
    int Arrange(AnswerList& answers, int wanted, int room, int rowHeight);
    int Shown() const { return shown; }
    // The row of the current answer; -1 when no row shows it.
    int CurrentRow() const { return current >= top && current < top + shown ? current - top : -1; }
    // What the rows show with their mark, as one number; 0 for no rows.
    unsigned int Digest() const;
    // Where rows first to first + count - 1 lie in the window, the list's
    // top at listTop.
    RECT RowsRect(int first, int count, int listTop, int width) const {
        RECT r = {0, listTop + first * rowHeight, width, listTop + (first + count) * rowHeight};
        return r;
    }
    // The place in the answers (from 0) of the answer on the row at y
    // pixels below the list's top; -1 for none.
    int AnswerAt(int y) const;
    // The answer on row n (from 0) of those shown; -1 for none.
    int AnswerOnRow(int row) const { return row >= 0 && row < shown ? top + row : -1; }
    // Marks for repainting the rows whose text or mark changed since they
    // were last drawn (all of them with all).
    void Invalidate(HWND window, int listTop, int width, int all);
    // Draws the rows inside area (the list's part of the window) that the
    // paint asks for, each row's icon first when icons are given (of
    // iconSize pixels); each row's texts cut at the area's edge.
    void Paint(HDC dc, const RECT& area, AnswerList& answers, COLORREF dim, COLORREF mark, IconCache* icons,
               int iconSize);

private:
    // What row n shows and how, as one number: its texts and whether it is
    // the current answer's.
    unsigned int RowDigest(AnswerList& answers, int index, int isCurrent) const;

    int shown;
    int top;      // the answer on the first row
    int current;  // the current answer, from 0
    int rowHeight;
    unsigned int arranged[kMaxRows];  // each row's digest now
    unsigned int drawn[kMaxRows];     // and when last marked for drawing
};
