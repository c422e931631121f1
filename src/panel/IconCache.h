#pragma once

#include <windows.h>

#include "window/ComApartment.h"

// The small icons of the answers on the screen ([ui] icons=1), kept by
// path until the next rebuild, at most kSlots of them: the one used longest
// ago is destroyed to make room. A file's own icon (a shortcut's target's),
// the shell's for a document; the generic one for anything else: a value,
// an address, a file that is gone or whose icon cannot be read, and any path
// off a fixed local drive (a network, removable or unknown drive is never
// touched, so that no keystroke waits on it).
class IconCache {
public:
    static constexpr int kSlots = 64;
    // The icons' size at 96 DPI.
    static constexpr int kIconSize = 16;

    IconCache();
    virtual ~IconCache();

    // The icon for the path (null: the generic one); owned by the cache.
    HICON For(const char* path);
    // Destroys every icon: the catalogue is rebuilt, or the cache goes.
    void Clear();

protected:
    // Where a path lies: 1 for a fixed local drive. A test's own may say
    // otherwise.
    virtual int IsLocal(const wchar_t* path);
    // The shell's small icon of a local path; null when it has none.
    virtual HICON Load(const wchar_t* path);

private:
    struct Slot {
        unsigned long long key;  // the path's hash; 0 for an empty slot
        HICON icon;              // null: the generic one, found before
        unsigned int used;       // when last asked for, by a counter
    };
    HICON Generic();

    Slot slots[kSlots];
    unsigned int clock;
    HICON generic;  // shared by the system: never destroyed
    ComApartment com;
};
