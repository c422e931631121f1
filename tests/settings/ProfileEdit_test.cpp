#include "settings/ProfileEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<ProfileUnit> Units(const std::string& text) {
    return std::vector<ProfileUnit>(text.begin(), text.end());
}

std::string Set(const std::string& text, const char* section, const char* key, const char* value) {
    std::vector<ProfileUnit> in = Units(text);
    std::vector<ProfileUnit> names[3] = {Units(section), Units(key), Units(value)};
    for (auto& name : names) name.push_back(0);
    std::vector<ProfileUnit> out(ProfileEditSize(in.size(), strlen(section), strlen(key), strlen(value)));
    size_t n = SetProfileKey(in.data(), in.size(), names[0].data(), names[1].data(), names[2].data(), out.data());
    EXPECT_LE(n, out.size());
    return std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
}

TEST(ProfileEdit, AWriteChangesTheKeyItWritesAndNoOtherByte) {
    struct Case {
        std::string before;
        std::string after;  // with runs=3 set in [misc]
    };
    const std::string nul("; a comment \0 with a NUL\r\n", 25);
    const Case cases[] = {
        {"", "[misc]\r\nruns=3\r\n"},
        {"[ui]\r\nslidespeed=7\r\n", "[ui]\r\nslidespeed=7\r\n[misc]\r\nruns=3\r\n"},
        {"[ui]\r\nslidespeed=7", "[ui]\r\nslidespeed=7\r\n[misc]\r\nruns=3\r\n"},  // no last line break
        {"[misc]\r\nruns=1\r\n", "[misc]\r\nruns=3\r\n"},
        {"[MISC]\r\n  Runs = 12 \r\n", "[MISC]\r\n  Runs =3\r\n"},  // letter case and blanks of the key kept
        {nul + "[misc]\r\nruns=1\r\n", nul + "[misc]\r\nruns=3\r\n"},
        {"[misc]\rwatch=1\rruns=1\r[ui]\r", "[misc]\rwatch=1\rruns=3\r[ui]\r"},  // lone CRs
        {"[misc]\nwatch=1\n\n[ui]\nx=1\n", "[misc]\nwatch=1\nruns=3\r\n\n[ui]\nx=1\n"},
        {"[misc]\r\n;runs=5\r\nruns5=1\r\n", "[misc]\r\n;runs=5\r\nruns5=1\r\nruns=3\r\n"},  // a comment is no key
        {"[misc]\r\nruns=1\r\n[misc]\r\nruns=2\r\n", "[misc]\r\nruns=3\r\n[misc]\r\nruns=2\r\n"},  // the first
        {"[ui]\r\nruns=1\r\n", "[ui]\r\nruns=1\r\n[misc]\r\nruns=3\r\n"},  // another section's key
    };
    for (const Case& c : cases) EXPECT_EQ(Set(c.before, "misc", "runs", "3"), c.after) << c.before;
    // A key that holds "=" (a folder path) is the text before the last one.
    EXPECT_EQ(Set("[folders]\r\nC:\\a=b=1\r\n", "folders", "C:\\a=b", "0"), "[folders]\r\nC:\\a=b=0\r\n");
}

}  // namespace
