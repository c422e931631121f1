#pragma once

#include <windows.h>

// One top-level window whose messages arrive as calls of virtual operations.
// The class window procedure sends every message to the first AppWindow the
// process constructs (currentWindow), not to an object looked up by handle.
class AppWindow {
public:
    explicit AppWindow(HINSTANCE moduleInstance);
    virtual ~AppWindow();

    // The slot order of these operations is fixed; derived classes override.
    virtual void OnCommand(int id, int code);
    virtual void OnPaint(HDC dc);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnHotKey();
    virtual void OnChar(unsigned int code);
    virtual void OnDestroy();
    virtual void OnPasteText(const char* text);
    virtual const char* GetCopyText();
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Keys that produce no character (arrows and the like), as virtual-key
    // codes; after the fixed slots above. Does nothing here.
    virtual void OnKeyDown(int virtualKey);
    // Kernel objects that Run waits on beside the messages: the count (none
    // here) and the handles; then the call when the index-th is signalled.
    virtual int GetWaitHandles(const HANDLE** handles);
    virtual void OnHandleSignalled(int index);
    // WM_GETOBJECT: an accessibility client asks for an object of the
    // window; 0 leaves the answer to the default processing.
    virtual LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    // A character typed with Alt held (WM_SYSCHAR); 1 when it was taken,
    // 0 leaves it to the default processing.
    virtual int OnSystemChar(unsigned int code);
    // The left mouse button pressed at x, y of the client area.
    virtual void OnClick(int x, int y);

    // Texts (WTF-8) reach the platform in UTF-16: the window is a Unicode
    // one, and its character messages carry UTF-16 units.
    ATOM RegisterWindowClass(const char* className);
    int Create(const char* className, const char* windowName, int showCommand);
    // The message loop, until WM_QUIT; its code is the result. With wait
    // handles it sleeps on them and on the queue together, on this thread.
    int Run();
    static LRESULT CALLBACK ClassWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    // Puts the text (WTF-8) on the clipboard; 1 when it is there.
    int CopyText(const char* text);

    // A message box with an OK button, owned by no window; flags add to
    // MB_OK (MB_TOPMOST to show above an always-on-top window).
    static void ShowMessage(const char* text, const char* caption, unsigned int flags = 0);
    // The most a paste takes from the clipboard: more than the input holds.
    static constexpr int kPasteUnits = 512;

    // The procedure behind "default processing"; tests put a recorder here.
    static WNDPROC defaultWindowProc;

    // Registration and creation values; a derived class adjusts them before
    // Create.
    HINSTANCE instance;
    HWND hwnd;
    HFONT font;
    DWORD style;
    DWORD exStyle;
    HBRUSH background;
    COLORREF backColour;
    COLORREF textColour;
    int createX;
    int createY;
    int createWidth;
    int createHeight;
    LPCWSTR iconName;
    LPCWSTR smallIconName;
    LPCWSTR menuName;

private:
    void CopyToClipboard();
    void PasteFromClipboard();
};

// The object that receives every message of the process's windows.
extern AppWindow* currentWindow;
