#include <gtest/gtest.h>

#include <cstring>

#include "support/TestLauncher.h"
#include "text/SystemTextFold.h"

namespace {

TEST(SystemTextFold, AccentsAndLetterCaseOfEveryScriptThroughTheSystemsTables) {
    const struct {
        const char* text;
        const char* folded;
    } cases[] = {
        {"C\xC3\xA2mera", "camera"},                           // Câmera
        {"\xC3\x89T\xC3\x89", "ete"},                          // ÉTÉ
        {"\xC3\x85ngstr\xC3\xB6m", "angstrom"},                // Ångström
        {"\xD0\x91\xD0\xBB\xD0\xBE\xD0\xBA", "\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBA"},  // Блок
        {"e\xCC\x81", "e"},                                    // e and a combining acute
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本: nothing to fold
        {"Plain ASCII.exe", "plain ascii.exe"},
        {"", ""},
    };
    SystemTextFold fold;
    for (const auto& c : cases) {
        char out[64];
        EXPECT_EQ(fold.Fold(out, sizeof out, c.text, static_cast<int>(strlen(c.text))),
                  static_cast<int>(strlen(c.folded)))
            << c.text;
        EXPECT_STREQ(out, c.folded);
    }
    char small[4];
    EXPECT_EQ(fold.Fold(small, sizeof small, "C\xC3\xA2mera", 7), -1);  // never a cut fold
}

TEST(SystemTextFold, TypedAccentsAndWordsInTheStrip) {
    test::TestLauncher l;
    l.options.accents = l.options.words = 1;
    l.catalogue.fold = &l.textFold;
    l.catalogue.words = 1;
    l.catalogue.Add("C:\\Apps\\C\xC3\xA2mera.exe");
    l.catalogue.Add("C:\\Apps\\Visual Studio Code.exe");
    l.catalogue.Add("C:\\Apps\\Very Simple Calculator.exe");
    l.Type("CAM");
    EXPECT_STREQ(l.completion, "era.exe");
    l.OnChar('\t');
    EXPECT_STREQ(l.input.text, "CAMera.exe");
    l.input.Clear();
    // A word match shows the whole name, set apart, the shortest first; Down
    // steps to the next; Tab puts the name in the text's place.
    l.Type("c");
    EXPECT_STREQ(l.completion, "\xC3\xA2mera.exe");
    l.Type("ode");
    EXPECT_STREQ(l.completion, " \xC2\xBB Visual Studio Code.exe");
    l.input.Clear();
    l.Type("vsc");
    EXPECT_STREQ(l.completion, " \xC2\xBB Visual Studio Code.exe");
    l.OnKeyDown(VK_DOWN);
    EXPECT_STREQ(l.completion, " \xC2\xBB Very Simple Calculator.exe");
    l.OnChar('\t');
    EXPECT_STREQ(l.input.text, "Very Simple Calculator.exe");
    EXPECT_STREQ(l.current.entry->Name(), "Very Simple Calculator.exe");
}

}  // namespace
