#pragma once

#include <windows.h>

#include "answers/AnswerList.h"
#include "app/StripTimers.h"
#include "catalogue/AppSource.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FolderWatch.h"
#include "answers/FolderListing.h"
#include "panel/InputLine.h"
#include "panel/ResultsList.h"
#include "answers/Picks.h"
#include "answers/ScriptSources.h"
#include "answers/SourceRun.h"
#include "answers/SystemCommands.h"
#include "panel/ScreenChoice.h"
#include "panel/StripAccessible.h"
#include "panel/StripFont.h"
#include "settings/Options.h"
#include "settings/SettingsWatch.h"
#include "settings/StripSettings.h"
#include "text/SystemTextFold.h"
#include "window/AppWindow.h"

class SettingsFile;

// The launcher strip: one hidden, always-on-top popup window that the hot key
// slides in and out.
class LauncherWindow : public AppWindow, public StripContent, public StripTimers {
public:
    static constexpr const char* kSettingsName = "kwivo.ini";
    static constexpr const wchar_t* kHotkeyAtomName = L"Kwivo";
    // Remembered picks live beside kwivo.ini, in a file of their own.
    static constexpr const char* kPicksName = "kwivo-picks.txt";
    static constexpr int kStripHeight = 30;
    // The text's margin inside the strip's frame.
    static constexpr int kTextMargin = 5;
    static constexpr int kMaxStripWidth = 480;

    static constexpr int kExpandedHeight = 210;
    // A hot key that replaces another is registered under the other of two
    // ids (the atom's and this one) before the old one is let go.
    static constexpr int kAlternateHotkeyId = 1;

    // What the end of a slide does.
    static constexpr unsigned short kSlideHide = 1;
    static constexpr unsigned short kSlideEmptyInput = 2;
    // What the end of a grow does.
    static constexpr unsigned short kGrowHideInfo = 1;

    explicit LauncherWindow(HINSTANCE moduleInstance);
    ~LauncherWindow() override;

    // 1 when the window exists, the hot key is held and the opening animation
    // runs; 0 after a message box told the user why not.
    int Initialise(int showCommand);
    // Saves the activation count, once start-up has succeeded, and ends the
    // message loop.
    void OnDestroy() override;
    // A hot key that a key press can produce: a key code from 1 to 254 and no
    // modifier bits beyond Alt, Ctrl, Shift and the Windows key.
    static int IsUsableHotKey(int modifiers, int key);
    // Holds the combination as the hot key, letting go of the one held
    // before only once it is registered; 0, the old one kept, when it
    // cannot be held.
    int TakeHotKey(int modifiers, int key);

    // The settings read from kwivo.ini made the strip's own (at start-up and
    // when a saved file is applied).
    void TakeSettings(const StripSettings& read);
    // Timer 5: a saved kwivo.ini, once whole, read and applied.
    void PollSettings();
    // Applies settings read while Kwivo runs: colours, speeds, font, screen,
    // options (but dpiscale, which only a start can change) and the hot key
    // at once; a catalogue whose sections (by their digest) or options
    // changed is rebuilt as the watch rebuilds it.
    void ApplySettings(const StripSettings& saved, unsigned long long digest);

    // Empties the catalogue and fills it from the special folders and the
    // folders and extensions of the settings file (CatalogueBuild); with
    // watch=1 the folders it scans are watched.
    void RebuildCatalogue(SettingsFile& settings);

    // Watched folders ([misc] watch=1): the message loop waits on their
    // change notifications (a change starts the rebuild timer anew), and on
    // a running script source.
    int GetWaitHandles(const HANDLE** handles) override;
    void OnHandleSignalled(int index) override;
    // How many watched folders the wait holds beside the source's handles.
    int WaitedFolders(int sourceHandles);
    // The rebuild timer's end: rebuilds now, or once the strip is idle
    // (hidden, or without typed text and completion), never under the
    // user's hands.
    void RebuildWhenIdle();
    // Ends the wait for a rebuild: the timer and the first change's time.
    void StopRebuildTimer();
    // The strip has become idle: a rebuild that waited runs now.
    void ResumeRebuild();

    // Typing and completion.
    void OnChar(unsigned int code) override;
    void OnPasteText(const char* text) override;
    const char* GetCopyText() override;
    void UpdateCompletion();
    // Offers an answer: what the strip shows after the text.
    void Show(const Answer& answer);
    // Tab: the completion joins the text; a name matched by a word or its
    // initials replaces it.
    void AcceptCompletion();

