#include "window/AppWindow.h"

#include <cstring>

#include "text/PathText.h"
#include "text/Wtf8.h"

AppWindow* currentWindow = nullptr;
WNDPROC AppWindow::defaultWindowProc = DefWindowProcW;

AppWindow::AppWindow(HINSTANCE moduleInstance)
    : instance(moduleInstance),
      hwnd(nullptr),
      font(nullptr),
      style(WS_OVERLAPPEDWINDOW),
      exStyle(0),
      background(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1))),
      backColour(GetSysColor(COLOR_WINDOW)),
      textColour(GetSysColor(COLOR_WINDOWTEXT)),
      createX(CW_USEDEFAULT),
      createY(CW_USEDEFAULT),
      createWidth(0),
      createHeight(0),
      iconName(nullptr),
      smallIconName(nullptr),
      menuName(nullptr) {
    if (!currentWindow) currentWindow = this;
}

AppWindow::~AppWindow() {
    // A message that comes after the object is gone (the window outlives it)
    // must not reach freed memory: it is then answered like one that came
    // before any object existed.
    if (currentWindow == this) currentWindow = nullptr;
}

void AppWindow::OnCommand(int, int) {}
void AppWindow::OnKeyDown(int) {}
int AppWindow::GetWaitHandles(const HANDLE**) { return 0; }
void AppWindow::OnHandleSignalled(int) {}
LRESULT AppWindow::OnGetObject(WPARAM, LPARAM) { return 0; }

int AppWindow::OnSystemChar(unsigned int) { return 0; }

void AppWindow::OnClick(int, int) {}
void AppWindow::OnPaint(HDC) {}
void AppWindow::OnTimer(UINT_PTR) {}
void AppWindow::OnHotKey() {}
void AppWindow::OnChar(unsigned int) {}
void AppWindow::OnDestroy() { PostQuitMessage(0); }
void AppWindow::OnPasteText(const char*) {}
const char* AppWindow::GetCopyText() { return nullptr; }

void AppWindow::ShowMessage(const char* text, const char* caption, unsigned int flags) {
    wchar_t wideText[256];
    wchar_t wideCaption[100];
    if (!ToUtf16(wideText, text) || !ToUtf16(wideCaption, caption)) wideCaption[0] = 0;
    MessageBoxW(nullptr, wideText, wideCaption, MB_OK | flags);
}

ATOM AppWindow::RegisterWindowClass(const char* className) {
    wchar_t name[kPathSize];
    if (!ToUtf16(name, className)) return 0;
    WNDCLASSEXW wc;
    memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = ClassWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, iconName);
    wc.hIconSm = smallIconName ? LoadIconW(instance, smallIconName) : nullptr;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = background;
    wc.lpszMenuName = menuName;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc);
}

int AppWindow::Create(const char* className, const char* windowName, int showCommand) {
    if (!RegisterWindowClass(className)) {
        ShowMessage("Can't register Window Class", windowName);
        return 0;
    }
    wchar_t wideClass[kPathSize];
    wchar_t title[kPathSize];
    ToUtf16(wideClass, className);  // registered: it fits
    if (!ToUtf16(title, windowName)) title[0] = 0;
    hwnd = CreateWindowExW(exStyle, wideClass, title, style, createX, createY, createWidth, createHeight, nullptr,
                           nullptr, instance, nullptr);
    if (!hwnd) {
        ShowMessage("Window creation failed", windowName);
        return 0;
    }
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    return 1;
}

