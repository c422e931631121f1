#pragma once

#include <cstddef>

// Words typed after an alias whose target holds "%s" ([aliases]
// g=https://duckduckgo.com/?q=%s): the target with the words in place. An
// address (a scheme, then ":") takes them percent-encoded as UTF-8, every
// character but RFC 3986's unreserved ones, a blank as %20; any other
// target is a command line and takes them as one argument, quoted as
// CommandLineToArgvW reads arguments back (a "%s" that the target quotes
// itself loses those quotes). No words leave nothing in place of "%s".
// Plain C++, so it also builds natively.

// 1 when the text starts with a scheme and ":" (two characters or more,
// so that a drive letter is none).
int IsAddress(const char* text);
// 1 when the target holds "%s" exactly once: it takes words.
int TakesWords(const char* target);
// Writes the target with the words (WTF-8) in place of its "%s" into out;
// the bytes written, or -1 when the target does not hold "%s" exactly once
// or the result does not fit in size (out is then empty): never a cut
// result.
int PutWords(char* out, size_t size, const char* target, const char* words);
// The words as one argument: in quotes, a quote as \", and backslashes
// doubled where they come before a quote. The bytes written, or -1 when
// they do not fit.
int QuoteArgument(char* out, size_t size, const char* words);
// 1 when cmd.exe, which runs a batch file's command line, would read a
// character of the words as its own (a second command, a variable, an
// escape, a redirection).
int HasShellMetacharacters(const char* words);
