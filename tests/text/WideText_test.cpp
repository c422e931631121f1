// Names beyond the ANSI code page, from the keyboard to the file system and
// back: catalogued, typed as the platform sends characters (UTF-16 units, a
// pair as two), launched, pasted, copied and written to kwivo.ini.

#include <gtest/gtest.h>

#include <string>

#include "settings/SettingsFile.h"
#include "support/LaunchTest.h"

namespace {

std::wstring Wide(const std::string& utf8) {
    wchar_t out[1024];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out, 1024);
    return n > 0 ? std::wstring(out) : std::wstring();
}

// Types the text as character messages would bring it.
void TypeUnits(test::TestLauncher& l, const std::string& utf8) {
    for (wchar_t unit : Wide(utf8)) l.OnChar(static_cast<unsigned short>(unit));
}

class WideTextTest : public test::LaunchTest {
protected:
    // A copy of the recorder under the name, in a folder of the test's.
    std::string AddProgram(const std::string& folder, const std::string& name) {
        std::string path = folder + "\\" + name;
        CreateDirectoryW(Wide(folder).c_str(), nullptr);
        EXPECT_TRUE(CopyFileW(Wide(recorder_).c_str(), Wide(path).c_str(), FALSE)) << path;
        return path;
    }
};

TEST_F(WideTextTest, NamesInOtherScriptsAreCompletedAndLaunchedExactly) {
    const std::string uni = folder_.File("Uni");
    const char* const names[] = {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB.exe",  // 日本語ツール
                                 "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.exe",  // Ελληνικά
                                 "\xF0\x9F\x98\x80smile.exe"};  // an emoji, beyond the BMP
    for (const char* name : names) AddProgram(uni, name);
    ExtensionNode exe(".exe", nullptr);
    l_.catalogue.Scan(uni.c_str(), &exe, 1);
    ASSERT_EQ(l_.catalogue.Count(), 3);

    int launched = 0;
    for (const char* name : names) {
        std::string path = uni + "\\" + name;
        // The first character (the emoji's two units) and one more.
        std::wstring wide = Wide(name);
        for (size_t i = 0; i < (wide[0] >= 0xD800 && wide[0] <= 0xDBFF ? 3u : 2u); ++i) {
            l_.OnChar(static_cast<unsigned short>(wide[i]));
        }
        ASSERT_NE(l_.current.entry, nullptr) << name;
        EXPECT_EQ(std::string(l_.current.entry->path), path);
        EXPECT_EQ(std::string(l_.input.text) + l_.completion, name);
        l_.OnChar('\r');
        std::string recorded = Recorded(++launched);
        EXPECT_NE(recorded.find(path + "|\"" + path + "\"\n"), std::string::npos) << recorded;
        EXPECT_TRUE(Dismissed());
    }
}

TEST_F(WideTextTest, PasteTakesWholeCharactersAndCopyGivesUnicodeText) {
    ASSERT_TRUE(OpenClipboard(l_.hwnd));
    EmptyClipboard();
    const wchar_t pasted[] = L"\x65E5\x672C\xD800\xD83D\xDE00x";  // 日本, a lone surrogate, an emoji, x
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    memcpy(GlobalLock(memory), pasted, sizeof pasted);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(l_.hwnd, WM_PASTE, 0, 0);
    EXPECT_EQ(std::string(l_.input.text), "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80x");
    EXPECT_EQ(l_.input.units, 5);

    SendMessageW(l_.hwnd, WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(l_.hwnd));
    HANDLE copied = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(copied))), L"\x65E5\x672C\xD83D\xDE00x");
    GlobalUnlock(copied);
    CloseClipboard();
}

TEST_F(WideTextTest, AFolderAnAnsiFileCannotHoldTurnsItIntoUtf16Once) {
    // An ANSI kwivo.ini whose folder holds é (Windows-1252) still reads.
    if (GetACP() != 1252) GTEST_SKIP() << "written for the ANSI code page 1252";
    const std::string cafe = folder_.File("caf\xC3\xA9");
    std::string old = AddProgram(cafe, "kwivocafe.exe");
    const std::string ini = folder_.File("kwivo.ini");
    const std::string ansi = "[ui]\r\nslidespeed=100\r\n[folders]\r\n" + folder_.File("caf\xE9") + "=1\r\n";
    test::WriteTextFile(ini, ansi.c_str());
    {
        SettingsFile settings("kwivo.ini");
        l_.RebuildCatalogue(settings);
    }
    EXPECT_NE(l_.catalogue.FindPath(old.c_str()), nullptr);

    // " /s" with a Japanese folder: the file becomes UTF-16LE with its
    // mark, every earlier line kept, then the folder is written and scanned.
    const std::string japanese = folder_.File("\xE8\xA1\xA8\xE3\x82\xBD");  // 表ソ
    std::string tool = AddProgram(japanese, "kwivojp.exe");
    TypeUnits(l_, japanese + " /s");
    l_.OnChar('\r');
    EXPECT_TRUE(Dismissed());
    EXPECT_NE(l_.catalogue.FindPath(tool.c_str()), nullptr);
    {
        SettingsFile settings("kwivo.ini");
        EXPECT_EQ(settings.SetInt("misc", "runs", 3), 1);  // the next write keeps UTF-16
    }
    std::string bytes = test::ReadTextFile(ini);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    for (const std::wstring& line : {Wide("slidespeed=100\r\n"), Wide(folder_.File("caf\xC3\xA9") + "=1\r\n"),
                                     Wide(japanese + "=1\r\n"), Wide("runs=3\r\n")}) {
        EXPECT_NE(text.find(line), std::wstring::npos);
    }
    EXPECT_FALSE(test::FileExists(ini + ".tmp"));
}

// Run by tests/app/code_page_932.sh in a prefix whose ANSI code page is
// 932, where the bytes of a double-byte character include 0x5C and A-Z.
TEST_F(WideTextTest, CodePage932TypingBackspaceAndAFolderEndingInSo) {
    if (GetACP() != 932) GTEST_SKIP() << "needs the ANSI code page 932";
    TypeUnits(l_, "\xE3\x82\xA2\xE3\x82\xBD");  // アソ: 83 41 and 83 5C there
    EXPECT_EQ(l_.input.units, 2);
    l_.OnChar(8);
    EXPECT_EQ(std::string(l_.input.text), "\xE3\x82\xA2");  // the whole ソ erased
    l_.OnChar(8);
    const std::string folder = folder_.File("\xE8\xA1\xA8\xE3\x82\xBD");  // 表ソ
    std::string tool = AddProgram(folder, "kwivotool.exe");
    TypeUnits(l_, folder + "\\kwivot");
    ASSERT_NE(l_.completion, nullptr);
    EXPECT_STREQ(l_.completion, "ool.exe");
    l_.OnChar('\r');
    std::string recorded = Recorded();
    EXPECT_EQ(recorded.substr(0, tool.size() + 1), tool + "|") << recorded;
}

}  // namespace
