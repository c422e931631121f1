#include <gtest/gtest.h>

#include <string>

#include "answers/ScriptSources.h"

namespace {

TEST(ScriptSourcesTest, OnlyANameWithoutBlanksAndACommandWithOnePlaceForWordsAreKept) {
    // A section buffer: lines, each terminated, then an empty one.
    std::string section;
    for (const char* line : {"kill = C:\\Tools\\processes.exe %s", "none=C:\\Tools\\x.exe", "two=x.exe %s %s",
                             "two words=x.exe %s", "=x.exe %s", ";k=x.exe %s", "Win=\"C:\\w.exe\" --find %s"}) {
        section += line;
        section.push_back('\0');
    }
    section.push_back('\0');
    ScriptSources sources;
    sources.Take(section.data());
    EXPECT_EQ(sources.Count(), 2);
    struct {
        const char* text;
        const char* command;  // null: none
        const char* words;
    } cases[] = {
        {"KILL note pad", "C:\\Tools\\processes.exe %s", "note pad"},
        {"win ", "\"C:\\w.exe\" --find %s", ""},
        {"kill", nullptr, nullptr},
        {"kil x", nullptr, nullptr},
        {"none x", nullptr, nullptr},
        {"two x", nullptr, nullptr},
        {"two words x", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const char* words = nullptr;
        const char* command = sources.Find(c.text, &words);
        EXPECT_STREQ(command, c.command) << c.text;
        if (c.command) {
            EXPECT_STREQ(words, c.words) << c.text;
        }
    }
    // Taken anew: the old lines go.
    const char empty[2] = {0, 0};
    sources.Take(empty);
    const char* words = nullptr;
    EXPECT_EQ(sources.Find("kill x", &words), nullptr);
}

}  // namespace
