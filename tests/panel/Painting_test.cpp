#include "panel/Painting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/Canvas.h"
#include "support/TestLauncher.h"

namespace {

using test::Canvas;
using test::TestLauncher;

const COLORREF kBack = RGB(232, 95, 25);
const COLORREF kText = RGB(255, 255, 255);
const COLORREF kCompletion = RGB(0, 160, 0);
const COLORREF kBlack = RGB(0, 0, 0);

TEST(Painting, EmptyStripShowsFrameAndPromptOnly) {
    TestLauncher l;
    Canvas c(l);
    ASSERT_EQ(c.W(), 480);
    ASSERT_EQ(c.H(), 30);
    EXPECT_EQ(c.At(0, 0), kBlack);  // the frame, in the default pen
    EXPECT_EQ(c.At(479, 29), kBlack);
    EXPECT_EQ(c.At(240, 0), kBlack);
    EXPECT_EQ(c.At(2, 2), kBack);
    EXPECT_EQ(c.At(470, 27), kBack);
    int first, last;
    ASSERT_TRUE(c.Columns(kText, 0, 0, 480, 30, &first, &last));
    EXPECT_GE(first, 5);  // ">" drawn from (5, 5)
    EXPECT_LT(last, 15);
    EXPECT_TRUE(c.Columns(kText, 5, 5, 15, 6 + c.LineHeight(), &first, &last));
}

TEST(Painting, CompletionStartsWhereTheTypedTextEnds) {
    TestLauncher l;
    l.completionColour = kCompletion;
    l.catalogue.Add("C:\\Windows\\notepad.exe");
    l.Type("no");
    ASSERT_STREQ(l.completion, "tepad.exe");
    Canvas c(l);
    int typedEnd = 15 + c.TextWidth("no");
    int first, last;
    ASSERT_TRUE(c.Columns(kText, 15, 5, 475, 25, &first, &last));
    EXPECT_GE(first, 15);
    EXPECT_LT(last, typedEnd);
    ASSERT_TRUE(c.Columns(kCompletion, 5, 0, 480, 30, &first, &last));
    EXPECT_GE(first, typedEnd);
    EXPECT_LE(first, typedEnd + 2);  // a glyph's own left bearing at most
    EXPECT_LE(last, typedEnd + c.TextWidth("tepad.exe"));
    // The same line: completion pixels lie within the text rows.
    int top = -1, bottom = -1;
    for (int y = 0; y < 30; ++y) {
        for (int x = first; x <= last; ++x) {
            if (c.At(x, y) == kCompletion) {
                if (top < 0) top = y;
                bottom = y;
            }
        }
    }
    EXPECT_GE(top, 5);
    EXPECT_LT(bottom, 5 + c.LineHeight());
    EXPECT_EQ(GetTextColor(c.Dc()), kText);  // put back after the completion
}

TEST(Painting, AmpersandsAreDrawnAsTheyStand) {
    // As a mnemonic prefix "&" would be hidden: the typed text would end
    // short of where the completion is placed, and the completion lose one.
    TestLauncher l;
    l.completionColour = kCompletion;
    l.catalogue.Add("C:\\x\\R&D&Co.exe");
    l.Type("r&d");
    ASSERT_STREQ(l.completion, "&Co.exe");
    Canvas c(l);
    int typedEnd = 15 + c.TextWidth("r&d");
    int slack = c.TextWidth("&") / 2;
    int first, last;
    ASSERT_TRUE(c.Columns(kText, 15, 5, 475, 25, &first, &last));
    EXPECT_GT(last, typedEnd - slack);
    ASSERT_TRUE(c.Columns(kCompletion, 5, 0, 480, 30, &first, &last));
    EXPECT_GT(last, typedEnd + c.TextWidth("&Co.exe") - slack);
}

// The columns of each row, within [left, right), that hold the colour: a
// glyph's shape.
std::string Shape(const Canvas& c, COLORREF colour, int left, int right) {
    std::string shape;
    for (int y = 0; y < c.H(); ++y) {
        for (int x = left; x < right; ++x) shape += c.At(x, y) == colour ? '#' : '.';
    }
    return shape;
}

TEST(Painting, CharactersBeyondTheCodePageAreDrawnAsTheirGlyphs) {
    // The typed 日 and its completion 本 look as the font draws them, not as
    // "?" or the bytes of their WTF-8 form would.
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"WenQuanYi Micro Hei");
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    wchar_t face[64] = L"";
    GetTextFaceW(screen, 64, face);
    SIZE one;
    GetTextExtentPoint32W(screen, L"\x65E5", 1, &one);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    if (std::wstring(face) != L"WenQuanYi Micro Hei") {
        DeleteObject(font);
        GTEST_SKIP() << "no CJK font here";
    }
    // Painted with the font selected, as the window framework does it.
    auto paint = [&](TestLauncher& l, Canvas& c) {
        SelectObject(c.Dc(), font);
        l.OnPaint(c.Dc());
    };
    TestLauncher l;
    l.completionColour = kText;
    l.catalogue.Add("C:\\x\\\xE6\x97\xA5\xE6\x9C\xAC.exe");  // 日本.exe
    l.input.PutText("\xE6\x97\xA5");
    l.UpdateCompletion();
    ASSERT_STREQ(l.completion, "\xE6\x9C\xAC.exe");
    Canvas strip(l);
    paint(l, strip);

