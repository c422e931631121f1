#pragma once

#include <windows.h>

// Carries out the system's own commands ([misc] system=1: Lock, Sleep,
// Sign out, Restart, Shut down, Empty Recycle Bin), numbered as
// kSystemNames lists them. Those that lose work or data ask first: the
// first Enter only asks, and a second one within kConfirmMs acts; any other
// key, the strip hidden or the time out cancels the question.
class SystemCommands {
public:
    static constexpr DWORD kConfirmMs = 3000;
    static constexpr int kLock = 0;
    static constexpr int kSleep = 1;
    static constexpr int kSignOut = 2;
    static constexpr int kRestart = 3;
    static constexpr int kShutDown = 4;
    static constexpr int kEmptyBin = 5;

    SystemCommands();
    virtual ~SystemCommands();

    // The command that a catalogue entry's path names; -1 for none.
    static int Find(const char* address);
    // Enter on the command at tick now: 1 when it was carried out; 0 when
    // it asked first or Windows refused it, said then holding what the
    // strip tells after the text.
    int Enter(int command, DWORD now, char (&said)[64]);
    // 1 while a question waits for its second Enter.
    int Asking() const { return pending >= 0; }
    void Cancel() { pending = -1; }

    // The window that owns the Recycle Bin's progress.
    HWND window;

protected:
    // Carries the command out for the window; 1 when Windows took it. A
    // test's own records instead.
    virtual int Carry(int command, HWND window);

private:
    int pending;  // the command asked about; -1 for none
    DWORD askedAt;
};
