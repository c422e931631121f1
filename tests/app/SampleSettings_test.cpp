// The sample kwivo.ini of the README is read as the launcher reads it, so
// that its defaults and entries cannot drift from the program's.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "answers/ScriptSources.h"
#include "catalogue/CatalogueBuild.h"
#include "settings/SettingsCopy.h"
#include "settings/SectionBuffer.h"
#include "settings/SettingsFile.h"
#include "support/TestLauncher.h"
#include "support/Win32Test.h"

namespace {

std::string ReadAll(const char* path) {
    std::string text;
    FILE* f = fopen(path, "rb");
    if (!f) return text;
    int c;
    while ((c = fgetc(f)) != EOF) text += static_cast<char>(c);
    fclose(f);
    return text;
}

std::string ReadmeSample() {
    std::string text = ReadAll(KWIVO_README);
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
    EXPECT_EQ(settings.GetColour("ui", "colourback", 1), StripSettings::kDefaultBackColour);
    EXPECT_EQ(settings.GetColour("ui", "colourfont", 1), StripSettings::kDefaultTextColour);
    EXPECT_EQ(settings.GetColour("ui", "colourauto", 1), StripSettings::kDefaultCompletionColour);
    EXPECT_EQ(settings.GetInt("ui", "slidespeed", -1), StripSettings::kDefaultSlideSpeed);
    EXPECT_EQ(settings.GetInt("ui", "growspeed", -1), StripSettings::kDefaultGrowSpeed);
    EXPECT_EQ(settings.GetInt("misc", "runs", -1), 0);
    EXPECT_EQ(settings.GetInt("hotkey", "mod", -1), StripSettings::kDefaultHotkeyModifiers);
    EXPECT_EQ(settings.GetInt("hotkey", "vk", -1), StripSettings::kDefaultHotkeyKey);

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
        EXPECT_TRUE(token ? CatalogueBuild::ResolveFolderToken(resolved, key) == 1 : key[1] == ':') << key;
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

// The options of a kwivo.ini of this text, read as start-up reads them;
// with slideSpeed, its slidespeed too (-1 when it sets none).
Options ReadOptions(const std::string& text, int* slideSpeed = nullptr) {
    test::TempFolder folder;
    test::CurrentDirectory inFolder(folder.Path());
    test::WriteTextFile(folder.File("kwivo.ini"), text.c_str());
    SettingsFile settings(LauncherWindow::kSettingsName);
    Options options;
    options.Read(settings);
    if (slideSpeed) *slideSpeed = settings.GetInt("ui", "slidespeed", -1);
    return options;
}

// How many [sources] of a kwivo.ini of this text are kept; -1 when the two
// samples are not among them.
int CountSources(const std::string& text) {
    test::TempFolder folder;
    test::CurrentDirectory inFolder(folder.Path());
    test::WriteTextFile(folder.File("kwivo.ini"), text.c_str());
    SettingsFile settings(LauncherWindow::kSettingsName);
    SectionBuffer section;
    ScriptSources sources;
    sources.Take(section.Read(settings, "sources"));
    const char* words = nullptr;
    return sources.Find("kill x", &words) && sources.Find("win x", &words) ? sources.Count() : -1;
}

// Every setting that is off by default, on in the installer's starter file
// and in the sample once its commented lines are taken in: neither can miss
// or misspell one of the record's.
TEST(SampleSettings, StarterFileAndSampleTurnOnEveryOption) {
    std::string sample = ReadmeSample();
    for (size_t at = 0; (at = sample.find("\n;", at)) != std::string::npos;) {
        // ";key=value" is a setting left out, "; text" a comment.
        if (sample[at + 2] != ' ' && sample.find('=', at) < sample.find('\n', at + 1)) sample.erase(at + 1, 1);
        ++at;
    }
    for (const std::string& text : {ReadAll(KWIVO_RECOMMENDED), sample}) {
        ASSERT_FALSE(text.empty());
        Options options = ReadOptions(text);
        EXPECT_EQ(options.screenChoice, ScreenChoice::kCursor);
        EXPECT_STREQ(options.font, "*");
        EXPECT_EQ(options.listRows, 5);
        for (int on : {options.icons, options.dpiScale, options.rememberPicks, options.watchFolders, options.ctrlEnter,
                       options.names, options.words, options.accents, options.calc, options.switchRunning,
                       options.settingsPages, options.windows, options.recent, options.system}) {
            EXPECT_EQ(on, 1);
        }
        // And both sample sources.
        EXPECT_EQ(CountSources(text), 2);
    }
    // The switches and the font's text, as the compiler lays them out.
    const size_t fields = 16 * sizeof(int) + sizeof(Options::font);
    EXPECT_EQ(sizeof(Options), (fields + alignof(Options) - 1) / alignof(Options) * alignof(Options))
        << "a new option needs its line in both files";
}

// The file "/e" creates knows every setting of the README's sample, each
// commented out, and so reads as a missing file does.
TEST(SampleSettings, TheTemplateOfSlashEHoldsEverySettingCommentedOut) {
    std::string sample = ReadmeSample();
    std::string templateText = kSettingsTemplate;
    for (const char* section : {"[ui]", "[misc]", "[hotkey]", "[folders]", "[extensions]", "[aliases]", "[sources]",
                                "[skip]"}) {
        EXPECT_NE(templateText.find(std::string(section) + "\r\n"), std::string::npos) << section;
    }
    for (const char* key : {"colourback", "colourfont", "colourauto", "slidespeed", "growspeed", "monitor",
                            "dpiscale", "font", "list", "icons", "remember", "watch", "ctrlenter", "names", "words",
                            "accents", "calc", "switch", "settingspages", "windows", "recent", "system",
                            "mod", "vk", "kill"}) {
        EXPECT_NE(sample.find(std::string(key) + "="), std::string::npos) << key;
        EXPECT_NE(templateText.find("\n;" + std::string(key) + "="), std::string::npos) << key;
    }
    int slideSpeed = 0;
    Options options = ReadOptions(templateText, &slideSpeed);
    EXPECT_EQ(slideSpeed, -1);
    EXPECT_EQ(options.screenChoice, ScreenChoice::kPrimary);
    EXPECT_STREQ(options.font, "");
    EXPECT_EQ(options.listRows, 0);
}

}  // namespace
