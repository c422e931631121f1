// The settings file as Notepad saves it and as Kwivo writes it through its
// copy: encodings turned into UTF-16 with the original kept, and a write
// that changes one key and no other byte.
#include "settings/SettingsCopy.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/SettingsFile.h"
#include "support/Win32Test.h"

namespace {

class SettingsCopyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inFolder_.Changed()); }

    test::TempFolder folder_;
    test::CurrentDirectory inFolder_{folder_.Path()};
};

// The text's UTF-16LE bytes after the mark FF FE, or in big-endian order
// after FE FF.
std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
    wchar_t wide[256];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide, 256);
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (int i = 0; i < n; ++i) {
        char low = static_cast<char>(wide[i] & 0xFF);
        char high = static_cast<char>(static_cast<unsigned short>(wide[i]) >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST_F(SettingsCopyTest, UnicodeFilesNotepadSavesAreTurnedIntoUtf16AndOthersLeftAlone) {
    // A folder with an accent, as Notepad saves it: UTF-8 without a mark
    // (its default), with one, or UTF-16BE. Read through the ANSI code page,
    // the folder would not be the one written.
    const std::string text = "; mine\r\n[folders]\r\nZ:\\Caf\xC3\xA9=1\r\n";
    const std::string utf16 = Utf16Bytes(text, false);
    struct Case {
        std::string bytes;
        std::string after;  // the file's bytes once read
    };
    // A mark then bytes that are no UTF-8: converting would put U+FFFD for
    // them, so the file stays as the user wrote it.
    const std::string broken = "\xEF\xBB\xBF[folders]\r\nZ:\\Caf\xE9=1\r\n";
    const Case cases[] = {
        {text, utf16},
        {"\xEF\xBB\xBF" + text, utf16},
        {Utf16Bytes(text, true), utf16},
        {utf16, utf16},
        {"[folders]\r\nZ:\\Caf\xE9=1\r\n", "[folders]\r\nZ:\\Caf\xE9=1\r\n"},  // ANSI: no UTF-8
        {"[misc]\r\nruns=1\r\n", "[misc]\r\nruns=1\r\n"},                          // ASCII
        {broken, broken},
    };
    const std::string ini = folder_.File("kwivo.ini");
    const std::string backup = folder_.File("kwivo.ini.utf8.bak");
    for (const Case& c : cases) {
        DeleteFileA(backup.c_str());
        test::WriteTextFile(ini, c.bytes);
        SettingsFile settings("kwivo.ini");
        EXPECT_EQ(test::ReadTextFile(ini), c.after) << c.bytes;
        // What the user wrote is never lost by reading it: the bytes of a
        // converted file stay beside it.
        if (c.after != c.bytes) {
            EXPECT_EQ(test::ReadTextFile(backup), c.bytes);
        } else {
            EXPECT_FALSE(test::FileExists(backup)) << c.bytes;
        }
        if (c.after != utf16) continue;
        char section[256];
        char* cursor = settings.GetSection("folders", section, sizeof section);
        int depth = 0;
        char* key;
        ASSERT_EQ(settings.NextIntEntry(&cursor, &key, &depth), 1) << c.bytes;
        EXPECT_STREQ(key, "Z:\\Caf\xC3\xA9") << c.bytes;
        EXPECT_EQ(depth, 1);
    }
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 0);

    // The original is kept once: a later conversion leaves the first one's.
    for (const std::string& bytes : {"\xEF\xBB\xBF" + text, Utf16Bytes(text, true)}) {
        test::WriteTextFile(ini, bytes);
        SettingsFile settings("kwivo.ini");
        EXPECT_EQ(test::ReadTextFile(ini), utf16);
    }
    EXPECT_EQ(test::ReadTextFile(backup), "\xEF\xBB\xBF" + text);
}

TEST_F(SettingsCopyTest, AWriteKeepsEveryByteItDoesNotMeanToChange) {
    // A comment that holds a NUL and a line ended by a lone CR, in an ANSI
    // file and in UTF-16: "runs" at exit changes its own value alone.
    const char kMine[] = "; mine \0 here\r\n[ui]\rslidespeed=7\r\n[misc]\r\nruns=1\r\n";
    const char kAfter[] = "; mine \0 here\r\n[ui]\rslidespeed=7\r\n[misc]\r\nruns=2\r\n";
    const std::string mine(kMine, sizeof kMine - 1);
    const std::string after(kAfter, sizeof kAfter - 1);
    const std::string ini = folder_.File("kwivo.ini");
    for (bool wide : {false, true}) {
        test::WriteTextFile(ini, wide ? Utf16Bytes(mine, false) : mine);
        SettingsFile settings("kwivo.ini");
        ASSERT_EQ(settings.SetInt("misc", "runs", 2), 1) << wide;
        EXPECT_EQ(test::ReadTextFile(ini), wide ? Utf16Bytes(after, false) : after) << wide;
        EXPECT_EQ(settings.GetInt("misc", "runs", 0), 2);
    }
}

TEST_F(SettingsCopyTest, AUtf8FileReachedThroughALinkIsReadWithoutBeingRewritten) {
    // kwivo.ini as a link into a repository of dotfiles: reading it changes
    // nothing there.
    if (!test::UnderWine()) GTEST_SKIP() << "makes Unix links";
    const std::string text = "[folders]\r\nZ:\\Caf\xC3\xA9=1\r\n";
    CreateDirectoryA(folder_.File("dotfiles").c_str(), nullptr);
    test::WriteTextFile(folder_.File("dotfiles\\kwivo.ini"), text);
    ASSERT_TRUE(test::RunUnix("cd '" + test::UnixPath(folder_.Path()) + "' && ln -s dotfiles/kwivo.ini kwivo.ini"));
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(settings.GetInt("misc", "runs", 7), 7);
    EXPECT_EQ(test::ReadTextFile(folder_.File("dotfiles\\kwivo.ini")), text);
    EXPECT_EQ(test::CountFiles(folder_.File("dotfiles"), "*"), 3);  // ".", ".." and the file alone
}

}  // namespace