    // Down and Up step through the matches; Ctrl+Enter and Ctrl+Shift+Enter
    // (with ctrlenter=1) open the folder of, or elevate, the entry on display.
    void OnKeyDown(int virtualKey) override;
    void StepCompletion(int forward);
    // The file on display: the completed entry's path, or the completed or
    // typed path; null when there is none.
    const char* FileOnDisplay();
    int OpenFolderOnDisplay();
    int RunOnDisplayAsAdministrator();

    // An alias whose target holds "%s", a blank and words: the target with
    // the words in place as the completion (nothing when it would not fit).
    // 0 when the text is no such alias.
    int ShowAliasWords();
    // Enter on it: the address opened, or the command line started.
    int RunAliasWords();
    // An alias whose target holds "%s" with these words in place (none when
    // the alias is chosen alone); 0 when it cannot be done (the text stays).
    int RunAlias(const CatalogueEntry& alias, const char* words);
    // Starts a command line as a new process, of the program when given,
    // else of the line's first (quoted) word; 0 when it cannot be started.
    int StartProcess(const char* commandLine, const wchar_t* program = nullptr);
    // calc=1: the value of the expression after "=" as the completion.
    void ShowResult();
    // Enter on an expression: its value to the clipboard, and the strip
    // goes; 0 when it has none (the text stays).
    int CopyResult();

    // Enter: launch, hand to the shell, or run a command.
    void Execute();
    // A system command ([misc] system=1): carried out (1, the strip goes),
    // or asked about or refused, as the strip then says after the text.
    int RunSystemCommand(int command);
    // Any other key, the strip hidden, the time up: the question goes, and
    // the answer on display shows again; 1 when there was one.
    int CancelQuestion();
    // A text of a script source's name, a blank and words: its answers to
    // come, its program started by timer 8. 0 when the text is no source's.
    int RunSource();
    // Timer 8: the program started, or the strip says why it cannot be.
    void StartSource();
    // The source's read or program was signalled: what it printed shown.
    void OnSourceSignalled(int which);
    void ShowSourceAnswers();
    // Timer 7: the source ended, and the strip says so.
    void SourceTimedOut();
    // A new keystroke, the strip hidden: the source's run ended, its read
    // and processes by timer 7.
    void StopSource();
    // A text after the typed one, set apart, in the completion's place: a
    // title, a message.
    void SetApart(const char* text);
    void RunCommand(const char* command);
    // The paths of Execute; each 1 when it did its work (the strip then goes).
    int AddFolder(const char* text, int length);
    int Launch(const CatalogueEntry& entry);
    // A script source's target: a file, a folder, an address or a command
    // line.
    int OpenTarget(const char* target);
    int OpenCompleted();
    // "/e": kwivo.ini opened for editing, created from the template first
    // when there is none; 0 when neither could be done (the text stays).
    int EditSettings();
    // 1 for an entry of a file: a scanned one, or an alias whose target is
    // catalogued or exists as a file (not an address, a folder or a name the
    // shell looks up).
    int IsFileEntry(const CatalogueEntry& entry);

    // The screen of a showing ([ui] monitor) and the DPI its sizes follow
    // ([ui] dpiscale=1); at start-up and at each hot key press that shows
    // the strip. With the defaults only start-up sets the width and y.
    void ChooseScreen();
    // The chosen screen, its DPI, and the strip's width and y on it, now.
    void MeasureScreen();
    // Where the strip shows: the primary screen as it is now, or the monitor
    // chosen for this showing.
    RECT ScreenRect() const;
    // A size given for 96 DPI, at the strip's DPI.
    int Scaled(int pixels) const { return MulDiv(pixels, dpi, ScreenChoice::kBaseDpi); }
    void SetDpi(int newDpi);
    // Moves the window to x, y at width and height, kept on the screen.
    void PlaceWindow();

    // Sliding in and out, growing and shrinking.
    void OnHotKey() override;
    void OnTimer(UINT_PTR id) override;
    void StartSlide(int target, unsigned short flags, int pauseX);
    void StartGrow(int target, unsigned short flags);
    void EndGrow();
    void ShowInfo(int show);
    void Dismiss(int animate);
    // Where the strip rests: the centre of the screen.
    int CentreX() const;

