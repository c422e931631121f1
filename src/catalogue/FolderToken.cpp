#include "catalogue/FolderToken.h"

int ParseFolderToken(const char* text, unsigned int* value) {
    if (text[0] != '$' || text[1] != '0' || (text[2] != 'x' && text[2] != 'X')) return 0;
    unsigned int n = 0;
    for (const char* p = text + 3; *p; ++p) {
        unsigned int digit;
        if (*p >= '0' && *p <= '9') {
            digit = static_cast<unsigned int>(*p - '0');
        } else if (*p >= 'a' && *p <= 'f') {
            digit = static_cast<unsigned int>(*p - 'a' + 10);
        } else if (*p >= 'A' && *p <= 'F') {
            digit = static_cast<unsigned int>(*p - 'A' + 10);
        } else {
            return 0;
        }
        n = n * 16 + digit;  // unsigned: wraps, dropping the first digits
    }
    *value = n;
    return 1;
}
