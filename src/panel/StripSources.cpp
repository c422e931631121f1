// Script sources ([sources]): the name, a blank and words run the source's
// program, and what it prints becomes the answers as it comes.
#include <cstring>

#include "app/LauncherWindow.h"
#include "text/TextFormat.h"

int LauncherWindow::RunSource() {
    const char* words = nullptr;
    if (!sources.Find(input.text, &words)) return 0;
    // Started once the typing pauses: a program per key typed would only be
    // ended by the next, each start costing the key its time.
    answers.ForSource(&sourceRun.output);
    sourceRun.Await(1);
    SetTimer(hwnd, kSourceStartTimer, kSourceDelayMs, nullptr);
    return 1;
}

void LauncherWindow::StartSource() {
    KillTimer(hwnd, kSourceStartTimer);
    const char* words = nullptr;
    const char* command = sources.Find(input.text, &words);
    if (!command) return;
    if (!sourceRun.Start(command, words)) {
        // Named as written, up to the words' place.
        const char* mark = strstr(command, "%s");
        while (mark > command && mark[-1] == ' ') --mark;
        char said[kPathBytes];
        FormatText(said, sizeof said, "can't start %.*s", static_cast<int>(mark - command), command);
        SetApart(said);
        ShowChanges();
        return;
    }
    if (sourceRun.Running()) {
        SetTimer(hwnd, kSourceTimer, kSourceTimeoutMs, nullptr);
    } else {
        ShowSourceAnswers();  // it ended at once
    }
}

void LauncherWindow::OnSourceSignalled(int which) {
    if (!sourceRun.Signalled(which)) KillTimer(hwnd, kSourceTimer);
    ShowSourceAnswers();
}

void LauncherWindow::ShowSourceAnswers() {
    // The first answer once there is one; the one on display stays while
    // more come.
    Answer first;
    if (!completion && answers.Go(0, &first)) Show(first);
    ShowChanges();
}

void LauncherWindow::SourceTimedOut() {
    StopSource();
    // The answers read so far stay for Down, Up and the list; none is on
    // display, so that Enter never acts on what the strip does not show.
    answers.ForSource(&sourceRun.output);
    current = Answer();
    SetApart("source timed out");
    ShowChanges();
}

void LauncherWindow::StopSource() {
    // A keystroke makes no call of the system's for a source that neither
    // runs nor waits to start.
    if (sourceRun.Awaited()) {
        KillTimer(hwnd, kSourceStartTimer);
        sourceRun.Await(0);
    }
    if (!sourceRun.Running()) return;
    // Its read and processes end once the key is done and shown: timer 7,
    // its time limit until now, comes as soon as the queue is idle.
    sourceRun.Stop(1);
    SetTimer(hwnd, kSourceTimer, 0, nullptr);
}