    void OnPaint(HDC dc) override;
    // The results list ([ui] list=N): the rows that show now, the strip
    // grown to hold them within the work area, and what changed repainted.
    void ArrangeList();
    RECT WorkArea() const;
    // Alt+1 to Alt+9 and a click on a row: that answer, as Enter takes it.
    int OnSystemChar(unsigned int code) override;
    void OnClick(int x, int y) override;
    // Makes the index-th answer the current one and acts on it; 0 when
    // there is none.
    int ActOnAnswer(int index);
    // What the strip shows has changed: repainted, and told to a listening
    // screen reader.
    void ShowChanges();

    // For screen readers (StripAccessible).
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam) override;
    void ShownText(char* out, int size) override;
    const char* HelpText() override;
    int IsShown() override;
    int ListRows() override;
    int ListCurrent() override;
    unsigned int ListDigest() override;
    int ListRow(int row, char (&name)[kPathBytes], char (&leads)[kPathBytes], RECT* where) override;
    // After Down or Up: the name now on display, spoken.
    void AnnounceStep(int place, int count);

    ATOM hotkeyAtom;
    int hotkeyId;    // of the hot key held, when hotkeyHeld
    int hotkeyHeld;
    int hotkeyModifiers;
    int hotkeyKey;
    InputLine input;
    Catalogue catalogue;
    // What the strip shows after the typed text: the rest of a name, or an
    // answer set apart; null for none.
    const char* completion;
    // The answer on display, kept through Tab so that Enter acts on exactly
    // it (its entry null for none).
    Answer current;
    // The text's answers, in the order Down and Up walk.
    AnswerList answers;
    // The rows below the strip, with list=N.
    ResultsList list;
    // The answers' icons on the screen, with icons=1.
    IconCache icons;
    // The user's decimal separator, for expressions.
    char decimalSeparator[8];
    // Between the typed text and a name matched by a word or its initials.
    static constexpr const char* kWordMatchSeparator = " \xC2\xBB ";
    // The names of the typed folder, while the strip shows.
    FolderListing folderListing;
    // How much of the input the user typed: the key of a remembered pick.
    int typedLength;
    char completionPath[kPathBytes];
    COLORREF completionColour;
    int infoVisible;
    int x;
    int y;
    int width;
    int height;
    int slideTarget;
    int slideSpeed;
    unsigned short slideFlags;
    unsigned short growFlags;
    int slidePause;
    int pauseTicks;
    int growTarget;
    int growSpeed;
    int runs;
    // 1 once Initialise has succeeded. Before that the count in runs may be
    // stale: a second instance whose hot key is taken loaded it while the
    // first instance kept counting.
    int started;
    // The settings that are off unless the user writes them.
    Options options;
    FolderWatch watch;
    // A rebuild that the timer asked for while the strip was in use.
    int rebuildPending;
    // A change waits for the rebuild timer, since firstChange (tick count).
    int changeWaiting;
    DWORD firstChange;
    // kwivo.ini, polled with watch=1; the digest of the sections the
    // catalogue was built from, to tell whether a saved file changed them.
    SettingsWatch settingsWatch;
    unsigned long long catalogueDigest;
    // What the message loop waits on: the watched folders, kwivo.ini's, and
    // a running source's read and program.
    HANDLE waitHandles[MAXIMUM_WAIT_OBJECTS - 1];
    int dpi;
    RECT screen;  // the monitor chosen for this showing
    ScreenChoice systemScreens;
    ScreenChoice* screens;  // systemScreens, unless a test gives its own
    Picks picks;
    // Accents aside ([misc] accents=1), by the system's own tables.
    SystemTextFold textFold;
    // The packaged apps of names=1.
    AppSource systemApps;
    AppSource* apps;  // systemApps, unless a test gives its own
    // [ui] font, made into font at each DPI.
    StripFont stripFont;
    StripAccessible accessible;
    char helpText[1024];  // the information text, as a reader is told it
    Announcer systemAnnouncer;
    Announcer* announcer;  // systemAnnouncer, unless a test gives its own
    SystemCommands systemCommands;
    SystemCommands* commands;  // systemCommands, unless a test gives its own
    // The [sources], and the run of the one typed.
    ScriptSources sources;
    SourceRun sourceRun;
};
