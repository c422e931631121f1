#include <climits>

#include "app/LauncherWindow.h"

RECT LauncherWindow::ScreenRect() const {
    return options.screenChoice == ScreenChoice::kPrimary ? ScreenChoice::PrimaryRect() : screen;
}

int LauncherWindow::CentreX() const {
    // A screen that has become narrower than the strip since start-up puts
    // the strip at the left edge rather than beyond it.
    RECT r = ScreenRect();
    int centre = r.left + (r.right - r.left - width) / 2;
    return centre < r.left ? r.left : centre;
}

void LauncherWindow::ChooseScreen() {
    if (started && options.screenChoice == ScreenChoice::kPrimary && !options.dpiScale) return;
    MeasureScreen();
}

void LauncherWindow::MeasureScreen() {
    int monitorDpi = ScreenChoice::kBaseDpi;
    screen = screens->Choose(options.screenChoice, &monitorDpi);
    SetDpi(options.dpiScale ? monitorDpi : ScreenChoice::kBaseDpi);
    int screenWidth = screen.right - screen.left;
    int maxWidth = Scaled(kMaxStripWidth);
    width = screenWidth < maxWidth ? screenWidth : maxWidth;
    y = screen.top + (screen.bottom - screen.top - Scaled(kStripHeight)) / 2;
}

void LauncherWindow::PlaceWindow() {
    // A view grown beyond the screen's bottom edge (a short monitor at a
    // high DPI) moves up as far as needed, and is cut at the bottom edge
    // when even the whole height is not enough.
    RECT r = ScreenRect();
    int top = y + height > r.bottom ? r.bottom - height : y;
    if (top < r.top) top = r.top;
    int shown = top + height > r.bottom ? r.bottom - top : height;
    MoveWindow(hwnd, x, top, width, shown, TRUE);
}

void LauncherWindow::SetDpi(int newDpi) {
    int changed = newDpi != dpi;
    if (changed) {
        // The strip keeps its physical size, also in the middle of a grow.
        height = MulDiv(height, newDpi, dpi);
        growTarget = MulDiv(growTarget, newDpi, dpi);
        dpi = newDpi;
    }
    // The system's font, as it always was, unless a font is set or sizes
    // follow the DPI; made anew only for another DPI.
    if ((!options.dpiScale && !stripFont.IsSet()) || (font && !changed)) return;
    if (font) DeleteObject(font);
    // The set font's line fits inside the strip's margins.
    font = stripFont.IsSet() ? stripFont.Create(dpi, Scaled(kStripHeight - 2 * kTextMargin))
                             : ScreenChoice::CreateFontFor(dpi);
}

void LauncherWindow::OnHotKey() {
    if (runs < INT_MAX) ++runs;
    int showing = !IsWindowVisible(hwnd);
    if (showing) ChooseScreen();
    if (slideSpeed != 0) {
        if (!showing) {
            // Whether at rest or still sliding in: on to the right.
            Dismiss(1);
            return;
        }
        x = ScreenRect().left - width;
        PlaceWindow();
        ShowWindow(hwnd, SW_SHOW);
        // A reader is told of the focus only when the strip has it.
        if (SetForegroundWindow(hwnd)) accessible.Focused(hwnd);
        StartSlide(CentreX(), 0, 0);
        return;
    }
    // Without sliding the strip is shown and hidden in place, and keeps what
    // was typed; only another screen or DPI moves the place.
    if (showing && (options.screenChoice != ScreenChoice::kPrimary || options.dpiScale)) x = CentreX();
    PlaceWindow();
    if (!showing) {
        ShowWindow(hwnd, SW_HIDE);
        CancelQuestion();       // nothing is carried out unseen
        StopSource();
        folderListing.Clear();  // the folder may change before the next showing
        ResumeRebuild();        // hidden, the strip is not in use
    } else {
        ShowWindow(hwnd, SW_SHOW);
        // A reader is told of the focus only when the strip has it.
        if (SetForegroundWindow(hwnd)) accessible.Focused(hwnd);
    }
}

