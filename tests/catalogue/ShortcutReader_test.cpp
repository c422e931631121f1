#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/ShortcutParser.h"
#include "support/ShellLink.h"
#include "support/Win32Test.h"

namespace {

std::string Read(const std::string& link) {
    char target[kPathBytes];
    strcpy(target, "untouched");
    if (!Catalogue::ReadShortcutTarget(target, link.c_str())) {
        EXPECT_STREQ(target, "untouched");
        return "<none>";
    }
    return target;
}

std::string LongPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? buffer : "<no long path>";
}

TEST(ShortcutReader, LinksWrittenByTheShell) {
    test::TempFolder folder;
    std::string tool = folder.File("Long Tool Name.exe");
    test::WriteTextFile(tool, "MZ");
    ASSERT_TRUE(test::MakeShellLink(folder.File("tool.lnk"), tool));
    EXPECT_EQ(Read(folder.File("tool.lnk")), LongPath(tool));

    // A link to a folder names the folder.
    CreateDirectoryA(folder.File("Projects").c_str(), nullptr);
    ASSERT_TRUE(test::MakeShellLink(folder.File("projects.lnk"), folder.File("Projects")));
    EXPECT_EQ(Read(folder.File("projects.lnk")), LongPath(folder.File("Projects")));
}

TEST(ShortcutReader, ShortNamesComeBackInTheirLongForm) {
    test::TempFolder folder;
    CreateDirectoryA(folder.File("Program Files Here").c_str(), nullptr);
    std::string tool = folder.File("Program Files Here\\Application.exe");
    test::WriteTextFile(tool, "MZ");
    char shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(tool.c_str(), shortPath, sizeof shortPath), 0u);
    ASSERT_NE(std::string(shortPath), tool) << "no 8.3 names here";
    ASSERT_TRUE(test::MakeShellLink(folder.File("app.lnk"), shortPath));
    EXPECT_EQ(Read(folder.File("app.lnk")), LongPath(tool));
}

TEST(ShortcutReader, MissingTargetKeepsTheStoredPath) {
    test::TempFolder folder;
    std::string tool = folder.File("gone.exe");
    test::WriteTextFile(tool, "MZ");
    ASSERT_TRUE(test::MakeShellLink(folder.File("gone.lnk"), tool));
    std::string stored = Read(folder.File("gone.lnk"));
    ASSERT_NE(stored, "<none>");
    ASSERT_TRUE(DeleteFileA(tool.c_str()));
    EXPECT_EQ(Read(folder.File("gone.lnk")), stored);
}

TEST(ShortcutReader, FilesThatAreNoLinks) {
    test::TempFolder folder;
    EXPECT_EQ(Read(folder.File("missing.lnk")), "<none>");
    test::WriteTextFile(folder.File("x.lnk"), "this is text, not a link");
    EXPECT_EQ(Read(folder.File("x.lnk")), "<none>");
    test::WriteTextFile(folder.File("empty.lnk"), "");
    EXPECT_EQ(Read(folder.File("empty.lnk")), "<none>");
}

TEST(ShortcutReader, FilesOverTheSizeBoundAreNotRead) {
    test::TempFolder folder;
    std::string tool = folder.File("tool.exe");
    test::WriteTextFile(tool, "MZ");
    ASSERT_TRUE(test::MakeShellLink(folder.File("tool.lnk"), tool));

    // Padding after a link changes nothing up to the bound; one byte more and
    // the file is not read at all.
    std::string link;
    {
        FILE* f = fopen(folder.File("tool.lnk").c_str(), "rb");
        ASSERT_NE(f, nullptr);
        int c;
        while ((c = fgetc(f)) != EOF) link += static_cast<char>(c);
        fclose(f);
    }
    for (size_t size : {kMaxShortcutBytes, kMaxShortcutBytes + 1}) {
        std::string padded = link;
        padded.resize(size, '\0');
        std::string path = folder.File("padded.lnk");
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(padded.data(), 1, padded.size(), f);
        fclose(f);
        EXPECT_EQ(Read(path), size <= kMaxShortcutBytes ? LongPath(tool) : "<none>") << size;
    }
}

}  // namespace