    TestLauncher empty;
    Canvas reference(empty);
    paint(empty, reference);
    RECT r = {15, 5, 475, 25};
    DrawTextW(reference.Dc(), L"\x65E5\x672C", 2, &r, DT_NOPREFIX);
    std::string drawn = Shape(strip, kText, 15, 15 + 2 * one.cx);
    EXPECT_NE(drawn.find('#'), std::string::npos);
    EXPECT_EQ(drawn, Shape(reference, kText, 15, 15 + 2 * one.cx));
    DeleteObject(font);
}

TEST(Painting, InformationViewIsBlackAndItsBoxCutsTheBannerLine) {
    TestLauncher l;
    l.completionColour = kCompletion;
    l.catalogue.Add("C:\\a\\b.exe");
    l.Type("b");
    l.infoVisible = 1;
    l.height = LauncherWindow::kExpandedHeight;
    Canvas c(l);
    ASSERT_EQ(c.H(), 210);
    int L = c.LineHeight();
    int first, last;
    // Below the input line only black text, whatever the strip's colours.
    EXPECT_FALSE(c.Columns(kText, 0, 5 + L, 480, 210, &first, &last));
    EXPECT_FALSE(c.Columns(kCompletion, 0, 5 + L, 480, 210, &first, &last));
    EXPECT_TRUE(c.Columns(kBlack, 11, 5 + L + 2, 469, 200, &first, &last));
    EXPECT_GE(first, 10);

    // The box: its top edge through the middle of the banner line, its left
    // edge at 5, its bottom at H - 5 (the last pixel row H - 6).
    int edge = 5 + L + L / 2;
    EXPECT_EQ(c.At(c.W() - 7, edge), kBlack);
    EXPECT_EQ(c.At(c.W() - 7, edge - 1), kBack);
    EXPECT_EQ(c.At(c.W() - 7, edge + 1), kBack);
    EXPECT_EQ(c.At(5, 100), kBlack);
    EXPECT_EQ(c.At(4, 100), kBack);
    EXPECT_EQ(c.At(100, 210 - 6), kBlack);
    EXPECT_EQ(c.At(100, 210 - 5), kBack);
    // The banner is drawn on its own band over the edge.
    EXPECT_TRUE(c.Columns(kBack, 11, edge, 40, edge + 1, &first, &last));
}

TEST(Painting, InformationText) {
    char text[1024];
    int n = FormatInfoText(text, 1234, 56, 0);
    EXPECT_EQ(n, static_cast<int>(strlen(text)));
    std::string s(text);
    EXPECT_EQ(s.substr(0, 13), "Kwivo v1.0r3\n");
    EXPECT_NE(s.find("\n ALT-SPACE\tShow/Hide Kwivo (Go on! Try it now...)\n"), std::string::npos);
    EXPECT_NE(s.find("\n / \t\tShow/Hide this information\n"), std::string::npos);
    EXPECT_NE(s.find("\n /q\t\tQuit\n\n"), std::string::npos);
    EXPECT_EQ(s.substr(s.rfind('\n') + 1), " Files:\t1234\tRuns:\t56\tMemory:\t0K");
    int lines = 1;
    for (char ch : s) lines += ch == '\n';
    EXPECT_EQ(lines, 11);
    // Line 2: one line of notice, beginning with a space.
    std::string second = s.substr(13, s.find('\n', 13) - 13);
    EXPECT_EQ(second[0], ' ');
    EXPECT_GT(second.size(), 1u);

    EXPECT_GT(GetWorkingSetKB(), 0);
}

}  // namespace

namespace {

// The pixels of the text line that are not the strip's background.
std::string Ink(const Canvas& c) {
    std::string ink;
    for (int y = 5; y < 25; ++y) {
        for (int x = 15; x < 475; ++x) ink += c.At(x, y) == kBack ? '.' : '#';
    }
    return ink;
}

int CountColour(const Canvas& c, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < c.H(); ++y) {
        for (int x = 0; x < c.W(); ++x) n += c.At(x, y) == colour;
    }
    return n;
}