void LauncherWindow::StartSlide(int target, unsigned short flags, int pauseX) {
    slideTarget = target;
    slideFlags = flags;
    slidePause = pauseX;
    SetTimer(hwnd, kSlideTimer, kTimerPeriodMs, nullptr);
}

void LauncherWindow::StartGrow(int target, unsigned short flags) {
    growTarget = target;
    growFlags = flags;
    SetTimer(hwnd, kGrowTimer, kTimerPeriodMs, nullptr);
}

void LauncherWindow::EndGrow() {
    height = growTarget;
    KillTimer(hwnd, kGrowTimer);
    if (growFlags & kGrowHideInfo) {
        infoVisible = 0;
        if (options.listRows) ArrangeList();  // the rows the help gave way to
    }
}

void LauncherWindow::OnTimer(UINT_PTR id) {
    if (id == kSourceTimer) {
        KillTimer(hwnd, id);
        if (sourceRun.Running()) {
            SourceTimedOut();
        } else {
            sourceRun.Finish();  // what a stop left
        }
        return;
    }
    if (id == kSourceStartTimer) {
        StartSource();
        return;
    }
    if (id == kQuestionTimer) {
        KillTimer(hwnd, id);
        if (CancelQuestion()) ShowChanges();
        return;
    }
    if (id == kSlideTimer) {
        if (pauseTicks != 0) {
            // The pause's last tick clears the pause position, so that the
            // next tick moves on instead of pausing again.
            if (--pauseTicks == 0) slidePause = 0;
            return;
        }
        // A speed set to 0 while the strip slides (kwivo.ini saved) ends
        // the slide at once.
        if (x < slideTarget) x = slideSpeed != 0 ? x + Scaled(slideSpeed) : slideTarget;
        if (slidePause != 0 && x >= slidePause) {
            x = slidePause;
            pauseTicks = kPauseTicks;
        }
        if (x >= slideTarget) {
            x = slideTarget;
            KillTimer(hwnd, kSlideTimer);
            if (slideFlags & kSlideHide) ShowWindow(hwnd, SW_HIDE);
            if (slideFlags & kSlideEmptyInput) input.Clear();
            ResumeRebuild();  // one that waited out the start-up banner
        }
    } else if (id == kGrowTimer) {
        if (height < growTarget) {
            height += Scaled(growSpeed);
            if (height >= growTarget) EndGrow();
        } else if (height > growTarget) {
            // Shrinking goes in steps of the target height, not growSpeed.
            height -= growTarget;
            if (height <= growTarget) EndGrow();
        } else {
            // Already there (a collapse asked for before the expansion's
            // first tick): end, so that the timer stops and the view goes.
            EndGrow();
        }
    } else {
        if (id == kRebuildTimer) RebuildWhenIdle();
        if (id == kSettingsTimer) PollSettings();
        if (id == kListingTimer && !folderListing.Continue(kListingSliceMs)) KillTimer(hwnd, kListingTimer);
        return;  // no move
    }
    PlaceWindow();
}

void LauncherWindow::ShowInfo(int show) {
    if (show) {
        StartGrow(Scaled(kExpandedHeight), 0);
        infoVisible = 1;  // painted while the strip grows
    } else {
        StartGrow(Scaled(kStripHeight), kGrowHideInfo);  // painted until the end
    }
}

void LauncherWindow::Dismiss(int animate) {
    CancelQuestion();
    StopSource();
    input.Clear();
    completion = nullptr;
    current = Answer();
    answers.Clear();
    sourceRun.Clear();  // nothing of a source stays with the text gone
    folderListing.Clear();
    ResumeRebuild();
    ShowChanges();
    if (!animate) return;
    if (slideSpeed != 0) {
        StartSlide(ScreenRect().right, kSlideHide, 0);
    } else {
        ShowWindow(hwnd, SW_HIDE);
    }
}
