#pragma once

#include <windows.h>

#include "text/PathText.h"

// The items of the shell's Applications folder, where packaged apps live
// ([misc] names=1). COM and the shell's item interfaces are loaded at run
// time, on the first listing only, so that a launcher without names pays
// nothing and imports no more. Tests give a list of their own through the
// virtual operations.
class AppSource {
public:
    AppSource();
    // Releases the folder, and COM once it was started here.
    virtual ~AppSource();

    // Starts COM on this thread once, apartment-threaded, as the shell's
    // objects want; 1 when it runs.
    int StartShell();
    // Starts a listing: 0 when the system has no Applications folder (Wine
    // has none), and then Next gives nothing.
    virtual int Begin();
    // The next item's display name and parsing name (an app's ID), WTF-8:
    // 0 at the end, or when the listing fails (what came before stays given).
    virtual int Next(char (&name)[kPathBytes], char (&parsingName)[kPathBytes]);
    virtual void End();

private:
    struct Shell;
    Shell* shell;  // the loaded calls and the listing under way; null before the first
};
