#include "panel/ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

#include "text/PathText.h"
#include "text/Wtf8.h"

int ShellOpen(const wchar_t* verb, const char* target, const char* parameters) {
    wchar_t wideTarget[kPathSize];
    wchar_t wideParameters[kPathSize + 16];
    if (!ToUtf16(wideTarget, target) || (parameters && !ToUtf16(wideParameters, parameters))) return 0;
    HINSTANCE result = ShellExecuteW(nullptr, verb, wideTarget, parameters ? wideParameters : nullptr, nullptr,
                                     SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
