#pragma once

#include <windows.h>

// The strip's timers, by id, and the times they keep: one place to see what
// runs when (LauncherWindow holds them as its own).
struct StripTimers {
    // Animation: timer 1 slides the strip, timer 2 grows it, both every
    // kTimerPeriodMs; a slide's pause lasts kPauseTicks of them.
    static constexpr UINT_PTR kSlideTimer = 1;
    static constexpr UINT_PTR kGrowTimer = 2;
    static constexpr UINT kTimerPeriodMs = 10;
    static constexpr int kPauseTicks = 50;
    // Timer 3 rebuilds the catalogue once a burst of changes in the watched
    // folders has been quiet this long; however often the folders change, no
    // later than kMaxRebuildWaitMs after the first change it waits for.
    static constexpr UINT_PTR kRebuildTimer = 3;
    static constexpr UINT kRebuildDelayMs = 2000;
    static constexpr DWORD kMaxRebuildWaitMs = 10000;
    // Timer 4 lists a typed folder in slices between the messages, each of
    // about kListingSliceMs, so that no message waits long for one.
    static constexpr UINT_PTR kListingTimer = 4;
    static constexpr unsigned int kListingSliceMs = 10;
    // With watch=1, timer 5 looks at kwivo.ini once a second while its
    // folder reports changes (all the time where it cannot), so that a saved
    // file applies within about two.
    static constexpr UINT_PTR kSettingsTimer = 5;
    static constexpr UINT kSettingsPollMs = 1000;
    // Timer 6 ends a system command's question ([misc] system=1) unanswered.
    static constexpr UINT_PTR kQuestionTimer = 6;
    // Timer 7 ends a script source that runs longer than kSourceTimeoutMs,
    // and the read and processes of a stopped one once the queue is idle;
    // timer 8 starts one once the typing has paused kSourceDelayMs.
    static constexpr UINT_PTR kSourceTimer = 7;
    static constexpr UINT kSourceTimeoutMs = 3000;
    static constexpr UINT_PTR kSourceStartTimer = 8;
    static constexpr UINT kSourceDelayMs = 100;
};