TEST(Painting, TheFontSettingDrawsInTheDesktopsMessageFontWithEveryScriptsGlyphs) {
    // font=*: the message font, which the system links to fonts of other
    // scripts. The typed 日 and its completion 本 are the font's glyphs,
    // not the box of a character it lacks.
    TestLauncher l;
    l.stripFont.Parse("*");
    l.font = l.stripFont.Create(96, 20);
    ASSERT_NE(l.font, nullptr);
    l.completionColour = kText;
    l.catalogue.Add("C:\\x\\\xE6\x97\xA5\xE6\x9C\xAC.exe");  // 日本.exe
    l.input.PutText("\xE6\x97\xA5");
    l.UpdateCompletion();
    Canvas strip(l, l.font);

    TestLauncher empty;
    Canvas reference(empty, l.font);
    RECT r = {15, 5, 475, 25};
    DrawTextW(reference.Dc(), L"\x65E5\x672C.exe", -1, &r, DT_NOPREFIX);
    EXPECT_EQ(Ink(strip), Ink(reference));
    TestLauncher missing;
    Canvas box(missing, l.font);
    DrawTextW(box.Dc(), L"\xE000\xE000.exe", -1, &r, DT_NOPREFIX);  // no font has these
    EXPECT_NE(Ink(strip), Ink(box));
    LOGFONTW chosen;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(GetObjectW(l.font, sizeof chosen, &chosen));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_STREQ(chosen.lfFaceName, metrics.lfMessageFont.lfFaceName);
}

TEST(Painting, HostileFontSettingsFallBackAndTheTextStillFits) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const std::wstring message = metrics.lfMessageFont.lfFaceName;
    const LONG messageHeight = metrics.lfMessageFont.lfHeight;
    struct Case {
        std::string setting;
        std::wstring face;  // what the font asks GDI for
        LONG height;        // 0: reduced to fit, whatever it was
    };
    const Case cases[] = {
        {std::string(300, 'x'), message, messageHeight},    // no face GDI takes
        {"Seg\x01oe UI,12", message, -16},                     // a control character
        {"@Tahoma,12", message, -16},                          // turned for vertical writing
        {"No Such Face Here", L"No Such Face Here", messageHeight},  // GDI substitutes
        {"*,0", message, messageHeight},
        {"*,-5", message, messageHeight},
        {"*,9999", message, messageHeight},
        {"*,twelve", message, messageHeight},
        {" Tahoma , 10 ", L"Tahoma", -13},
        {"*,72", message, 0},  // far too tall for the strip
    };
    for (const Case& c : cases) {
        StripFont font;
        font.Parse(c.setting.c_str());
        HFONT made = font.Create(96, 20);
        ASSERT_NE(made, nullptr) << c.setting;
        LOGFONTW chosen;
        ASSERT_TRUE(GetObjectW(made, sizeof chosen, &chosen));
        EXPECT_EQ(std::wstring(chosen.lfFaceName), c.face) << c.setting;
        if (c.height) {
            EXPECT_EQ(chosen.lfHeight, c.height) << c.setting;
        }
        HDC screen = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, made);
        TEXTMETRICW text;
        GetTextMetricsW(screen, &text);
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
        EXPECT_LE(text.tmHeight, 20) << c.setting;
        TestLauncher l;
        l.Type("x");
        Canvas strip(l, made);
        EXPECT_NE(Ink(strip).find('#'), std::string::npos) << c.setting;
        DeleteObject(made);
    }
}

TEST(Painting, RightToLeftNamesAreDrawnAsTheWholeNameWithTheTypedPartInTheTextColour) {
    // Hebrew, whose order two pieces would break, and Arabic, whose lam-alef
    // ligature they would break.
    struct Case {
        const char* name;
        const char* typed;
        const wchar_t* whole;
    };
    const Case cases[] = {
        {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D.exe", "\xD7\xA9\xD7\x9C",
         L"\x05E9\x05DC\x05D5\x05DD\x05E2\x05D5\x05DC\x05DD.exe"},
        {"\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85.exe", "\xD8\xB3\xD9\x84", L"\x0633\x0644\x0627\x0645.exe"},
    };
    // A face with these scripts' glyphs, as the [ui] font setting names it.
    StripFont face;
    face.Parse("DejaVu Sans,11");
    HFONT font = face.Create(96, 20);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    wchar_t name[64] = L"";
    GetTextFaceW(screen, 64, name);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    if (std::wstring(name) != L"DejaVu Sans") {
        DeleteObject(font);
        GTEST_SKIP() << "no DejaVu Sans here";
    }
    for (const Case& c : cases) {
        TestLauncher l;
        l.completionColour = kCompletion;
        l.catalogue.Add((std::string("C:\\x\\") + c.name).c_str());
        l.input.PutText(c.typed);
        l.UpdateCompletion();
        ASSERT_NE(l.completion, nullptr) << c.typed;
        Canvas strip(l, font);
        TestLauncher empty;
        Canvas reference(empty, font);
        RECT r = {15, 5, 475, 25};
        DrawTextW(reference.Dc(), c.whole, -1, &r, DT_NOPREFIX);
        EXPECT_EQ(Ink(strip), Ink(reference)) << c.typed;
        // The typed two letters in the text colour, the longer rest in the
        // completion's: the two colours swapped would give the rest more of
        // the text colour.
        int typed = CountColour(strip, kText);
        EXPECT_GT(typed, 0) << c.typed;
        EXPECT_LT(typed, CountColour(strip, kCompletion)) << c.typed;
    }
    DeleteObject(font);
}

}  // namespace
