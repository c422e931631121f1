#pragma once

#include <windows.h>

#include "text/PathText.h"
#include "text/Wtf8.h"

// kwivo.ini as editors save it, so that a saved file is applied while Kwivo
// runs and a file caught half-way is not. Polled about once a second while a
// change is under way (always, where its folder cannot tell of changes): a
// file is read once it has changed since it was last taken and then stayed
// the same from one poll to the next, and only while it is whole.
//
// A kwivo.ini that is a link is the file it points to: that file's folder
// is watched and that file stamped. The stamp is the last write time and
// the size, and for a file written in the last seconds a digest of its
// bytes, so that a same-size save within the two seconds of a FAT32 time is
// still seen. The bytes last taken are kept, so that a rebuild can read
// them while the file is not whole.
//
//   if (watch.Poll() && watch.Hold()) { <read it>; if (watch.Release()) <apply> }
class SettingsWatch {
public:
    explicit SettingsWatch(const char* path);
    virtual ~SettingsWatch();

    // The file as it is now is the one in force (start-up, before it is
    // read).
    void Take();
    // Asks the file's folder to tell of changes to its files: the handle is
    // signalled then, and Rearm waits for the next. 0 where the folder
    // cannot (the file is then polled all the time).
    int Notify();
    HANDLE Handle() const { return change; }
    void Rearm();
    void Stop();
    // The poll under way, told of by the folder: its first arming stands,
    // however many changes of other files follow.
    int Polling() const { return polling; }
    void SetPolling(int on) { polling = on; }
    // 1 when the file has changed since it was taken, has stayed the same
    // since the previous poll, and is not empty. A file that is not there
    // changes nothing: the settings in force stay until a new one appears.
    int Poll();
    // A change seen by the last poll and not yet taken: polls go on.
    int Pending() const { return seen.present && !SameStamp(seen, taken); }
    // 1 when the file is whole now: there, a file and not a folder, not empty
    // (an editor that rewrites a file empties it first), not an odd number of
    // bytes in UTF-16, and open for writing nowhere.
    int IsWhole();
    // Keeps writers out while the whole file is read (readers may still open
    // it, and it may still be deleted); 0 when it is not whole.
    int Hold();
    // Ends the hold: 1 when the file read is still the one at the path, which
    // is then the one taken; 0 when it went or another took its place, which
    // the next polls then read.
    int Release();

    // How long the file has not been whole, by the calls of IsWhole since
    // it last was (0 while it is).
    DWORD NotWholeFor() const;
    // The bytes of the file last taken, written to a file of their own in
    // the temporary folder (path), for a reader while the file is not
    // whole; the caller deletes it. 0 when none were kept.
    int WriteTaken(wchar_t (&path)[kPathSize]) const;
    // The most kept of the file taken; a larger one waits to be whole.
    static constexpr unsigned int kMaxKeptBytes = 1024 * 1024;
    // How long after its last write a file's bytes are compared (in 100 ns
    // units): a FAT32 time step of two seconds, and a margin for a clock
    // that the file system rounds.
    static constexpr unsigned long long kSameTimeWindow = 10ULL * 10000000ULL;

private:
    struct Stamp {
        int present;
        FILETIME written;
        DWORD sizeHigh;
        DWORD sizeLow;
        unsigned long long digest;  // of the bytes; 0 where they could not be read
    };
    static int SameStamp(const Stamp& a, const Stamp& b);
    // The stamp of an open file, its bytes read from the start; with keep,
    // the bytes are kept as the ones taken.
    int StampOf(HANDLE file, Stamp* stamp, int keep);
    Stamp Now();
    // The file held (or INVALID_HANDLE_VALUE) and its stamp; 0 when it is not
    // whole.
    int Open(HANDLE* file, Stamp* stamp);

    WidePath path;  // empty when the name does not fit: never there
    Stamp taken;
    Stamp seen;  // at the previous poll
    HANDLE held;
    Stamp heldStamp;
    HANDLE change;  // or INVALID_HANDLE_VALUE
    int polling;
    int notWhole;  // at the last IsWhole, since notWholeSince (tick count)
    DWORD notWholeSince;
    // The bytes of the file taken (or held, until it is taken).
    char* kept;
    size_t keptLength;
    char* heldBytes;
    size_t heldLength;
};
