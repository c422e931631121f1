#include <gtest/gtest.h>

#include <string>

#include "support/LaunchTest.h"

namespace {

class StripCalculationTest : public test::LaunchTest {
protected:
    std::string Clipboard() {
        std::string text;
        if (!OpenClipboard(nullptr)) return "<no clipboard>";
        HANDLE memory = GetClipboardData(CF_TEXT);
        const char* p = memory ? static_cast<const char*>(GlobalLock(memory)) : nullptr;
        if (p) text = p;
        if (memory) GlobalUnlock(memory);
        CloseClipboard();
        return text;
    }
};

TEST_F(StripCalculationTest, AnExpressionShowsItsValueWhichEnterCopiesAndNoValueKeepsTheText) {
    // Off unless written: "=" is text like any other.
    l_.Type("=1+2");
    EXPECT_EQ(l_.completion, nullptr);

    l_.options.calc = 1;
    l_.input.Clear();
    l_.Type("=2*(3+4)");
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_STREQ(l_.completion, " = 14");
    char shown[64];
    l_.ShownText(shown, sizeof shown);
    EXPECT_STREQ(shown, "=2*(3+4) = 14");
    // The value is no completion to take or to step from.
    l_.OnChar('\t');
    l_.OnKeyDown(VK_DOWN);
    EXPECT_STREQ(l_.input.text, "=2*(3+4)");
    EXPECT_STREQ(l_.completion, " = 14");
    l_.OnChar('\r');
    EXPECT_EQ(Clipboard(), "14");
    EXPECT_TRUE(Dismissed());

    // No value: Enter leaves the strip and the text for an edit.
    l_.Type("=1/0");
    EXPECT_EQ(l_.completion, nullptr);
    l_.OnChar('\r');
    EXPECT_STREQ(l_.input.text, "=1/0");
    EXPECT_EQ(Clipboard(), "14");
}

}  // namespace
