#pragma once

#include <windows.h>

#include <cstddef>

// The platform's final name of a file (GetFinalPathNameByHandleW) as a
// plain path: "\\?\C:\..." as "C:\...", "\\?\UNC\server\..." as
// "\\server\...". 0 when it does not fit in size units.
int PlainFinalPath(const wchar_t* final, wchar_t* out, size_t size);

// The file a path names, behind every link, as a plain path: opened with
// no access (whatever sharing others chose), and named by the volume. 0
// when it cannot be opened or named.
int ResolveFinalPath(const wchar_t* path, wchar_t* out, size_t size);
