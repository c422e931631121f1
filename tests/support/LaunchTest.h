#pragma once

// A launcher test's surroundings: a folder of its own that is also the
// current directory (kwivo.ini, the picks file), the recorder program that
// writes how it was started, and shell associations that lead to it.

#include <gtest/gtest.h>

#include <string>

#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace test {

// A file beside the test executable.
inline std::string Beside(const char* name) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, n);
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

// Sets a default value under HKEY_CLASSES_ROOT for the test's lifetime.
class ClassKey {
public:
    ClassKey(const std::string& key, const std::string& value) : key_(key) {
        HKEY h;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                            nullptr) == ERROR_SUCCESS) {
            DWORD size = sizeof previous_;
            hadValue_ = RegQueryValueExA(h, nullptr, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(previous_), &size) == ERROR_SUCCESS;
            RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
            RegCloseKey(h);
        }
    }
    ~ClassKey() {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
        if (hadValue_) {
            RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                           static_cast<DWORD>(strlen(previous_) + 1));
        } else {
            RegDeleteValueA(h, nullptr);
        }
        RegCloseKey(h);
    }

private:
    std::string key_;
    char previous_[1024] = "";
    bool hadValue_ = false;
};

// Each case runs in a folder of its own, which is also the current
// directory (kwivo.ini), with the recorder program at hand.
class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(inFolder_.Changed());
        record_ = folder_.File("record.txt");
        SetEnvironmentVariableA("KWIVO_RECORD", record_.c_str());
        CreateDirectoryA(folder_.File("My Tools").c_str(), nullptr);
        recorder_ = folder_.File("My Tools\\rec.exe");
        ASSERT_TRUE(CopyFileA(Beside("recorder.exe").c_str(), recorder_.c_str(), FALSE));
        ShowWindow(l_.hwnd, SW_SHOWNOACTIVATE);
    }
    // The recorded command lines, once the expected number of starts arrived.
    std::string Recorded(int lines = 1) {
        std::string text;
        test::WaitFor([&] {
            text = test::ReadTextFile(record_);
            int n = 0;
            for (char c : text) n += c == '\n';
            return n >= lines;
        });
        return text;
    }
    // The recorder started as a program that runs, showing a window of the
    // title until it is closed: the window, once it shows (null when it
    // never did), and the process's handle for the caller to close.
    HWND ShowRecorderWindow(const char* title, HANDLE* process) {
        SetEnvironmentVariableA("KWIVO_RECORD_WINDOW", title);
        std::string commandLine = "\"" + recorder_ + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started;
        *process = nullptr;
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started)) {
            return nullptr;
        }
        CloseHandle(started.hThread);
        *process = started.hProcess;
        HWND window = nullptr;
        test::WaitFor([&] { return (window = FindWindowA(nullptr, title)) != nullptr && IsWindowVisible(window); });
        return window;
    }
    bool Dismissed() {
        return l_.input.length == 0 && l_.completion == nullptr &&
               l_.TimerRunning(LauncherWindow::kSlideTimer) && l_.slideFlags == LauncherWindow::kSlideHide &&
               l_.slideTarget == GetSystemMetrics(SM_CXSCREEN);
    }

    test::TempFolder folder_;
    test::CurrentDirectory inFolder_{folder_.Path()};
    std::string record_;
    std::string recorder_;
    TestLauncher l_;
};

}  // namespace test
