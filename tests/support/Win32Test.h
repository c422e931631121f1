#pragma once

// Helpers for tests that run under Windows (or Wine): temporary folders,
// waiting for windows, and answering message boxes.

#include <windows.h>

#include <cstdio>
#include <string>

namespace test {

// Polls until done() holds or timeoutMs pass; the machine may be busy, so
// tests wait for what they check instead of sleeping a fixed time.
template <typename Done>
bool WaitFor(Done done, DWORD timeoutMs = 20000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

// Handles the thread's pending messages without blocking.
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A fresh folder under the temporary folder, removed with what it holds.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%skwivo-test-%lu-%d", base, GetCurrentProcessId(), ++counter);
        path_ = name;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAA item;
        std::string pattern = path_ + "\\*";
        HANDLE find = FindFirstFileA(pattern.c_str(), &item);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA(File(item.cFileName).c_str());
            } while (FindNextFileA(find, &item));
            FindClose(find);
        }
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

inline void WriteTextFile(const std::string& path, const char* text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fputs(text, f);
    fclose(f);
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The message box (dialog class "#32770") with this caption, or null.
inline HWND FindMessageBox(const char* caption) {
    return FindWindowA("#32770", caption);
}

// The message box's text: its first static control that holds any.
inline std::string MessageBoxText(HWND box) {
    for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
         child = FindWindowExA(box, child, "Static", nullptr)) {
        char text[256];
        if (GetWindowTextA(child, text, sizeof text) > 0) return text;
    }
    return std::string();
}

inline void PressOk(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace test
