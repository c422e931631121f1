// The yardstick of the start-up bench: a program that creates one hidden
// window and waits in its message loop, as the launcher does once started.
#include <windows.h>

LRESULT CALLBACK Handle(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) PostQuitMessage(0);
    return DefWindowProcA(window, message, w, l);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Handle;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "KwivoEmptyWindow";
    RegisterClassA(&windowClass);
    CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "KwivoEmptyWindow", "", WS_POPUP, 0, 0, 480, 30, nullptr,
                    nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
