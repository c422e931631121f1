#pragma once

#include "catalogue/Catalogue.h"

// The name the shell shows for a shortcut file of a folder ([misc] names=1).
class ShownName {
public:
    // The most of a desktop.ini that is read: a larger one is no folder's
    // own list of names, and is passed over.
    static constexpr long kMaxDesktopIniBytes = 64 * 1024;

    // For the files of one folder: its desktop.ini is looked at once. With
    // packageStrings (COM has been started) a packaged app's "@{...}"
    // string is resolved too.
    ShownName(const char* folder, int packageStrings);
    virtual ~ShownName();

    // The folder's desktop.ini [LocalizedFileNames] value for the file, a
    // plain text or an indirect string ("@file,-id" of a file on a fixed
    // drive of this computer, read as data); else the file name without its
    // extension. 0 when the name is no usable name (empty, too long, a
    // control character).
    int Of(char (&out)[Catalogue::kMaxNameBytes + 1], const char* fileName);

private:
    // The localized name, when the folder's desktop.ini gives one.
    int Localized(char (&out)[Catalogue::kMaxNameBytes + 1], const char* fileName);

    const char* folder;
    int desktopIni;  // 0 not looked at yet, 1 readable, -1 none
    int packageStringsOn;
};