int AppWindow::Run() {
    MSG msg;
    for (;;) {
        const HANDLE* handles = nullptr;
        DWORD count = static_cast<DWORD>(GetWaitHandles(&handles));
        DWORD woken = WAIT_FAILED;
        if (count > 0) {
            // Wakes for any message in the queue, not only for new ones.
            woken = MsgWaitForMultipleObjectsEx(count, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woken < WAIT_OBJECT_0 + count) {
                OnHandleSignalled(static_cast<int>(woken - WAIT_OBJECT_0));
                continue;
            }
        }
        if (woken == WAIT_OBJECT_0 + count) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            continue;
        }
        // Nothing to wait on, or a wait that failed (a handle gone bad): one
        // message at a time, so that the loop still sleeps between them.
        if (!GetMessageW(&msg, nullptr, 0, 0)) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK AppWindow::ClassWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (!currentWindow) return 0;
    return currentWindow->WindowProc(window, message, wParam, lParam);
}

LRESULT AppWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_ENDSESSION:
        // With wParam 0 the session goes on after all (another program
        // refused to let it end): nothing changes.
        if (wParam) OnDestroy();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        SetBkColor(dc, backColour);
        SetTextColor(dc, textColour);
        HGDIOBJ previousFont = font ? SelectObject(dc, font) : nullptr;
        OnPaint(dc);
        if (previousFont) SelectObject(dc, previousFont);
        EndPaint(window, &ps);
        break;
    }
    case WM_CHAR:
        // Ctrl+V and Ctrl+C come back through the queue as clipboard requests
        // and never reach OnChar.
        if (wParam == 22) {
            PostMessageW(hwnd, WM_PASTE, 0, 0);
        } else if (wParam == 3) {
            PostMessageW(hwnd, WM_COPY, 0, 0);
        } else {
            OnChar(static_cast<unsigned int>(wParam));
        }
        break;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_COPY:
        CopyToClipboard();
        break;
    case WM_PASTE:
        PasteFromClipboard();
        break;
    case WM_HOTKEY:
        OnHotKey();
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<int>(wParam));
        break;
    case WM_SYSCHAR:
        if (OnSystemChar(static_cast<unsigned int>(wParam))) return 0;
        break;
    case WM_LBUTTONDOWN:
        OnClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        break;
    case WM_GETOBJECT: {
        LRESULT object = OnGetObject(wParam, lParam);
        if (object) return object;
        break;
    }
    default:
        break;
    }
    return defaultWindowProc(window, message, wParam, lParam);
}

void AppWindow::CopyToClipboard() {
    CopyText(GetCopyText());
}

int AppWindow::CopyText(const char* text) {
    if (!text || !OpenClipboard(hwnd)) return 0;
    int copied = 0;
    if (EmptyClipboard()) {
        // A unit for every byte is room enough, with the terminator.
        size_t size = (strlen(text) + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
        wchar_t* copy = memory ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr;
        if (copy) {
            Utf16FromWtf8(copy, size / sizeof(wchar_t), text);
            GlobalUnlock(memory);
            // Once handed over, the memory belongs to the clipboard.
            copied = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            if (!copied) GlobalFree(memory);
        } else if (memory) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return copied;
}

void AppWindow::PasteFromClipboard() {
    if (!OpenClipboard(hwnd)) return;
    HANDLE memory = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = memory ? static_cast<const wchar_t*>(GlobalLock(memory)) : nullptr;
    if (text) {
        // Whole characters only, as far as kPasteUnits go: a surrogate
        // without its other half is dropped, a pair never split.
        wchar_t kept[kPasteUnits + 1];
        int n = 0;
        for (int i = 0; text[i] && n < kPasteUnits; ++i) {
            unsigned int unit = static_cast<unsigned short>(text[i]);
            if (IsHighSurrogate(unit)) {
                if (!IsLowSurrogate(static_cast<unsigned short>(text[i + 1]))) continue;
                if (n + 2 > kPasteUnits) break;
                kept[n++] = text[i++];
            } else if (IsLowSurrogate(unit)) {
                continue;
            }
            kept[n++] = text[i];
        }
        GlobalUnlock(memory);
        char bytes[3 * kPasteUnits + 1];
        Wtf8FromUtf16(bytes, sizeof bytes, kept, n);
        OnPasteText(bytes);
    }
    CloseClipboard();
}
