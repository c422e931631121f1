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

// True inside Wine, where Z: is the Unix root and Unix programs can be run.
inline bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Starts a Unix shell command from a Windows process (Wine only). Wine gives
// no exit code for a Unix process, so callers wait for the command's effect.
inline bool RunUnix(const std::string& command) {
    std::string line = "/bin/sh -c \"" + command + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

// The Unix form of a Z: path under Wine.
inline std::string UnixPath(std::string path) {
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// Removes a folder tree without following links to folders.
inline void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &item);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = item.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            bool link = (item.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link) {
                RemoveTree(path);
            } else if (!DeleteFileA(path.c_str())) {
                RemoveDirectoryA(path.c_str());
            }
        } while (FindNextFileA(find, &item));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

// A fresh folder for one test, removed with what it holds. Under Wine it lies
// in the Unix /tmp, reached through Z:.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        char base[MAX_PATH];
        if (UnderWine()) {
            snprintf(base, sizeof base, "Z:\\tmp\\");
        } else {
            GetTempPathA(sizeof base, base);
        }
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%skwivo-test-%lu-%d", base, GetCurrentProcessId(), ++counter);
        path_ = name;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        if (UnderWine()) {
            RunUnix("rm -rf '" + UnixPath(path_) + "'");
        } else {
            RemoveTree(path_);
        }
    }
    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "\\" + name; }
    std::string File(const std::string& name) const { return File(name.c_str()); }

private:
    std::string path_;
};

// Makes a folder the current directory, where ".\" names point, for the
// object's lifetime.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& folder) {
        GetCurrentDirectoryA(sizeof previous_, previous_);
        changed_ = SetCurrentDirectoryA(folder.c_str()) != 0;
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(previous_); }
    bool Changed() const { return changed_; }

private:
    char previous_[MAX_PATH];
    bool changed_;
};

inline void WriteTextFile(const std::string& path, const char* text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fputs(text, f);
    fclose(f);
}

// Every byte of the text, NULs too (a UTF-16 file).
inline void WriteTextFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadTextFile(const std::string& path) {
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return text;
    int c;
    while ((c = fgetc(f)) != EOF) text += static_cast<char>(c);
    fclose(f);
    return text;
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// How many names in the folder match the pattern ("*.tmp": copies a write
// left behind).
inline int CountFiles(const std::string& folder, const char* pattern) {
    WIN32_FIND_DATAA item;
    HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &item);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileA(find, &item));
    FindClose(find);
    return count;
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

// Waits for a message box with this caption to be shown with its text;
// null when none comes.
inline HWND WaitForMessageBox(const char* caption, std::string* text) {
    HWND box = nullptr;
    WaitFor([&] {
        box = FindMessageBox(caption);
        if (!box || !IsWindowVisible(box)) return false;
        *text = MessageBoxText(box);
        return !text->empty();
    });
    return text->empty() ? nullptr : box;
}

inline void PressOk(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace test
