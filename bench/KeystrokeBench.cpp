// Prints what one keystroke of completion costs: over a catalogue of 100000
// entries, and inside a folder of 100000 files, from the folder's listing
// and with the file system search of every keystroke that the listing
// replaces. Run under Wine or Windows: keystroke_bench folder; the folder's
// files are made by scripts/bench.sh.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/LauncherWindow.h"
#include "answers/RunningProgram.h"
#include "catalogue/SettingsPages.h"
#include "PerformanceClock.h"
#include "ShownKeystroke.h"

namespace {

const int kEntries = 100000;
const int kRounds = 20;

// The i-th of the catalogue's files, spread over folders as installs are.
void ToolPath(char (&path)[MAX_PATH], int i) {
    snprintf(path, sizeof path, "C:\\Program Files\\Vendor %03d\\Product %03d\\bin\\tool%07d.exe", i % 997,
             i % 113, i);
}

// Best of kRounds, in milliseconds, of the launcher completing the text.
double TimeCompletion(LauncherWindow& launcher, const std::string& text) {
    double best = 1e9;
    for (int i = 0; i < kRounds; ++i) {
        launcher.input.Clear();
        launcher.input.PutText(text.c_str());
        double start = Now();
        launcher.UpdateCompletion();
        double ms = (Now() - start) * 1e3;
        if (ms < best) best = ms;
    }
    return best;
}

// The search that every keystroke made before the listing: all the names
// that the pattern gives, as a typed text that matches none asks for.
double TimeSearch(const std::string& pattern) {
    double best = 1e9;
    for (int i = 0; i < kRounds / 4; ++i) {
        double start = Now();
        WIN32_FIND_DATAA item;
        HANDLE find = FindFirstFileA(pattern.c_str(), &item);
        if (find != INVALID_HANDLE_VALUE) {
            while (FindNextFileA(find, &item)) {
            }
            FindClose(find);
        }
        double ms = (Now() - start) * 1e3;
        if (ms < best) best = ms;
    }
    return best;
}

// Best of kRounds of a whole keystroke as the user sees it (ShownKeystrokeMs).
double TimeShownKeystroke(LauncherWindow& launcher, const char* text = "zzz", char key = 'z') {
    double best = 1e9;
    for (int i = 0; i < kRounds; ++i) {
        double ms = ShownKeystrokeMs(launcher, text, key);
        if (ms < best) best = ms;
    }
    return best;
}

// Microseconds of one value-change event when no screen reader listens.
double TimeEvent(HWND window) {
    const int calls = 100000;
    double start = Now();
    for (int i = 0; i < calls; ++i) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    return (Now() - start) * 1e6 / calls;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: keystroke_bench folder\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "\\";
    LauncherWindow launcher(GetModuleHandleA(nullptr));
    char path[MAX_PATH];
    for (int i = 0; i < kEntries; ++i) {
        ToolPath(path, i);
        launcher.catalogue.Add(path);
    }
    // Texts that match nothing: every name is compared.
    double catalogueMs = TimeCompletion(launcher, "zzzz");
    // With the calculator on and an alias that takes words, added last as
    // the build adds aliases: for a text that is neither (with a blank, which
    // looks for an alias), and for a calculation of 200 characters.
    double blankMs = TimeCompletion(launcher, "zz zz");
    launcher.options.calc = 1;
    launcher.catalogue.AddAlias("g", "https://duckduckgo.com/?q=%s");
    double calcMissMs = TimeCompletion(launcher, "zz zz");
    std::string expression = "=";
    for (int i = 0; expression.size() < 190; ++i) expression += "(12.5*" + std::to_string(i) + ")+";
    while (expression.size() < 200) expression += "1";
    double calcMs = TimeCompletion(launcher, expression);
    launcher.options.calc = 0;
    // The pages of Windows Settings ([misc] settingspages=1) in the same
    // catalogue, for the same text that matches nothing, in a copy of it.
    LauncherWindow pages(GetModuleHandleA(nullptr));
    for (int i = 0; i < kEntries; ++i) {
        ToolPath(path, i);
        pages.catalogue.Add(path);
    }
    double withoutPagesMs = TimeCompletion(pages, "zzzz");
    AddSettingsPages(pages.catalogue);
    double pagesMs = TimeCompletion(pages, "zzzz");

    // Every option on: the same files after a name that only a word matches
    // (met last), a thousand accented shortcut names, 512 remembered picks.
    LauncherWindow all(GetModuleHandleA(nullptr));
    all.options.rememberPicks = all.options.words = all.options.accents = 1;
    all.catalogue.words = 1;
    all.catalogue.fold = &all.textFold;
    all.catalogue.Add("C:\\Program Files\\Code\\Visual Studio Code.exe");
    for (int i = 0; i < kEntries; ++i) {
        ToolPath(path, i);
        all.catalogue.Add(path);
        if (i % 100 == 0) {
            char name[64];
            snprintf(name, sizeof name, "Caf\xC3\xA9 Outil %d", i);
            all.catalogue.AddName(path, name, CatalogueEntry::kName);
        }
        if (i % 200 == 0) {
            char typed[32];
            snprintf(typed, sizeof typed, "pick%d", i);
            all.picks.Remember(typed, static_cast<int>(strlen(typed)), path);
        }
    }
    double allMissMs = TimeCompletion(all, "zzzz");
    double allAccentMs = TimeCompletion(all, "zz\xC3\xA9");
    double allWordMs = TimeCompletion(all, "studio");
    double allInitialsMs = TimeCompletion(all, "vsc");

    // The keystroke that enters the folder is the search (best of a few
    // fresh starts, as the search's own figure is); the listing then goes
    // on in slices, as its timer takes it between the messages.
    double firstMs = 1e9;
    for (int i = 0; i < kRounds / 4; ++i) {
        launcher.folderListing.Clear();
        launcher.input.Clear();
        launcher.input.PutText((folder + "zzzz").c_str());
        double start = Now();
        launcher.UpdateCompletion();
        double ms = (Now() - start) * 1e3;
        if (ms < firstMs) firstMs = ms;
    }
    double longestSliceMs = 0;
    int slices = 0;
    for (int more = 1; more; ++slices) {
        double begin = Now();
        more = launcher.folderListing.Continue(LauncherWindow::kListingSliceMs);
        double ms = (Now() - begin) * 1e3;
        if (ms > longestSliceMs) longestSliceMs = ms;
    }
    double listedMs = TimeCompletion(launcher, folder + "zzzz");
    FolderMatch match;
    int names = 0;
    while (launcher.folderListing.Find("", names, &match)) ++names;
    double searchMs = TimeSearch(folder + "zzzz*.*");

    // The same keystroke shown in a window: in the system font, then in the
    // desktop's message font ([ui] font=*).
    launcher.style = WS_POPUP;
    launcher.exStyle = WS_EX_TOOLWINDOW;
    launcher.Create("KwivoBenchStrip", "kwivo", SW_SHOWNOACTIVATE);
    launcher.width = LauncherWindow::kMaxStripWidth;
    launcher.height = LauncherWindow::kStripHeight;
    MoveWindow(launcher.hwnd, 0, 0, launcher.width, launcher.height, TRUE);
    double shownMs = TimeShownKeystroke(launcher);
    // A text with ten answers, without and with a list of five rows.
    double shownMatchMs = TimeShownKeystroke(launcher, "tool00001", '2');
    launcher.options.listRows = 5;
    double shownListMs = TimeShownKeystroke(launcher, "tool00001", '2');
    launcher.options.listRows = 0;
    // Down over a text that every name answers: the first step gathers and
    // orders the 100000 answers once; each step after it only moves.
    launcher.input.Clear();
    launcher.input.PutText("t");
    launcher.UpdateCompletion();
    double downStart = Now();
    launcher.answers.Count();
    double gatherMs = (Now() - downStart) * 1e3;
    downStart = Now();
    launcher.StepCompletion(1);
    double firstDownMs = (Now() - downStart) * 1e3;
    const int steps = 1000;
    downStart = Now();
    for (int i = 0; i < steps; ++i) launcher.StepCompletion(i % 3 != 0);
    double downUs = (Now() - downStart) * 1e6 / steps;
    int answered = launcher.answers.Count();
    launcher.stripFont.Parse("*");
    launcher.font = launcher.stripFont.Create(ScreenChoice::kBaseDpi, 20);
    double shownFontMs = TimeShownKeystroke(launcher);
    double eventUs = TimeEvent(launcher.hwnd);

    // switch=1: the look for a running program at Enter, among 200 visible
    // top-level windows of this desktop (none of them runs the file).
    for (int i = 0; i < 200; ++i) {
        CreateWindowA("STATIC", "kwivo bench window", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                      nullptr);
    }
    double switchMs = 1e9;
    for (int i = 0; i < kRounds / 4; ++i) {
        RunningProgram running;
        double begin = Now();
        running.FindWindowOf("C:\\windows\\system32\\notepad.exe");
        double ms = (Now() - begin) * 1e3;
        if (ms < switchMs) switchMs = ms;
    }
    // windows=1: a keystroke after "<" looks at the same windows' titles.
    launcher.options.windows = 1;
    double windowsMs = TimeCompletion(launcher, "<report budget");

    printf("Keystroke over %d catalogue entries: %.3f ms\n", kEntries, catalogueMs);
    printf("With the %d pages of Windows Settings: %.3f ms (%.3f ms without them, %.2fx)\n", kSettingsPageCount,
           pagesMs, withoutPagesMs, pagesMs / withoutPagesMs);
    printf("With calc=1 and a %%s alias: %.3f ms for a text with a blank that is neither (%.2fx the same text "
           "without them); a calculation of %d characters %.4f ms\n",
           calcMissMs, calcMissMs / blankMs, static_cast<int>(expression.size()), calcMs);
    printf("Shown in the strip (completion, event and paint): %.3f ms in the system font, %.3f ms with font=* "
           "(%.2fx); a value-change event that no reader hears: %.2f us\n",
           shownMs, shownFontMs, shownFontMs / shownMs, eventUs);
    printf("A keystroke with ten answers shown: %.3f ms; with a list of 5 rows (list=5) %.3f ms (%.2fx)\n",
           shownMatchMs, shownListMs, shownListMs / shownMatchMs);
    printf("Down over %d answers: gathering and ordering them, once for the text, %.2f ms; the first step "
           "%.2f ms, each after it %.1f us\n",
           answered, gatherMs, firstDownMs, downUs);
    printf("A keystroke after \"<\" with windows=1 among the same windows: %.3f ms\n", windowsMs);
    printf("Enter with switch=1 among 200 more top-level windows: %.3f ms to look for a running program\n",
           switchMs);
    printf("With words, accents, names and %d picks on: a miss %.3f ms (%.2fx), a miss typed with an accent "
           "%.3f ms (%.2fx), a word met last %.3f ms (%.2fx), initials met last %.3f ms (%.2fx)\n",
           all.picks.Count(), allMissMs, allMissMs / catalogueMs, allAccentMs, allAccentMs / catalogueMs, allWordMs,
           allWordMs / catalogueMs, allInitialsMs, allInitialsMs / catalogueMs);
    printf("Keystroke in a folder of %d names: %.3f ms from the listing (%.2fx the catalogue's); the first "
           "keystroke %.1f ms (the search, %.2fx); the listing in %d slices, the longest %.1f ms\n",
           names, listedMs, listedMs / catalogueMs, firstMs, firstMs / searchMs, slices, longestSliceMs);
    printf("The file system search of every keystroke before the listing: %.1f ms (%.0fx the "
           "listing's)\n",
           searchMs, searchMs / listedMs);
    return 0;
}
