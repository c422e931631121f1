#pragma once

#include <windows.h>

// A DLL of the system, loaded from the system folder only: never from the
// program's folder or the current one, where a planted DLL of the same name
// could wait (a portable copy in Downloads). Null where the system has none.
HMODULE LoadSystemLibrary(const wchar_t* dll);

// Limits the process's DLL search to the system folder, for every DLL loaded
// by name from now on (the system's own loads included): neither the
// current folder nor the program's own is searched. Where the system
// cannot (Windows 7 without its update), the current folder at least is
// taken out.
void RestrictDllSearch();

// A function of a system DLL, looked up at run time: null where the system
// has none, so that the program still starts on older systems and loads a
// DLL only once it needs it. Cast through the generic function type, as the
// platform intends for GetProcAddress.
template <typename Call>
Call FindSystemCall(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadSystemLibrary(dll);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

// OpenProcessToken, looked up at run time so that kwivo.exe imports no
// advapi32: 1 with the token (for the caller to close), 0 where it fails or
// the system has none.
inline int OpenProcessTokenOf(HANDLE process, DWORD access, HANDLE* token) {
    typedef BOOL(WINAPI * OpenTokenCall)(HANDLE, DWORD, HANDLE*);
    OpenTokenCall openToken = FindSystemCall<OpenTokenCall>(L"advapi32.dll", "OpenProcessToken");
    *token = nullptr;
    return openToken && openToken(process, access, token);
}
