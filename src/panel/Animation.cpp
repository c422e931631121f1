#include "app/LauncherWindow.h"

// The timers that move and grow the strip arrive with the animation; until
// then a slide or a grow only records where it is headed.

void LauncherWindow::StartSlide(int target, unsigned short flags, int pauseX) {
    slideTarget = target;
    slideFlags = flags;
    slidePause = pauseX;
}

void LauncherWindow::ShowInfo(int show) {
    // The view is painted from the start of an expansion and until the end
    // of a collapse.
    if (show) infoVisible = 1;
}
