#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "answers/SourceOutput.h"

namespace {

// Feeds the bytes in pieces of the given size (0: all at once), as reads
// of a pipe may cut them, and ends the output.
void Feed(SourceOutput& output, const std::string& bytes, size_t piece) {
    size_t at = 0;
    while (at < bytes.size()) {
        int room = 0;
        char* space = output.Space(&room);
        if (!space) break;
        size_t n = piece ? piece : bytes.size();
        if (n > bytes.size() - at) n = bytes.size() - at;
        if (n > static_cast<size_t>(room)) n = static_cast<size_t>(room);
        memcpy(space, bytes.data() + at, n);
        output.Wrote(static_cast<int>(n));
        at += n;
    }
    output.End();
}

// Each answer as "title|target|leads" ("-" for none).
std::vector<std::string> Answers(const SourceOutput& output) {
    std::vector<std::string> all;
    char field[kPathBytes];
    for (int i = 0; i < output.Count(); ++i) {
        std::string answer;
        for (int f = SourceOutput::kTitle; f <= SourceOutput::kLeads; ++f) {
            answer += (f ? "|" : "") + std::string(output.Field(i, f, field) ? field : "-");
        }
        all.push_back(answer);
    }
    return all;
}

TEST(SourceOutputTest, LinesAreAnswersHoweverTheReadsCutThem) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string printed;
        std::vector<std::string> answers;
    } cases[] = {
        // A byte order mark first is none of the title.
        {"\xEF\xBB\xBF" "a\tC:\\a.exe\tthe a\r\nb\tC:\\b.exe\nplain\n",
         {"a|C:\\a.exe|the a", "b|C:\\b.exe|-", "plain|plain|-"}},
        // Empty lines and lines without a target are none; an empty title
        // is the target; where it leads keeps any further tabs.
        {"\n\r\nt\t\nt\t\tl\n\tx\ny\tz\tl\tm", {"x|x|-", "y|z|l\tm"}},
        // Invalid bytes, NULs, encoded surrogates and overlong forms as
        // U+FFFD; a character cut by a read is whole.
        {std::string("caf\xC3\xA9 \xFF") + '\0' + "\xED\xA0\x80\xC0\xAF!\n",
         {"caf\xC3\xA9 " + fffd + fffd + fffd + fffd + fffd + "!|caf\xC3\xA9 " + fffd + fffd + fffd + fffd + fffd +
              "!|-"}},
    };
    for (const Case& c : cases) {
        for (size_t piece : {0, 1, 2, 7}) {
            SourceOutput output;
            Feed(output, c.printed, piece);
            EXPECT_EQ(Answers(output), c.answers) << c.printed << " in pieces of " << piece;
        }
    }
}

TEST(SourceOutputTest, LongFieldsAndLongOutputsAreCutOnlyWhereNothingIsLost) {
    // A title too long for the strip is cut at a character's start; a
    // target that does not fit is none, never another one.
    std::string title;
    while (title.size() < kPathBytes + 10) title += "\xE2\x82\xAC";
    SourceOutput output;
    Feed(output, title + "\tC:\\a.exe\nshort\t" + std::string(kPathBytes, 'x') + "\n", 0);
    ASSERT_EQ(output.Count(), 2);
    char field[kPathBytes];
    ASSERT_TRUE(output.Field(0, SourceOutput::kTitle, field));
    EXPECT_EQ(strlen(field) % 3, 0u);
    EXPECT_EQ(title.compare(0, strlen(field), field), 0);
    EXPECT_GT(strlen(field), static_cast<size_t>(kPathBytes - 4));
    EXPECT_FALSE(output.Field(1, SourceOutput::kTarget, field));
    EXPECT_STREQ(field, "");

    // More lines than are taken: the first kMaxLines, and no more is read.
    std::string many;
    for (int i = 0; i < SourceOutput::kMaxLines + 100; ++i) many += "line " + std::to_string(i) + "\n";
    output.Clear();
    Feed(output, many, 100);
    EXPECT_EQ(output.Count(), SourceOutput::kMaxLines);
    int room = 0;
    EXPECT_EQ(output.Space(&room), nullptr);

    // More bytes than are taken: cut at the last whole line, the line cut
    // short by the bound never an answer; a last line without its break is
    // one when the output ended within the bounds.
    std::string big = "first\n" + std::string(SourceOutput::kMaxBytes, 'x') + "\n";
    output.Clear();
    Feed(output, big, 4096);
    EXPECT_EQ(Answers(output), std::vector<std::string>{"first|first|-"});
    output.Clear();
    Feed(output, "first\nlast", 3);
    EXPECT_EQ(output.Count(), 2);
}

}  // namespace
