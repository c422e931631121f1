#include "answers/RunningProgram.h"

#include <cwchar>

#include "files/FinalPath.h"
#include "text/Wtf8.h"
#include "window/SystemCall.h"

namespace {

const DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED
typedef HRESULT(WINAPI* WindowAttributeCall)(HWND, DWORD, void*, DWORD);

int IsCloaked(HWND window) {
    WindowAttributeCall attribute = FindSystemCall<WindowAttributeCall>(L"dwmapi.dll", "DwmGetWindowAttribute");
    DWORD cloaked = 0;
    return attribute && SUCCEEDED(attribute(window, kCloakedAttribute, &cloaked, sizeof cloaked)) && cloaked != 0;
}

int SameName(const wchar_t* a, const wchar_t* b) {
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

const wchar_t* FileName(const wchar_t* path) {
    const wchar_t* slash = wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

}  // namespace

RunningProgram::RunningProgram() : found(nullptr) {
    wanted[0] = 0;
    wantedFinal[0] = 0;
}

RunningProgram::~RunningProgram() {}

int RunningProgram::IsSwitchable(HWND window) {
    if (!IsWindowVisible(window)) return 0;
    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (style & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) return 0;
    if (GetWindow(window, GW_OWNER) && !(style & WS_EX_APPWINDOW)) return 0;
    // A helper of a program (a 1x1 popup that keeps its message queue) is
    // no window to bring forward: smaller than an icon, it is none a user
    // would pick. A minimised window is not measured.
    RECT box;
    if (!IsIconic(window) && (!GetWindowRect(window, &box) || box.right - box.left < GetSystemMetrics(SM_CXICON) ||
                              box.bottom - box.top < GetSystemMetrics(SM_CYICON))) {
        return 0;
    }
    wchar_t name[32];
    if (GetClassNameW(window, name, 32) &&
        (SameName(name, L"Shell_TrayWnd") || SameName(name, L"Shell_SecondaryTrayWnd"))) {
        return 0;
    }
    return !IsCloaked(window);
}

int RunningProgram::IsHung(HWND window) {
    return IsHungAppWindow(window);
}

int RunningProgram::CanRestore(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    HANDLE token = nullptr;
    int readable = handle && OpenProcessTokenOf(handle, TOKEN_QUERY, &token);
    if (token) CloseHandle(token);
    if (handle) CloseHandle(handle);
    return readable;
}

int RunningProgram::Runs(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return 0;
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle) return 0;
    wchar_t image[kPathSize];
    DWORD size = kPathSize;
    int read = QueryFullProcessImageNameW(handle, 0, image, &size) != 0;
    CloseHandle(handle);
    if (!read) return 0;
    if (SameName(image, wanted) || (wantedFinal[0] && SameName(image, wantedFinal))) return 1;
    // Only a candidate that may be the same file under another name (its
    // file name alike, or a short 8.3 form) is looked up on the disk.
    wchar_t final[kPathSize];
    if (!wantedFinal[0] || (!SameName(FileName(image), FileName(wantedFinal)) && !wcschr(image, L'~'))) return 0;
    return ResolveFinalPath(image, final, kPathSize) && SameName(final, wantedFinal);
}

BOOL CALLBACK RunningProgram::Visit(HWND window, LPARAM self) {
    RunningProgram* program = reinterpret_cast<RunningProgram*>(self);
    // In Z order, the front first: the first match is the most recently
    // active one. The process first: most windows are not the program's,
    // and each look at a window of another thread costs a round trip.
    if (!IsWindowVisible(window) || !program->Runs(window) || !IsSwitchable(window)) return TRUE;
    program->found = window;
    return FALSE;
}

HWND RunningProgram::FindWindowOf(const char* path) {
    found = nullptr;
    if (!ToUtf16(wanted, path) || GetFullPathNameW(wanted, kPathSize, wanted, nullptr) == 0) return nullptr;
    if (!ResolveFinalPath(wanted, wantedFinal, kPathSize)) wantedFinal[0] = 0;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
    return found;
}

int RunningProgram::BringForward(HWND window) {
    if (IsIconic(window)) {
        // A hung program would never restore; a higher integrity level
        // drops what is posted to it unseen. Both start as before.
        if (IsHung(window) || !CanRestore(window)) return 0;
        ShowWindowAsync(window, SW_RESTORE);
    }
    // Does not wait on the window's thread, hung or not.
    return SetForegroundWindow(window) != 0;
}
