#include "window/AppWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Win32Test.h"

namespace {

// Messages that went on to default processing, recorded in order.
std::vector<UINT> defaultMessages;

LRESULT CALLBACK RecordDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    defaultMessages.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ReachedDefault(UINT message) {
    for (UINT m : defaultMessages) {
        if (m == message) return true;
    }
    return false;
}

class RecordingWindow : public AppWindow {
public:
    RecordingWindow() : AppWindow(GetModuleHandleA(nullptr)) {}

    void OnCommand(int id, int code) override {
        commandId = id;
        commandCode = code;
        ++commands;
    }
    void OnPaint(HDC dc) override {
        ++paints;
        paintBack = GetBkColor(dc);
        paintText = GetTextColor(dc);
        paintFont = GetCurrentObject(dc, OBJ_FONT);
    }
    void OnTimer(UINT_PTR id) override { timerId = id; }
    void OnHotKey() override { ++hotKeys; }
    void OnChar(unsigned int code) override { chars.push_back(code); }
    void OnDestroy() override { ++destroys; }
    void OnPasteText(const char* text) override { pasted.push_back(text); }
    const char* GetCopyText() override { return copyText; }

    int commands = 0, commandId = -1, commandCode = -1;
    int paints = 0;
    COLORREF paintBack = 0, paintText = 0;
    HGDIOBJ paintFont = nullptr;
    UINT_PTR timerId = 0;
    int hotKeys = 0;
    std::vector<unsigned int> chars;
    int destroys = 0;
    std::vector<std::string> pasted;
    const char* copyText = nullptr;
};

// Each window gets a class of its own: a class name can be registered once.
std::string NewClassName() {
    static int counter = 0;
    return "KwivoTest" + std::to_string(++counter);
}

int CreateTestWindow(AppWindow& window) {
    window.createX = 10;
    window.createY = 10;
    window.createWidth = 200;
    window.createHeight = 80;
    return window.Create(NewClassName().c_str(), "kwivo test", SW_SHOWNOACTIVATE);
}

class AppWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        defaultMessages.clear();
        AppWindow::defaultWindowProc = RecordDefault;
    }
    void TearDown() override { AppWindow::defaultWindowProc = DefWindowProcA; }
};

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    HANDLE memory = GetClipboardData(CF_TEXT);
    if (memory) {
        const char* p = static_cast<const char*>(GlobalLock(memory));
        if (p) text = p;
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    size_t size = strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

TEST_F(AppWindowTest, InitialFieldsAndCurrentWindow) {
    ASSERT_EQ(currentWindow, nullptr);
    {
        AppWindow first(GetModuleHandleA(nullptr));
        AppWindow second(GetModuleHandleA(nullptr));
        EXPECT_EQ(currentWindow, &first);
        EXPECT_EQ(first.hwnd, nullptr);
        EXPECT_EQ(first.font, nullptr);
        EXPECT_EQ(first.style, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
        EXPECT_EQ(first.exStyle, 0u);
        EXPECT_EQ(first.background, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(6)));
        EXPECT_EQ(first.backColour, GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(first.textColour, GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(first.createX, static_cast<int>(CW_USEDEFAULT));
        EXPECT_EQ(first.createY, static_cast<int>(CW_USEDEFAULT));
        EXPECT_EQ(first.createWidth, 0);
        EXPECT_EQ(first.createHeight, 0);
        EXPECT_EQ(first.iconName, nullptr);
    }
    EXPECT_EQ(currentWindow, nullptr);
}

TEST_F(AppWindowTest, MessagesWithoutAnObjectGetZeroAndNoDefault) {
    ASSERT_EQ(currentWindow, nullptr);
    // DefWindowProc would answer WM_NCCREATE with 1.
    EXPECT_EQ(AppWindow::ClassWindowProc(nullptr, WM_NCCREATE, 0, 0), 0);
    EXPECT_TRUE(defaultMessages.empty());
}

TEST_F(AppWindowTest, EveryMessageGoesToTheFirstObject) {
    RecordingWindow first;
    ASSERT_EQ(CreateTestWindow(first), 1);
    RecordingWindow later;
    ASSERT_EQ(CreateTestWindow(later), 1);
    SendMessageA(later.hwnd, WM_HOTKEY, 1, 0);
    EXPECT_EQ(first.hotKeys, 1);
    EXPECT_EQ(later.hotKeys, 0);
}

TEST_F(AppWindowTest, DestroyAndEndSessionStopWithoutDefault) {
    RecordingWindow window;
    ASSERT_EQ(CreateTestWindow(window), 1);
    // A session end that was cancelled (wParam 0) ends nothing.
    EXPECT_EQ(SendMessageA(window.hwnd, WM_ENDSESSION, 0, 0), 0);
    EXPECT_EQ(window.destroys, 0);
    EXPECT_EQ(SendMessageA(window.hwnd, WM_ENDSESSION, 1, ENDSESSION_LOGOFF), 0);
    EXPECT_EQ(window.destroys, 1);
    EXPECT_FALSE(ReachedDefault(WM_ENDSESSION));

    ASSERT_TRUE(DestroyWindow(window.hwnd));
    EXPECT_EQ(window.destroys, 2);
    EXPECT_FALSE(ReachedDefault(WM_DESTROY));
    EXPECT_TRUE(ReachedDefault(WM_NCDESTROY));  // anything else goes on
}

TEST_F(AppWindowTest, HandledMessagesReachTheOperationAndDefault) {
    RecordingWindow window;
    ASSERT_EQ(CreateTestWindow(window), 1);

    SendMessageA(window.hwnd, WM_COMMAND, MAKEWPARAM(1234, 5), 0);
    EXPECT_EQ(window.commands, 1);
    EXPECT_EQ(window.commandId, 1234);
    EXPECT_EQ(window.commandCode, 5);
    EXPECT_TRUE(ReachedDefault(WM_COMMAND));

    SendMessageA(window.hwnd, WM_TIMER, 7, 0);
    EXPECT_EQ(window.timerId, 7u);
    EXPECT_TRUE(ReachedDefault(WM_TIMER));

    SendMessageA(window.hwnd, WM_HOTKEY, 0xC001, 0);
    EXPECT_EQ(window.hotKeys, 1);
    EXPECT_TRUE(ReachedDefault(WM_HOTKEY));

    SendMessageA(window.hwnd, WM_CHAR, 'a', 0);
    SendMessageA(window.hwnd, WM_CHAR, 27, 0);
    SendMessageA(window.hwnd, WM_CHAR, 8, 0);
    ASSERT_EQ(window.chars.size(), 3u);
    EXPECT_EQ(window.chars[0], static_cast<unsigned int>('a'));
    EXPECT_EQ(window.chars[1], 27u);
    EXPECT_EQ(window.chars[2], 8u);
    EXPECT_TRUE(ReachedDefault(WM_CHAR));

    defaultMessages.clear();
    SendMessageA(window.hwnd, WM_COPY, 0, 0);
    SendMessageA(window.hwnd, WM_PASTE, 0, 0);
    EXPECT_TRUE(ReachedDefault(WM_COPY));
    EXPECT_TRUE(ReachedDefault(WM_PASTE));
}

TEST_F(AppWindowTest, PaintSetsColoursAndSelectsTheFontOnlyWhenSet) {
    RecordingWindow window;
    window.backColour = RGB(232, 95, 25);
    window.textColour = RGB(1, 2, 3);
    ASSERT_EQ(CreateTestWindow(window), 1);

    RedrawWindow(window.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_GE(window.paints, 1);
    EXPECT_EQ(window.paintBack, RGB(232, 95, 25));
    EXPECT_EQ(window.paintText, RGB(1, 2, 3));
    EXPECT_EQ(window.paintFont, GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(ReachedDefault(WM_PAINT));

    HFONT font = CreateFontA(20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    window.font = font;
    int before = window.paints;
    RedrawWindow(window.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_GT(window.paints, before);
    EXPECT_EQ(window.paintFont, font);
    DestroyWindow(window.hwnd);
    DeleteObject(font);
}

TEST_F(AppWindowTest, CtrlVPastesTheClipboardTextNotAChar) {
    RecordingWindow window;
    ASSERT_EQ(CreateTestWindow(window), 1);
    SetClipboardText("C:\\Program Files\\app.exe");

    SendMessageA(window.hwnd, WM_CHAR, 22, 0);
    EXPECT_TRUE(window.pasted.empty());  // it comes back through the queue
    test::PumpMessages();
    ASSERT_EQ(window.pasted.size(), 1u);
    EXPECT_EQ(window.pasted[0], "C:\\Program Files\\app.exe");
    EXPECT_TRUE(window.chars.empty());
}

TEST_F(AppWindowTest, CtrlCPutsTheCopyTextOnTheClipboard) {
    RecordingWindow window;
    ASSERT_EQ(CreateTestWindow(window), 1);
    SetClipboardText("before");
    window.copyText = "notepad.exe";

    SendMessageA(window.hwnd, WM_CHAR, 3, 0);
    test::PumpMessages();
    EXPECT_EQ(ClipboardText(), "notepad.exe");
    EXPECT_TRUE(window.chars.empty());

    window.copyText = "";
    SendMessageA(window.hwnd, WM_CHAR, 3, 0);
    test::PumpMessages();
    EXPECT_EQ(ClipboardText(), "");
}

TEST_F(AppWindowTest, CtrlCWithoutCopyTextLeavesTheClipboardAlone) {
    AppWindow window(GetModuleHandleA(nullptr));
    ASSERT_EQ(CreateTestWindow(window), 1);
    SetClipboardText("keep me");
    SendMessageA(window.hwnd, WM_CHAR, 3, 0);
    test::PumpMessages();
    EXPECT_EQ(ClipboardText(), "keep me");
    DestroyWindow(window.hwnd);
}

TEST_F(AppWindowTest, RunReturnsTheQuitCode) {
    AppWindow window(GetModuleHandleA(nullptr));
    ASSERT_EQ(CreateTestWindow(window), 1);
    PostQuitMessage(7);
    EXPECT_EQ(window.Run(), 7);

    // The base OnDestroy ends the loop with 0.
    PostMessageA(window.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.Run(), 0);
    EXPECT_FALSE(IsWindow(window.hwnd));
}

// Waits on one event beside its messages, and quits once it has seen the
// event and two characters.
class WaitingWindow : public AppWindow {
public:
    WaitingWindow() : AppWindow(GetModuleHandleA(nullptr)), event(CreateEventA(nullptr, FALSE, TRUE, nullptr)) {}
    ~WaitingWindow() override { CloseHandle(event); }
    int GetWaitHandles(const HANDLE** handles) override {
        *handles = &event;
        return 1;
    }
    void OnHandleSignalled(int index) override {
        signalled.push_back(index);
        QuitWhenDone();
    }
    void OnChar(unsigned int code) override {
        chars += static_cast<char>(code);
        QuitWhenDone();
    }
    void QuitWhenDone() {
        if (!signalled.empty() && chars.size() == 2) PostQuitMessage(3);
    }
    HANDLE event;
    std::vector<int> signalled;
    std::string chars;
};

TEST_F(AppWindowTest, RunWaitsOnHandlesAndMessagesTogether) {
    WaitingWindow window;
    ASSERT_EQ(CreateTestWindow(window), 1);
    PostMessageA(window.hwnd, WM_CHAR, 'a', 0);
    PostMessageA(window.hwnd, WM_CHAR, 'b', 0);
    EXPECT_EQ(window.Run(), 3);
    EXPECT_EQ(window.signalled, std::vector<int>{0});  // the event resets itself: once
    EXPECT_EQ(window.chars, "ab");
    DestroyWindow(window.hwnd);
}

TEST_F(AppWindowTest, SecondCreateWithTheSameClassFails) {
    AppWindow window(GetModuleHandleA(nullptr));
    std::string name = NewClassName();
    ASSERT_EQ(window.Create(name.c_str(), "first", SW_HIDE), 1);
    HWND created = window.hwnd;

    // The failure shows a message box; answer it from another thread.
    HANDLE answerer = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
            std::string text;
            HWND box = test::WaitForMessageBox("second", &text);
            if (!box) return 0;
            bool right = text == "Can't register Window Class";
            test::PressOk(box);
            return right ? 1 : 2;
        },
        nullptr, 0, nullptr);
    EXPECT_EQ(window.Create(name.c_str(), "second", SW_HIDE), 0);
    WaitForSingleObject(answerer, INFINITE);
    DWORD answer = 0;
    GetExitCodeThread(answerer, &answer);
    CloseHandle(answerer);
    EXPECT_EQ(answer, 1u);
    EXPECT_EQ(window.hwnd, created);
    DestroyWindow(created);
}

}  // namespace
