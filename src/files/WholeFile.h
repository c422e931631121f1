#pragma once

#include <windows.h>

#include <cstddef>

// The whole of a file, for the small files read in one piece (a shell link,
// kwivo.ini before it is converted): into a heap buffer the caller frees,
// one byte longer than the file so that text can be terminated, with the
// file's length. Null when the file cannot be opened or read, or is larger
// than maxBytes.
char* ReadWholeFile(const wchar_t* path, size_t maxBytes, size_t* length);

// The attributes of the file or folder a WTF-8 path names;
// INVALID_FILE_ATTRIBUTES when there is none or the path does not fit.
DWORD FileAttributes(const char* path);
