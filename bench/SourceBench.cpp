// Prints what a script source costs: the time from a keystroke, and from
// the program's output being written, to its 200 answers shown; and a
// keystroke that types a source's words, or that ends a source that runs,
// against one without. Run under Wine or
// Windows: source_bench sourceprogram.exe folder (the test's source program;
// the folder takes its output and record files).

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/LauncherWindow.h"
#include "PerformanceClock.h"
#include "ShownKeystroke.h"

namespace {

const int kRuns = 15;

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// The performance counter's reading that the program recorded once its
// output was written; 0 when there is none.
double WrittenAt(const std::string& record) {
    FILE* f = fopen(record.c_str(), "rb");
    if (!f) return 0;
    char line[256];
    long long counter = 0;
    while (fgets(line, sizeof line, f)) sscanf(line, "written %lld", &counter);
    fclose(f);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter) / static_cast<double>(frequency.QuadPart);
}

// The launcher's wait, as its message loop waits, until the source's
// answers reached count or it ended; the time they reached it (0 when they
// never did).
double LoopUntilShown(LauncherWindow& launcher, int count) {
    double shown = 0;
    while (!shown && launcher.sourceRun.Running()) {
        const HANDLE* handles = nullptr;
        DWORD n = static_cast<DWORD>(launcher.GetWaitHandles(&handles));
        DWORD woken = MsgWaitForMultipleObjectsEx(n, handles, 5000, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken >= WAIT_OBJECT_0 + n) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            continue;
        }
        launcher.OnHandleSignalled(static_cast<int>(woken - WAIT_OBJECT_0));
        if (!shown && launcher.answers.Count() >= count && launcher.completion) shown = Now();
    }
    return shown;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Best of kRuns, in milliseconds, of the key that takes text to text and
// key, after the strip showed the text before and ran what it runs (its
// source, until it printed all, when it has one).
double TimeKeystroke(LauncherWindow& launcher, const char* before, const char* text = "zzz", char key = 'z') {
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        launcher.input.Clear();
        launcher.input.PutText(before);
        launcher.UpdateCompletion();
        const char* words = nullptr;
        if (launcher.sources.Find(before, &words)) {
            launcher.StartSource();
            LoopUntilShown(launcher, 200);
        }
        launcher.ShowChanges();
        UpdateWindow(launcher.hwnd);
        double ms = ShownKeystrokeMs(launcher, text, key);
        if (ms < best) best = ms;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: source_bench sourceprogram.exe folder\n");
        return 2;
    }
    const std::string folder = argv[2];
    const std::string output = folder + "\\source-output.txt";
    const std::string record = folder + "\\source-record.txt";
    SetEnvironmentVariableA("KWIVO_SOURCE_OUTPUT", output.c_str());
    SetEnvironmentVariableA("KWIVO_RECORD", record.c_str());
    std::string lines;
    for (int i = 0; i < 200; ++i) {
        char line[160];
        snprintf(line, sizeof line, "Answer number %d\tC:\\Program Files\\Vendor\\tool%d.exe\tthe tool %d\r\n", i, i,
                 i);
        lines += line;
    }
    WriteBytes(output, lines);

    LauncherWindow launcher(GetModuleHandleA(nullptr));
    for (int i = 0; i < 10000; ++i) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "C:\\Program Files\\Vendor %03d\\tool%05d.exe", i % 97, i);
        launcher.catalogue.Add(path);
    }
    launcher.Create("KwivoSourceBench", "kwivo", SW_SHOWNOACTIVATE);
    launcher.width = LauncherWindow::kMaxStripWidth;
    launcher.height = LauncherWindow::kStripHeight;

    // A keystroke without any source, then with [sources] written.
    double without = TimeKeystroke(launcher, "zzy");
    std::string section = "s=\"" + std::string(argv[1]) + "\" %s";
    section.append(2, '\0');
    launcher.sources.Take(section.data());
    double written = TimeKeystroke(launcher, "zzy");

    // A key that makes the text a source's: its program starts later.
    double arming = TimeKeystroke(launcher, "zzy", "s answe", 'r');

    // A keystroke that ends a source that runs (it printed, and waits a
    // minute), against the same keystroke after a text of names. Without a
    // list, whose rows coming and going resize the window for milliseconds.
    SetEnvironmentVariableA("KWIVO_SOURCE_THEN", "wait");
    double whileRunning = TimeKeystroke(launcher, "s waiting");
    double stillWithout = TimeKeystroke(launcher, "tool0");
    launcher.StopSource();
    SetEnvironmentVariableA("KWIVO_SOURCE_THEN", nullptr);

    // 200 lines at once, shown in a list of 5 rows: from the start of the program (the pause after the
    // last key, kSourceDelayMs, aside), and from its output being written,
    // to the answers shown.
    std::vector<double> fromStart;
    std::vector<double> fromOutput;
    std::vector<double> starts;
    launcher.options.listRows = 5;
    for (int i = 0; i < kRuns; ++i) {
        DeleteFileA(record.c_str());
        launcher.input.Clear();
        launcher.input.PutText("s answer");
        launcher.UpdateCompletion();
        double start = Now();
        launcher.StartSource();
        starts.push_back((Now() - start) * 1e3);
        double shown = LoopUntilShown(launcher, 200);
        double at = WrittenAt(record);
        if (!shown || !at) {
            fprintf(stderr, "run %d: no answers shown (%d)\n", i, launcher.answers.Count());
            continue;
        }
        fromStart.push_back((shown - start) * 1e3);
        fromOutput.push_back((shown - at) * 1e3);
    }

    printf("A keystroke over %d names: %.3f ms; with [sources] written %.3f ms (%.2fx); one that types a "
           "source's words %.3f ms (%.2fx)\n",
           launcher.catalogue.Count(), without, written, written / without, arming, arming / without);
    printf("A source printing 200 lines at once (median of %zu runs): shown %.1f ms after the key, %u ms of pause "
           "and %.1f ms from its start (the program's own start included; starting it took the loop %.1f ms), "
           "%.2f ms after its output was written (best %.2f ms, worst %.2f ms)\n",
           fromOutput.size(), LauncherWindow::kSourceDelayMs + Median(fromStart), LauncherWindow::kSourceDelayMs,
           Median(fromStart), Median(starts), Median(fromOutput),
           fromOutput.empty() ? 0 : *std::min_element(fromOutput.begin(), fromOutput.end()),
           fromOutput.empty() ? 0 : *std::max_element(fromOutput.begin(), fromOutput.end()));
    printf("A keystroke that ends a source that runs, with its job: %.3f ms (%.2fx the same keystroke after a text "
           "of names, %.3f ms)\n",
           whileRunning, whileRunning / stillWithout, stillWithout);
    return 0;
}
