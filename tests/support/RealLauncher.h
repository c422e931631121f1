#pragma once

// The real kwivo.exe, which lies beside the test, started in a folder of
// the test's own.

#include <windows.h>

#include <string>

#include "support/Win32Test.h"

namespace test {

inline std::string KwivoExe() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, n);
    return self.substr(0, self.find_last_of('\\') + 1) + "kwivo.exe";
}

// kwivo.exe running in a folder of its own, where it reads and writes
// kwivo.ini.
class Launcher {
public:
    // settings, when given, is written to kwivo.ini first.
    explicit Launcher(const TempFolder& folder, const char* settings = nullptr) {
        if (settings) WriteTextFile(folder.File("kwivo.ini"), settings);
        std::string command = "\"" + KwivoExe() + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.Path().c_str(), &startup, &process_) != 0;
    }
    ~Launcher() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool Started() const { return started_; }

    // The launcher's window: class "KWIVO", title "kwivo", owned by this
    // process (not by a launcher that another test left behind), once start-up
    // has finished and the message loop runs.
    HWND Window() const {
        HWND found = nullptr;
        WaitFor([&] {
            for (HWND w = FindWindowA("KWIVO", "kwivo"); w;
                 w = FindWindowExA(nullptr, w, "KWIVO", "kwivo")) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == process_.dwProcessId) {
                    found = w;
                    return true;
                }
            }
            return false;
        });
        // A sent message is answered only when the launcher's thread takes
        // messages, which it does first in its loop.
        DWORD_PTR ignored;
        if (found && !SendMessageTimeoutA(found, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &ignored))
            return nullptr;
        return found;
    }

    // Closes the window as the user's "/q" or the system would; the exit code.
    DWORD Close(HWND window) const {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return ExitCode();
    }

    // The exit code, or 259 (STILL_ACTIVE) when it has not ended in time.
    DWORD ExitCode(DWORD timeoutMs = 20000) const {
        WaitForSingleObject(process_.hProcess, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

}  // namespace test
