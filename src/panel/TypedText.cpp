#include "panel/TypedText.h"

#include <usp10.h>

#include <cstdlib>
#include <cwchar>

#include "text/PathText.h"
#include "window/SystemCall.h"

namespace {

typedef HRESULT(WINAPI* AnalyseCall)(HDC, const void*, int, int, int, DWORD, int, SCRIPT_CONTROL*, SCRIPT_STATE*,
                                     const int*, SCRIPT_TABDEF*, const BYTE*, SCRIPT_STRING_ANALYSIS*);
typedef HRESULT(WINAPI* CaretCall)(SCRIPT_STRING_ANALYSIS, int, BOOL, int*);
typedef HRESULT(WINAPI* FreeCall)(SCRIPT_STRING_ANALYSIS*);

// Where the shaping puts the first typed characters of the whole text: a
// region of the spans their glyphs cover, left to right from x, over the
// line from top to bottom. Null when Uniscribe cannot tell.
HRGN TypedRegion(HDC dc, const wchar_t* whole, int units, int typedUnits, int x, int top, int bottom) {
    AnalyseCall analyse = FindSystemCall<AnalyseCall>(L"usp10.dll", "ScriptStringAnalyse");
    CaretCall caret = FindSystemCall<CaretCall>(L"usp10.dll", "ScriptStringCPtoX");
    FreeCall release = FindSystemCall<FreeCall>(L"usp10.dll", "ScriptStringFree");
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    if (!analyse || !caret || !release ||
        FAILED(analyse(dc, whole, units, units * 3 / 2 + 16, -1, SSA_GLYPHS | SSA_FALLBACK, 0, nullptr, nullptr,
                       nullptr, nullptr, nullptr, &analysis))) {
        return nullptr;
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; region && i < typedUnits; ++i) {
        int leading = 0;
        int trailing = 0;
        if (FAILED(caret(analysis, i, FALSE, &leading)) || FAILED(caret(analysis, i, TRUE, &trailing))) continue;
        HRGN span = CreateRectRgn(x + (leading < trailing ? leading : trailing), top,
                                  x + (leading < trailing ? trailing : leading), bottom);
        if (span) {
            CombineRgn(region, region, span, RGN_OR);
            DeleteObject(span);
        }
    }
    release(&analysis);
    return region;
}

}  // namespace

int HasRightToLeft(const wchar_t* text, int units) {
    for (int i = 0; i < units; ++i) {
        unsigned int c = static_cast<unsigned short>(text[i]);
        // Hebrew to the Arabic extensions, their presentation forms, the
        // right-to-left marks and embeddings; beyond the BMP, the scripts
        // from U+10800 and U+1E800 (their high surrogates).
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) ||
            c == 0x200F || c == 0x202B || c == 0x202E || c == 0x2067 || c == 0xD802 || c == 0xD803 ||
            c == 0xD83A || c == 0xD83B) {
            return 1;
        }
    }
    return 0;
}

void DrawTypedText(HDC dc, const RECT& r, const wchar_t* typed, int typedUnits, const wchar_t* rest,
                   COLORREF restColour) {
    int restUnits = rest ? static_cast<int>(wcslen(rest)) : 0;
    wchar_t whole[2 * kPathSize];
    if (restUnits > 0 && typedUnits + restUnits < 2 * kPathSize &&
        (HasRightToLeft(typed, typedUnits) || HasRightToLeft(rest, restUnits))) {
        wmemcpy(whole, typed, static_cast<size_t>(typedUnits));
        wmemcpy(whole + typedUnits, rest, static_cast<size_t>(restUnits));
        RECT line = r;
        COLORREF typedColour = SetTextColor(dc, restColour);
        DrawTextW(dc, whole, typedUnits + restUnits, &line, DT_NOPREFIX);
        SetTextColor(dc, typedColour);
        HRGN region = TypedRegion(dc, whole, typedUnits + restUnits, typedUnits, r.left, r.top, r.bottom);
        if (region) {
            int saved = SaveDC(dc);
            ExtSelectClipRgn(dc, region, RGN_AND);
            DrawTextW(dc, whole, typedUnits + restUnits, &line, DT_NOPREFIX);
            RestoreDC(dc, saved);
            DeleteObject(region);
        }
        return;
    }
    // No prefix processing: an "&" in a name is a character like any other,
    // and the completion is placed by the typed text's measured width.
    RECT line = r;
    DrawTextW(dc, typed, typedUnits, &line, DT_NOPREFIX);
    if (!rest) return;
    SIZE extent;
    GetTextExtentPoint32W(dc, typed, typedUnits, &extent);
    line.left += extent.cx;
    COLORREF previous = SetTextColor(dc, restColour);
    DrawTextW(dc, rest, -1, &line, DT_NOPREFIX);
    SetTextColor(dc, previous);
}
