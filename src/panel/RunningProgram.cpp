#include "panel/RunningProgram.h"

#include "text/Wtf8.h"

namespace {

// The long form of a full path, in place; the path as it is when the file
// system cannot tell.
void LongForm(wchar_t (&path)[MAX_PATH]) {
    wchar_t longer[MAX_PATH];
    DWORD n = GetLongPathNameW(path, longer, MAX_PATH);
    if (n > 0 && n < MAX_PATH) lstrcpynW(path, longer, MAX_PATH);
}

}  // namespace

RunningProgram::RunningProgram() : found(nullptr) {
    wanted[0] = 0;
}

RunningProgram::~RunningProgram() {}

int RunningProgram::Runs(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return 0;
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle) return 0;
    wchar_t image[MAX_PATH];
    DWORD size = MAX_PATH;
    int read = QueryFullProcessImageNameW(handle, 0, image, &size) != 0;
    CloseHandle(handle);
    if (!read) return 0;
    LongForm(image);
    return CompareStringOrdinal(image, -1, wanted, -1, TRUE) == CSTR_EQUAL;
}

BOOL CALLBACK RunningProgram::Visit(HWND window, LPARAM self) {
    RunningProgram* program = reinterpret_cast<RunningProgram*>(self);
    // In Z order, the front first: the first match is the most recently
    // active one.
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) || !program->Runs(window)) return TRUE;
    program->found = window;
    return FALSE;
}

HWND RunningProgram::FindWindowOf(const char* path) {
    found = nullptr;
    if (!ToUtf16(wanted, path) || GetFullPathNameW(wanted, MAX_PATH, wanted, nullptr) == 0) return nullptr;
    LongForm(wanted);
    EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
    return found;
}

int RunningProgram::BringForward(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    return SetForegroundWindow(window) != 0;
}
