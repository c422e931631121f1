#include "panel/Painting.h"

#include <windows.h>
#include <psapi.h>

#include <cstring>

#include "app/LauncherWindow.h"
#include "panel/TypedText.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"

namespace {

// Where the typed text starts after the prompt.
const int kPromptWidth = 10;

// Selects a brush for the object's lifetime and puts the previous one back.
class ScopedSelectBrush {
public:
    ScopedSelectBrush(HDC dc, HBRUSH brush) : dc_(dc), previous_(SelectObject(dc, brush)) {}
    ~ScopedSelectBrush() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

const char kInfoFormat[] =
    "Kwivo v1.0r3\n"
    " Type the start of a name; Tab takes the rest, Enter starts it.\n"
    "\n"
    " ALT-SPACE\tShow/Hide Kwivo (Go on! Try it now...)\n"
    " / \t\tShow/Hide this information\n"
    " /m\t\t[My Documents]\n"
    " /w\t\tKwivo on the web\n"
    " /r\t\tRescan folders\n"
    " /q\t\tQuit\n"
    "\n"
    " Files:\t%d\tRuns:\t%d\tMemory:\t%dK";

}  // namespace

int FormatInfoText(char (&text)[1024], int files, int runs, int memoryKB) {
    int n = FormatText(text, sizeof text, kInfoFormat, files, runs, memoryKB);
    // A cut text is shown as far as it goes.
    return n >= 0 ? n : static_cast<int>(strlen(text));
}

int GetWorkingSetKB() {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                 GetCurrentProcessId());
    if (!process) return 0;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    int kb = 0;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        kb = static_cast<int>(counters.WorkingSetSize / 1024);
    }
    CloseHandle(process);
    return kb;
}

void LauncherWindow::OnPaint(HDC dc) {
    RECT r;
    GetClientRect(hwnd, &r);
    ScopedSelectBrush brush(dc, background);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);

    const int margin = Scaled(kTextMargin);
    InflateRect(&r, -margin, -margin);
    const int innerLeft = r.left;
    const int iconSize = Scaled(IconCache::kIconSize);
    if (options.icons) {
        // The current answer's icon before the prompt; its place kept when
        // there is none, so that the text never moves.
        char path[kPathBytes];
        const char* file = current.kind == Answer::kFolderEntry ? completionPath
                           : answers.PathOf(current, path) ? path
                                                           : nullptr;
        if (completion) {
            DrawIconEx(dc, innerLeft, (Scaled(kStripHeight) - iconSize) / 2, icons.For(file), iconSize, iconSize, 0,
                       nullptr, DI_NORMAL);
        }
        r.left += iconSize + margin;
    }
    DrawTextW(dc, L">", 1, &r, DT_NOPREFIX);
    r.left += Scaled(kPromptWidth);
    wchar_t typed[InputLine::kMaxLength + 1];
    int typedUnits = Utf16FromWtf8(typed, InputLine::kMaxLength + 1, input.text);
    if (typedUnits < 0) typedUnits = 0;
    wchar_t rest[kPathSize];
    DrawTypedText(dc, r, typed, typedUnits, completion && ToUtf16(rest, completion) ? rest : nullptr,
                  completionColour);

    if (!infoVisible && list.Shown()) {
        // The rows below the strip's line, parted from it by a rule.
        RECT rows = {innerLeft, Scaled(kStripHeight), r.right, r.bottom};
        MoveToEx(dc, innerLeft, rows.top - 1, nullptr);
        LineTo(dc, rows.right, rows.top - 1);
        COLORREF dim = RGB((GetRValue(textColour) + GetRValue(backColour)) / 2,
                           (GetGValue(textColour) + GetGValue(backColour)) / 2,
                           (GetBValue(textColour) + GetBValue(backColour)) / 2);
        list.Paint(dc, rows, answers, dim, completionColour, options.icons ? &icons : nullptr, iconSize);
    }
    if (infoVisible) {
        SetTextColor(dc, RGB(0, 0, 0));
        SIZE letter;
        GetTextExtentPoint32W(dc, L"A", 1, &letter);
        const int lineHeight = letter.cy;
        r.top += lineHeight;
        r.left = innerLeft;
        // The box's top edge runs through the middle of the banner line.
        Rectangle(dc, r.left, r.top + lineHeight / 2, r.right, r.bottom);
        r.left += margin;
        r.right -= margin;
        r.bottom -= margin;
        char text[1024];
        wchar_t wide[1024];
        FormatInfoText(text, catalogue.Count(), runs, GetWorkingSetKB());
        DrawTextW(dc, wide, ToUtf16(wide, text) ? -1 : 0, &r, DT_EXPANDTABS);
    }
}
