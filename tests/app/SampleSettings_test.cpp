// The sample kwivo.ini of the README is read as the launcher reads it, so
// that its defaults and entries cannot drift from the program's.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "settings/SettingsFile.h"
#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace {

std::string ReadmeSample() {
    std::string text;
    FILE* f = fopen(KWIVO_README, "rb");
    if (!f) return text;
    int c;
    while ((c = fgetc(f)) != EOF) text += static_cast<char>(c);
    fclose(f);
    size_t start = text.find("```ini\n");
    if (start == std::string::npos) return std::string();
    start += 7;
    size_t end = text.find("\n```", start);
    return end == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

TEST(SampleSettings, ReadmeSampleHoldsTheDefaultsAndValidEntries) {
    std::string sample = ReadmeSample();
    ASSERT_FALSE(sample.empty()) << KWIVO_README;
    test::TempFolder folder;
    test::CurrentDirectory inFolder(folder.Path());
    test::WriteTextFile(folder.File("kwivo.ini"), sample.c_str());
    SettingsFile settings(LauncherWindow::kSettingsName);

    // A value that is not the default would show as the fallback here.
    EXPECT_EQ(settings.GetColour("ui", "colourback", 1), LauncherWindow::kDefaultBackColour);
    EXPECT_EQ(settings.GetColour("ui", "colourfont", 1), LauncherWindow::kDefaultTextColour);
    EXPECT_EQ(settings.GetColour("ui", "colourauto", 1), LauncherWindow::kDefaultCompletionColour);
    EXPECT_EQ(settings.GetInt("ui", "slidespeed", -1), LauncherWindow::kDefaultSlideSpeed);
    EXPECT_EQ(settings.GetInt("ui", "growspeed", -1), LauncherWindow::kDefaultGrowSpeed);
    EXPECT_EQ(settings.GetInt("misc", "runs", -1), 0);
    EXPECT_EQ(settings.GetInt("hotkey", "mod", -1), LauncherWindow::kDefaultHotkeyModifiers);
    EXPECT_EQ(settings.GetInt("hotkey", "vk", -1), LauncherWindow::kDefaultHotkeyKey);

    // Folders: absolute paths or well-formed tokens, with a depth.
    test::TestLauncher launcher;
    char section[4096];
    char* cursor = settings.GetSection("folders", section, sizeof section);
    char* key;
    char* value;
    int folders = 0;
    while (SettingsFile::NextEntry(&cursor, &key, &value)) {
        char resolved[kPathBytes];
        bool token = key[0] == '$';
        EXPECT_TRUE(token ? launcher.ResolveFolderToken(resolved, key) == 1 : key[1] == ':') << key;
        EXPECT_GE(value[0], '0') << key;
        EXPECT_LE(value[0], '9') << key;
        ++folders;
    }
    EXPECT_GE(folders, 2);

    // Extensions: a dot and at most four characters in all.
    cursor = settings.GetSection("extensions", section, sizeof section);
    int extensions = 0;
    while (SettingsFile::NextEntry(&cursor, &key, &value)) {
        EXPECT_EQ(key[0], '.') << key;
        EXPECT_LE(strlen(key), 4u) << key;
        ++extensions;
    }
    EXPECT_GE(extensions, 1);

    // And a build over it runs through.
    launcher.RebuildCatalogue(settings);
    EXPECT_GT(launcher.catalogue.Count(), 0);
}

}  // namespace
