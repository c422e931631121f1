#pragma once

#include "text/PathText.h"

class SettingsFile;

// The settings that are off unless the user writes them, read in one place,
// in the order of the guide's table. Each is on only for the value given;
// any other keeps the behaviour of a launcher without it.
struct Options {
    int screenChoice;   // [ui] monitor=primary|cursor|focus
    int dpiScale;       // [ui] dpiscale=1: sizes follow the monitor's DPI
    char font[kPathBytes];  // [ui] font=*|FACE|FACE,SIZE: the strip's font; empty: the system font
    int listRows;       // [ui] list=1..9: a results list of that many rows below the strip
    int icons;          // [ui] icons=1: the answers' icons in the strip and the list
    int rememberPicks;  // [misc] remember=1: the entry picked for a text comes first
    int watchFolders;   // [misc] watch=1: the catalogue follows changes of its folders
    int ctrlEnter;      // [misc] ctrlenter=1: Ctrl+Enter and Ctrl+Shift+Enter
    int names;          // [misc] names=1: Start Menu names and packaged apps
    int words;          // [misc] words=1: word starts and initials
    int accents;        // [misc] accents=1: letter case and accents of every letter
    int calc;           // [misc] calc=1: "=" and an expression shows its result
    int switchRunning;  // [misc] switch=1: Enter on a running program brings it forward
    int settingsPages;  // [misc] settingspages=1: the pages of Windows Settings by name
    int windows;        // [misc] windows=1: "<" and words lists the open windows by title
    int recent;         // [misc] recent=1: the documents opened lately by name
    int system;         // [misc] system=1: Lock, Sleep, Sign out, Restart, Shut down, Empty Recycle Bin

    // All off: what a missing kwivo.ini gives.
    Options();
    void Read(SettingsFile& settings);
};
