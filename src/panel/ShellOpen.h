#pragma once

// Hands a file, a folder or an address to the shell with a verb ("open",
// "runas") and, when given, parameters; texts in WTF-8. 1 when the shell
// took it; 0 when it refused, or a text does not fit the platform's path
// size.
int ShellOpen(const wchar_t* verb, const char* target, const char* parameters);
