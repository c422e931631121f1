#pragma once

// A folder token names a shell special folder: "$0x" (or "$0X") followed by
// hexadecimal digits, the folder's CSIDL value. Digits beyond the eighth push
// the first ones out; no digits at all give 0. 1 with the value stored, 0 when
// the text is no token (a blank or a sign makes it none).
int ParseFolderToken(const char* text, unsigned int* value);
