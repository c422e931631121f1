// The pages of Windows Settings as names ([misc] settingspages=1).

#include "catalogue/SettingsPages.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/SettingsFile.h"
#include "support/LaunchTest.h"

namespace {

using test::ClassKey;

class SettingsPagesTest : public test::LaunchTest {
protected:
    // The catalogue built as start-up builds it, with a folder of the
    // user's that holds a program named like a page.
    void Build(int pages) {
        CreateDirectoryA(folder_.File("Tools").c_str(), nullptr);
        test::WriteTextFile(folder_.File("Tools\\displaytool.exe"), "MZ");
        test::WriteTextFile(folder_.File("kwivo.ini"), "[misc]\r\nwords=1\r\n[folders]\r\n" + folder_.File("Tools") + "=1\r\n");
        l_.options.words = 1;
        l_.options.settingsPages = pages;
        SettingsFile settings(LauncherWindow::kSettingsName);
        l_.RebuildCatalogue(settings);
    }
};

TEST_F(SettingsPagesTest, EveryPageIsANameThatOpensItsAddressAfterTheUsersOwn) {
    Build(1);
    for (int i = 0; i < kSettingsPageCount; ++i) {
        EXPECT_NE(l_.catalogue.FindEntry(kSettingsPages[i].address, kSettingsPages[i].name), nullptr)
            << kSettingsPages[i].name;
    }
    // The user's program first, the page next; a later word finds a page.
    l_.Type("disp");
    ASSERT_NE(l_.current.entry, nullptr);
    EXPECT_STREQ(l_.current.entry->Name(), "displaytool.exe");
    l_.OnKeyDown(VK_DOWN);
    ASSERT_NE(l_.current.entry, nullptr);
    EXPECT_STREQ(l_.current.entry->path, "ms-settings:display");
    l_.input.Clear();
    l_.Type("update");
    ASSERT_NE(l_.current.entry, nullptr);
    EXPECT_STREQ(l_.current.entry->path, "ms-settings:windowsupdate");
    // Enter hands the address to the shell.
    ClassKey scheme("ms-settings", "URL:ms-settings");
    ClassKey command("ms-settings\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
    l_.OnChar('\r');
    EXPECT_NE(Recorded().find("ms-settings:windowsupdate"), std::string::npos);
}

TEST_F(SettingsPagesTest, WithoutTheSettingThereAreNone) {
    Build(0);
    EXPECT_EQ(l_.catalogue.FindEntry("ms-settings:display", "Display"), nullptr);
    l_.Type("update");
    EXPECT_TRUE(l_.current.entry == nullptr || strncmp(l_.current.entry->path, "ms-settings:", 12) != 0);
}

}  // namespace
