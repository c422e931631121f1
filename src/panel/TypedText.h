#pragma once

#include <windows.h>

// Draws the typed text and its completion on one line, starting at r's top
// left: the typed text in the device context's text colour, the completion
// in its own. Left-to-right text is two pieces, the completion placed where
// the typed text ends. Text with right-to-left characters (Hebrew, Arabic)
// is one text, shaped and ordered once as the whole name reads, drawn in
// the completion colour and then again in the text colour where the typed
// characters' glyphs lie.
void DrawTypedText(HDC dc, const RECT& r, const wchar_t* typed, int typedUnits, const wchar_t* rest,
                   COLORREF restColour);

// 1 when the text holds a character of a right-to-left script, or a mark
// that orders text that way.
int HasRightToLeft(const wchar_t* text, int units);
