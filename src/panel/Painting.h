#pragma once

// The information view's text: help lines, then the live counters.
// Returns the number of characters written (the buffer is always terminated).
int FormatInfoText(char (&text)[1024], int files, int runs, int memoryKB);

// The working set of this process in kilobytes; 0 when it cannot be read.
int GetWorkingSetKB();
