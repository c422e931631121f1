#pragma once

#include <cstddef>

// Words typed after an alias whose target holds "%s" ([aliases]
// g=https://duckduckgo.com/?q=%s): the target with the words in place. An
// address (a scheme, then ":") takes them percent-encoded as UTF-8, every
// character but RFC 3986's unreserved ones, a blank as %20; any other
// target is a command line and takes them as typed. Plain C++, so it also
// builds natively.

// 1 when the text starts with a scheme and ":" (two characters or more,
// so that a drive letter is none).
int IsAddress(const char* text);
// Writes the target with the words (WTF-8) in place of its "%s" into out;
// the bytes written, or -1 when the target does not hold "%s" exactly once
// or the result does not fit in size (out is then empty): never a cut
// result.
int PutWords(char* out, size_t size, const char* target, const char* words);
