#pragma once

#include <windows.h>

#include <cstring>

#include "support/TestLauncher.h"

namespace test {

// Paints the strip into a memory bitmap of the window's size, as the window
// framework would: text background and text colour set, and the font when
// one is given.
class Canvas {
public:
    explicit Canvas(TestLauncher& l, HFONT font = nullptr) {
        MoveWindow(l.hwnd, 0, 0, l.width, l.height, FALSE);
        RECT r;
        GetClientRect(l.hwnd, &r);
        width_ = r.right;
        height_ = r.bottom;
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, width_, height_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        SetBkColor(dc_, l.backColour);
        SetTextColor(dc_, l.textColour);
        if (font) SelectObject(dc_, font);
        l.OnPaint(dc_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // The first and last columns within rows [top, bottom) that hold the colour.
    bool Columns(COLORREF c, int left, int top, int right, int bottom, int* first, int* last) const {
        *first = -1;
        *last = -1;
        for (int x = left; x < right; ++x) {
            for (int y = top; y < bottom; ++y) {
                if (At(x, y) == c) {
                    if (*first < 0) *first = x;
                    *last = x;
                    break;
                }
            }
        }
        return *first >= 0;
    }
    int TextWidth(const char* text) const {
        SIZE size;
        GetTextExtentPoint32A(dc_, text, static_cast<int>(strlen(text)), &size);
        return size.cx;
    }
    int LineHeight() const {
        SIZE size;
        GetTextExtentPoint32A(dc_, "A", 1, &size);
        return size.cy;
    }
    HDC Dc() const { return dc_; }
    int W() const { return width_; }
    int H() const { return height_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    int width_, height_;
};

}  // namespace test
