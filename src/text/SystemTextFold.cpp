#include "text/SystemTextFold.h"

#include <windows.h>

#include "text/PathText.h"
#include "text/Wtf8.h"

int SystemTextFold::Fold(char* out, int size, const char* text, int length) const {
    // Each accented letter is split into its letter and its marks, the
    // marks are dropped, and what is left is lowercased. A decomposition
    // takes a few units more than the text at most.
    const int kParts = 3 * kPathSize;
    wchar_t wide[kPathSize];
    wchar_t parts[kParts];
    wchar_t lower[kParts];
    WORD types[kParts];
    int units = Utf16FromWtf8(wide, kPathSize, text, length);
    if (units <= 0) return units < 0 ? -1 : Wtf8FromUtf16(out, static_cast<size_t>(size), wide, 0);
    int n = FoldStringW(MAP_COMPOSITE, wide, units, parts, kParts);
    if (n <= 0 || !GetStringTypeW(CT_CTYPE3, parts, n, types)) return -1;
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (!(types[i] & C3_NONSPACING)) parts[kept++] = parts[i];
    }
    // Only marks (a lone combining accent): nothing is left to lowercase.
    if (kept > 0 &&
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, parts, kept, lower, kParts, nullptr, nullptr, 0) != kept) {
        return -1;
    }
    return Wtf8FromUtf16(out, static_cast<size_t>(size), lower, kept);
}
