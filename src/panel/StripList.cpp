// The results list below the strip ([ui] list=N): its place on the screen,
// its keys and clicks.
#include "app/LauncherWindow.h"

RECT LauncherWindow::WorkArea() const {
    RECT area = ScreenRect();
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTOPRIMARY), &monitor)) area = monitor.rcWork;
    return area;
}

void LauncherWindow::ArrangeList() {
    const int stripHeight = Scaled(kStripHeight);
    const int margin = Scaled(kTextMargin);
    // The rows end a margin above the work area's bottom edge: a short
    // screen shows fewer.
    int room = WorkArea().bottom - y - stripHeight - margin;
    int listHeight = list.Arrange(answers, options.listRows, room, Scaled(ResultsList::kRowHeight));
    int wantedHeight = stripHeight + (listHeight > 0 ? listHeight + margin : 0);
    RECT strip = {0, 0, width, stripHeight};
    InvalidateRect(hwnd, &strip, TRUE);
    int resized = wantedHeight != height;
    if (resized) {
        height = wantedHeight;
        PlaceWindow();
        InvalidateRect(hwnd, nullptr, TRUE);  // the frame's bottom edge moved
    }
    list.Invalidate(hwnd, stripHeight, width, resized);
}

int LauncherWindow::ActOnAnswer(int index) {
    Answer chosen;
    if (index < 0 || !answers.Go(index, &chosen)) return 0;
    Show(chosen);
    Execute();
    ShowChanges();
    return 1;
}

int LauncherWindow::OnSystemChar(unsigned int code) {
    // Alt+1 to Alt+9: the answer on that row, as Enter would take it.
    if (!options.listRows || infoVisible || code < '1' || code > '9') return 0;
    ActOnAnswer(list.AnswerOnRow(static_cast<int>(code - '1')));
    return 1;
}

void LauncherWindow::OnClick(int, int clickY) {
    if (!options.listRows || infoVisible) return;
    ActOnAnswer(list.AnswerAt(clickY - Scaled(kStripHeight)));
}

int LauncherWindow::ListRows() {
    return options.listRows && !infoVisible ? list.Shown() : 0;
}

int LauncherWindow::ListCurrent() {
    return ListRows() > 0 ? list.CurrentRow() : -1;
}

unsigned int LauncherWindow::ListDigest() {
    return ListRows() > 0 ? list.Digest() : 0;
}

int LauncherWindow::ListRow(int row, char (&name)[kPathBytes], char (&leads)[kPathBytes], RECT* where) {
    Answer answer;
    if (ListRows() == 0 || row >= ListRows() || (row >= 0 && !answers.At(list.AnswerOnRow(row), &answer))) return 0;
    if (row >= 0) answers.Describe(answer, name, leads);
    if (!where) return 1;
    // On the screen: the rows below the strip, the list all of them.
    *where = row < 0 ? list.RowsRect(0, ListRows(), Scaled(kStripHeight), width)
                     : list.RowsRect(row, 1, Scaled(kStripHeight), width);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(where), 2);
    return 1;
}
