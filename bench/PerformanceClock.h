#pragma once

#include <windows.h>

// Seconds on the performance counter, for the benchmarks that run under Wine
// or Windows.
inline double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}
