#pragma once

#include <cstddef>

// Readers of the text values of the settings file. They use no platform call,
// so they also build natively for the sanitizers and the fuzzer.

// The integer as the C runtime's atoi reads it: leading blanks, an optional
// sign, digits up to the first other character; 0 when there are none. Out of
// range values stop at INT_MIN or INT_MAX, as the Windows runtime's atoi does,
// instead of overflowing.
int ParseInt(const char* text);

// Three decimal numbers separated by commas, as "%d,%d,%d" reads them (blanks
// before each number are skipped, none before a comma). Each number keeps its
// low 8 bits; red goes to the low byte. 1 with the colour stored, 0 otherwise.
int ParseColour(const char* text, unsigned int* colour);

// Removes the last line of a section buffer (lines NUL-terminated, an empty
// line after the last): the one that a cut section may hold only in part.
void DropLastLine(char* section);

// 1 when the text, written as a key, reads back as that key of its section: no
// character below 32 (a line break would start a new line), and no "[" (a
// section) or ";" (a comment) as its first character after blanks.
int IsWritableKey(const char* key);

// How the bytes of a settings file are encoded: by its mark, or without one
// UTF-8 when they are valid UTF-8 with at least one character beyond ASCII
// (what Notepad saves by default), unless the ANSI code page is UTF-8 itself.
// ASCII alone, or bytes that are no UTF-8, are the ANSI code page's.
const int kSettingsAnsi = 0;
const int kSettingsUtf16Le = 1;  // FF FE
const int kSettingsUtf16Be = 2;  // FE FF
const int kSettingsUtf8 = 3;      // no mark
const int kSettingsUtf8Mark = 4;  // EF BB BF
int SettingsEncoding(const char* bytes, size_t length, int ansiIsUtf8);
// The bytes of the encoding's mark.
size_t SettingsMarkLength(int encoding);

// Folds the lines of a section buffer into a digest (text/Hash.h, started
// from kHashStart), so that a change of the section, however small, gives
// another digest.
unsigned long long DigestSection(const char* section, unsigned long long digest);
