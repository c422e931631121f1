#pragma once

#include <windows.h>

// A function of a system DLL, looked up at run time: null where the system
// has none, so that the program still starts on older systems and loads a
// DLL only once it needs it. Cast through the generic function type, as the
// platform intends for GetProcAddress.
template <typename Call>
Call FindSystemCall(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryW(dll);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}
