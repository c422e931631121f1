#include "answers/SystemCommands.h"

#include <shellapi.h>

#include <cstring>

#include "catalogue/SystemNames.h"
#include "text/TextFormat.h"
#include "window/SystemCall.h"

namespace {

// advapi32 and powrprof are looked up when a command needs them, so that
// kwivo.exe imports neither.
typedef BOOL(WINAPI* LookupPrivilegeCall)(const wchar_t*, const wchar_t*, LUID*);
typedef BOOL(WINAPI* AdjustPrivilegesCall)(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD*);
typedef BOOLEAN(WINAPI* SuspendCall)(BOOLEAN, BOOLEAN, BOOLEAN);

const DWORD kPlannedReason = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

// Restart and shut down need the shutdown privilege turned on in this
// process's token; 1 when it is.
int HoldShutdownPrivilege() {
    LookupPrivilegeCall lookup = FindSystemCall<LookupPrivilegeCall>(L"advapi32.dll", "LookupPrivilegeValueW");
    AdjustPrivilegesCall adjust = FindSystemCall<AdjustPrivilegesCall>(L"advapi32.dll", "AdjustTokenPrivileges");
    HANDLE token = nullptr;
    if (!lookup || !adjust || !OpenProcessTokenOf(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return 0;
    }
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Adjusting reports success also when the privilege was not there to
    // turn on: the last error tells.
    int held = lookup(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
               adjust(token, FALSE, &privileges, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return held;
}

}  // namespace

SystemCommands::SystemCommands() : window(nullptr), pending(-1), askedAt(0) {}

SystemCommands::~SystemCommands() {}

int SystemCommands::Find(const char* address) {
    for (int i = 0; i < kSystemNameCount; ++i) {
        if (strcmp(address, kSystemNames[i].address) == 0) return i;
    }
    return -1;
}

int SystemCommands::Enter(int command, DWORD now, char (&said)[64]) {
    said[0] = '\0';
    if (command < 0 || command >= kSystemNameCount) return 0;
    const char* name = kSystemNames[command].name;
    int confirmed = pending == command && now - askedAt <= kConfirmMs;
    if (kSystemNames[command].asksFirst && !confirmed) {
        pending = command;
        askedAt = now;
        FormatText(said, sizeof said, "%s? Enter again", name);
        return 0;
    }
    pending = -1;
    if (Carry(command, window)) return 1;
    FormatText(said, sizeof said, "%s: refused by Windows", name);
    return 0;
}

int SystemCommands::Carry(int command, HWND owner) {
    switch (command) {
    case kLock:
        return LockWorkStation() != 0;
    case kSleep: {
        SuspendCall suspend = FindSystemCall<SuspendCall>(L"powrprof.dll", "SetSuspendState");
        return suspend && suspend(FALSE, FALSE, FALSE);
    }
    case kSignOut:
        return ExitWindowsEx(EWX_LOGOFF, kPlannedReason) != 0;
    case kRestart:
        return HoldShutdownPrivilege() && ExitWindowsEx(EWX_REBOOT, kPlannedReason) != 0;
    case kShutDown:
        return HoldShutdownPrivilege() && ExitWindowsEx(EWX_POWEROFF, kPlannedReason) != 0;
    case kEmptyBin: {
        // Asked already, so Windows does not ask again. A bin that was
        // empty answers E_UNEXPECTED: no failure, nothing was there.
        HRESULT result = SHEmptyRecycleBinW(owner, nullptr, SHERB_NOCONFIRMATION);
        return SUCCEEDED(result) || result == E_UNEXPECTED;
    }
    default:
        return 0;
    }
}
