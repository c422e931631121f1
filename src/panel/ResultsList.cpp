#include "panel/ResultsList.h"

#include <cstring>
#include <cwchar>

#include "text/Hash.h"
#include "text/Wtf8.h"

ResultsList::ResultsList() : shown(0), top(0), current(0), rowHeight(kRowHeight) {
    memset(arranged, 0, sizeof arranged);
    memset(drawn, 0, sizeof drawn);
}

ResultsList::~ResultsList() {}

unsigned int ResultsList::RowDigest(AnswerList& answers, int index, int isCurrent) const {
    Answer answer;
    char name[kPathBytes];
    char leads[kPathBytes];
    if (!answers.At(index, &answer)) return 0;
    answers.Describe(answer, name, leads);
    unsigned long long hash = HashBytes(kHashStart, name, strlen(name) + 1);
    hash = HashBytes(hash, leads, strlen(leads));
    hash = HashStep(hash, static_cast<unsigned char>(isCurrent + 1));
    return HashFold32(hash) | 1;  // never 0, which is an empty row
}

int ResultsList::Arrange(AnswerList& answers, int wanted, int room, int height) {
    rowHeight = height > 0 ? height : kRowHeight;
    int fit = room / rowHeight;
    int rows = wanted < fit ? wanted : fit;
    if (rows < 0) rows = 0;
    current = answers.Place() - 1;
    if (current < 0) current = 0;
    // The first row moves only as far as the current answer needs: down to
    // show it on the last row, up to show it on the first.
    if (current >= top + rows) top = current - rows + 1;
    if (current < top) top = current;
    if (top < 0 || rows == 0) top = 0;
    shown = 0;
    for (int row = 0; row < rows; ++row) {
        arranged[row] = RowDigest(answers, top + row, top + row == current);
        if (arranged[row] == 0) break;
        ++shown;
    }
    // From the top, when the answers ran out before the rows did (the text
    // changed under a scrolled list).
    if (shown == 0 && top > 0) {
        top = 0;
        return Arrange(answers, wanted, room, height);
    }
    for (int row = shown; row < kMaxRows; ++row) arranged[row] = 0;
    return shown * rowHeight;
}

unsigned int ResultsList::Digest() const {
    if (shown == 0) return 0;
    return HashFold32(HashBytes(kHashStart, arranged, sizeof arranged)) | 1;
}

int ResultsList::AnswerAt(int y) const {
    if (y < 0 || rowHeight <= 0) return -1;
    return AnswerOnRow(y / rowHeight);
}

void ResultsList::Invalidate(HWND window, int listTop, int width, int all) {
    for (int row = 0; row < kMaxRows; ++row) {
        if (!all && arranged[row] == drawn[row]) continue;
        drawn[row] = arranged[row];
        RECT r = RowsRect(row, 1, listTop, width);
        InvalidateRect(window, &r, TRUE);
    }
}

void ResultsList::Paint(HDC dc, const RECT& area, AnswerList& answers, COLORREF dim, COLORREF mark, IconCache* icons,
                        int iconSize) {
    // Each text as the strip draws it: one line, shaped as it reads, no
    // prefix characters; cut at the list's edge.
    const UINT format = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    const int gap = rowHeight / 2;
    for (int row = 0; row < shown; ++row) {
        RECT r = {area.left, area.top + row * rowHeight, area.right, area.top + (row + 1) * rowHeight};
        if (r.top >= area.bottom) break;
        if (!RectVisible(dc, &r)) continue;
        Answer answer;
        char name[kPathBytes];
        char leads[kPathBytes];
        if (!answers.At(top + row, &answer)) break;
        answers.Describe(answer, name, leads);
        RECT text = r;
        if (icons) {
            char path[kPathBytes];
            HICON icon = icons->For(answers.PathOf(answer, path) ? path : nullptr);
            DrawIconEx(dc, r.left, r.top + (rowHeight - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
            text.left += iconSize + gap / 2;
        }
        wchar_t wideName[kPathSize];
        wchar_t wideLeads[kPathSize];
        int nameUnits = ToUtf16(wideName, name) ? static_cast<int>(wcslen(wideName)) : 0;
        COLORREF previous = GetTextColor(dc);
        if (top + row == current) SetTextColor(dc, mark);
        DrawTextW(dc, wideName, nameUnits, &text, format | DT_END_ELLIPSIS);
        SetTextColor(dc, previous);
        if (!leads[0] || !ToUtf16(wideLeads, leads)) continue;
        // Where it leads, after the name, as much as the row has room for.
        RECT nameBox = text;
        DrawTextW(dc, wideName, nameUnits, &nameBox, format | DT_CALCRECT);
        RECT where = text;
        where.left = nameBox.right + gap;
        if (where.left >= where.right) continue;
        SetTextColor(dc, dim);
        DrawTextW(dc, wideLeads, -1, &where, format | DT_PATH_ELLIPSIS);
        SetTextColor(dc, previous);
    }
}
