// The documents opened lately, from the shortcuts of a Recent folder.

#include "catalogue/RecentDocuments.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/SkipPatterns.h"
#include "support/ShellLink.h"
#include "support/Win32Test.h"

namespace {

// Sets a file's last write time, minutes after a fixed moment.
void Written(const std::string& path, int minutes) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    unsigned long long when = 133000000000000000ull + static_cast<unsigned long long>(minutes) * 600000000ull;
    FILETIME time = {static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

TEST(RecentDocuments, TheNewerOfOneNameFirstAndOnlyDocumentsThatAreThere) {
    test::TempFolder folder;
    for (const char* sub : {"a", "b", "Recent", "Projects"}) CreateDirectoryA(folder.File(sub).c_str(), nullptr);
    for (const char* file : {"a\\report.txt", "b\\report.txt", "notes.md", "gone.txt"}) {
        test::WriteTextFile(folder.File(file), "text");
    }
    struct Link {
        const char* name;
        const char* target;
        int minutes;
    } links[] = {{"report-b.lnk", "b\\report.txt", 20}, {"report-a.lnk", "a\\report.txt", 10},
                 {"notes.lnk", "notes.md", 30}, {"gone.lnk", "gone.txt", 40}, {"projects.lnk", "Projects", 50}};
    for (const Link& link : links) {
        std::string path = folder.File(std::string("Recent\\") + link.name);
        ASSERT_TRUE(test::MakeShellLink(path, folder.File(link.target))) << link.name;
        Written(path, link.minutes);
    }
    DeleteFileA(folder.File("gone.txt").c_str());

    Catalogue catalogue;
    SkipPatterns skip;
    char patterns[] = "*.md=\0";
    skip.Take(patterns);
    catalogue.skip = &skip;
    AddRecentDocuments(catalogue, folder.File("Recent").c_str());
    EXPECT_EQ(catalogue.Count(), 2);
    // Of the two "report.txt", the one opened last is met first.
    CatalogueEntry* first = catalogue.FindPrefix("report", 6, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first->path), folder.File("b\\report.txt"));
    EXPECT_EQ(first->kind, CatalogueEntry::kShellItem);
    CatalogueEntry* second = catalogue.NextPrefix(first, "report", 6);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(second->path), folder.File("a\\report.txt"));
    // A skipped name, a gone target and a folder: none.
    EXPECT_EQ(catalogue.FindPrefix("notes", 5, nullptr), nullptr);
    EXPECT_EQ(catalogue.FindPrefix("gone", 4, nullptr), nullptr);
    EXPECT_EQ(catalogue.FindPrefix("Projects", 8, nullptr), nullptr);
}

}  // namespace
