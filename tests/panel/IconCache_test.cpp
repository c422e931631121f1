// The answers' icons: which paths are read, how many are kept, and that
// the ones let go are destroyed.

#include "panel/IconCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Canvas.h"
#include "support/Win32Test.h"

namespace {

// Hands out icons of its own for every local path, and counts the loads.
class CountingCache : public IconCache {
public:
    std::vector<std::wstring> loaded;

protected:
    HICON Load(const wchar_t* path) override {
        loaded.push_back(path);
        return CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    }
};

bool IsIcon(HICON icon) {
    ICONINFO info;
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

TEST(IconCache, OnlyLocalFilesAreReadAndEachOnceWhileKept) {
    CountingCache cache;
    HICON generic = cache.For(nullptr);
    ASSERT_NE(generic, nullptr);
    // A network share, an address, a shell name, a device path: the generic
    // icon, and the drive never asked.
    for (const char* path : {"\\\\server\\share\\tool.exe", "https://example.com/", "shell:AppsFolder\\app",
                             "\\\\?\\C:\\tool.exe", "", "C:relative.exe"}) {
        EXPECT_EQ(cache.For(path), generic) << path;
    }
    EXPECT_TRUE(cache.loaded.empty());
    // A local path: read once, then kept.
    HICON first = cache.For("C:\\Tools\\first.exe");
    EXPECT_NE(first, generic);
    EXPECT_EQ(cache.For("C:\\Tools\\first.exe"), first);
    EXPECT_EQ(cache.loaded.size(), 1u);
    // Past the bound, the icon used longest ago is destroyed; the one just
    // used stays.
    std::vector<HICON> others;
    for (int i = 0; i < IconCache::kSlots - 1; ++i) {
        others.push_back(cache.For(("C:\\Tools\\tool" + std::to_string(i) + ".exe").c_str()));
    }
    EXPECT_EQ(cache.For("C:\\Tools\\first.exe"), first);  // now the newest
    cache.For("C:\\Tools\\one-more.exe");
    EXPECT_FALSE(IsIcon(others[0]));
    EXPECT_TRUE(IsIcon(first));
    EXPECT_EQ(cache.loaded.size(), static_cast<size_t>(IconCache::kSlots) + 1);
    // A rebuild lets every icon go.
    cache.Clear();
    EXPECT_FALSE(IsIcon(first));
    EXPECT_TRUE(IsIcon(generic));  // the system's, never destroyed
}

TEST(IconCache, AFileThatIsGoneHasTheGenericIcon) {
    test::TempFolder folder;
    IconCache cache;
    HICON generic = cache.For(nullptr);
    std::string gone = folder.File("gone.exe");
    EXPECT_EQ(cache.For(gone.c_str()), generic);
    // A document that is there: the shell's icon for its kind.
    std::string text = folder.File("notes.txt");
    test::WriteTextFile(text, "notes");
    HICON document = cache.For(text.c_str());
    EXPECT_NE(document, generic);
    EXPECT_TRUE(IsIcon(document));
}

TEST(IconCache, TheStripShowsTheAnswersIconBeforeThePromptAndKeepsItsPlace) {
    test::TempFolder folder;
    std::string text = folder.File("notes.txt");
    test::WriteTextFile(text, "notes");
    test::TestLauncher plain;
    test::TestLauncher l;
    l.options.icons = 1;
    for (test::TestLauncher* each : {&plain, &l}) {
        each->catalogue.Add(text.c_str());
        each->textColour = RGB(10, 200, 250);  // a colour no icon has
    }
    // The prompt's first column, and whether the icon's square holds
    // anything but the strip's colours.
    auto look = [](test::TestLauncher& strip, int* prompt, bool* icon) {
        test::Canvas c(strip);
        int last;
        c.Columns(strip.textColour, 1, 1, c.W() - 1, c.H() - 1, prompt, &last);
        *icon = false;
        for (int x = 5; x < 21; ++x) {
            for (int y = 7; y < 23; ++y) {
                COLORREF at = c.At(x, y);
                *icon = *icon || (at != strip.backColour && at != strip.textColour);
            }
        }
    };
    int before, after, idle;
    bool icon;
    l.Type("no");
    plain.Type("no");
    look(plain, &before, &icon);  // its prompt lies in the square: only its place counts
    look(l, &after, &icon);
    EXPECT_TRUE(icon);
    EXPECT_EQ(after - before, IconCache::kIconSize + LauncherWindow::kTextMargin);
    // No answer: no icon, and the prompt where it was.
    l.Type("zz");
    look(l, &idle, &icon);
    EXPECT_FALSE(icon);
    EXPECT_EQ(idle, after);
}

}  // namespace
