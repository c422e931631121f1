#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/Win32Test.h"

namespace {

// Runs each case in a fresh current directory, where ".\" names point.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inFolder_.Changed()); }
    void Write(const char* text) { test::WriteTextFile(folder_.File("kwivo.ini"), text); }

    test::TempFolder folder_;
    test::CurrentDirectory inFolder_{folder_.Path()};
};

TEST_F(SettingsFileTest, PathNamesTheFileInTheCurrentDirectory) {
    SettingsFile settings("kwivo.ini");
    EXPECT_STREQ(settings.path, ".\\kwivo.ini");
}

TEST_F(SettingsFileTest, MissingFileGivesEveryDefault) {
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(settings.GetInt("ui", "slidespeed", 100), 100);
    EXPECT_EQ(settings.GetColour("ui", "colourback", 0x195FE8), 0x195FE8u);
    char text[32];
    EXPECT_EQ(settings.GetString(text, sizeof text, "extensions", ".doc", "none"), 4);
    EXPECT_STREQ(text, "none");
    char section[64];
    char* cursor = settings.GetSection("folders", section, sizeof section);
    char* key;
    char* value;
    EXPECT_EQ(SettingsFile::NextEntry(&cursor, &key, &value), 0);
    EXPECT_FALSE(test::FileExists(folder_.File("kwivo.ini")));
}

TEST_F(SettingsFileTest, IntegersEmptyAndNonNumeric) {
    Write("[ui]\r\nslidespeed=\r\ngrowspeed=fast\r\nother= 35px\r\n");
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(settings.GetInt("ui", "slidespeed", 100), 100);  // empty: the default
    EXPECT_EQ(settings.GetInt("ui", "growspeed", 20), 0);      // letters: 0
    EXPECT_EQ(settings.GetInt("ui", "other", 1), 35);
    EXPECT_EQ(settings.GetInt("ui", "missing", -3), -3);
}

TEST_F(SettingsFileTest, Colours) {
    Write("[ui]\r\n"
          "a=232, 95, 25\r\n"
          "b=232 ,95,25\r\n"
          "c=300,0,0\r\n"
          "d=-1,0,0\r\n"
          "e=\r\n"
          "f=10,20\r\n");
    SettingsFile settings("kwivo.ini");
    const unsigned int fallback = 0xABCDEF;
    EXPECT_EQ(settings.GetColour("ui", "a", fallback), 0x195FE8u);
    EXPECT_EQ(settings.GetColour("ui", "b", fallback), fallback);
    EXPECT_EQ(settings.GetColour("ui", "c", fallback), 44u);
    EXPECT_EQ(settings.GetColour("ui", "d", fallback), 255u);
    EXPECT_EQ(settings.GetColour("ui", "e", fallback), fallback);
    EXPECT_EQ(settings.GetColour("ui", "f", fallback), fallback);
}

TEST_F(SettingsFileTest, SectionSplitsIntoEntries) {
    Write("[folders]\r\nC:\\Tools=3\r\nD:\\a=b=2\r\nE:\\Data\r\n[other]\r\nx=1\r\n");
    SettingsFile settings("kwivo.ini");
    char section[4096];
    char* cursor = settings.GetSection("folders", section, sizeof section);
    char* key;
    int depth;
    ASSERT_EQ(settings.NextIntEntry(&cursor, &key, &depth), 1);
    EXPECT_STREQ(key, "C:\\Tools");
    EXPECT_EQ(depth, 3);
    ASSERT_EQ(settings.NextIntEntry(&cursor, &key, &depth), 1);
    EXPECT_STREQ(key, "D:\\a=b");
    EXPECT_EQ(depth, 2);
    ASSERT_EQ(settings.NextIntEntry(&cursor, &key, &depth), 1);
    EXPECT_STREQ(key, "E:\\Data");
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(settings.NextIntEntry(&cursor, &key, &depth), 0);

    cursor = settings.GetSection("nothing", section, sizeof section);
    EXPECT_EQ(settings.NextIntEntry(&cursor, &key, &depth), 0);
}

TEST_F(SettingsFileTest, SectionCutToTheBufferStillEnds) {
    Write("[folders]\r\nC:\\A-long-folder-name=1\r\nC:\\Another-long-one=2\r\n");
    SettingsFile settings("kwivo.ini");
    char section[24];
    char* cursor = settings.GetSection("folders", section, sizeof section);
    char* key;
    char* value;
    int entries = 0;
    while (SettingsFile::NextEntry(&cursor, &key, &value)) {
        ASSERT_LT(cursor, section + sizeof section);
        ++entries;
    }
    EXPECT_LE(entries, 1);
}

TEST_F(SettingsFileTest, SetIntCreatesAndReplaces) {
    {
        SettingsFile settings("kwivo.ini");
        EXPECT_NE(settings.SetInt("misc", "runs", 5), 0);
        EXPECT_NE(settings.SetInt("folders", "D:\\Tools", 1), 0);
    }
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(settings.GetInt("misc", "runs", 0), 5);
    EXPECT_NE(settings.SetInt("misc", "runs", -12), 0);
    EXPECT_EQ(settings.GetInt("misc", "runs", 0), -12);
    EXPECT_EQ(settings.GetInt("folders", "D:\\Tools", 0), 1);
}

// A file system of 256 KiB mounted on a folder of the test's (Wine and root
// only: Wine runs the Unix mount), removed with the object. Wine does not
// wait for a Unix command: each step waits for the command's effect.
class SmallVolume {
public:
    SmallVolume() {
        CreateDirectoryA(path_.c_str(), nullptr);
        std::string unix = test::UnixPath(path_);
        test::RunUnix("mount -t tmpfs -o size=256k tmpfs '" + unix + "' && touch '" + unix + "/mounted'");
        mounted_ = test::WaitFor([&] { return test::FileExists(marker_); }, 5000);
    }
    ~SmallVolume() {
        if (!mounted_) return;
        test::RunUnix("umount -l '" + test::UnixPath(path_) + "'");
        test::WaitFor([&] { return !test::FileExists(marker_); });
    }
    // Fills the volume up to the given number of free bytes.
    void LeaveFree(int bytes) {
        std::string unix = test::UnixPath(path_);
        test::RunUnix("rm -f '" + unix + "/fill'; avail=$(df -B1 --output=avail '" + unix +
                      "' | tail -n 1); head -c $((avail - " + std::to_string(bytes) + ")) /dev/zero > '" +
                      unix + "/fill'");
        ASSERT_TRUE(test::WaitFor([&] {
            ULARGE_INTEGER available;
            return GetDiskFreeSpaceExA((path_ + "\\").c_str(), &available, nullptr, nullptr) &&
                   available.QuadPart == static_cast<ULONGLONG>(bytes);
        })) << bytes;
    }
    bool Mounted() const { return mounted_; }
    const std::string& Path() const { return path_; }

private:
    test::TempFolder folder_;
    std::string path_ = folder_.File("volume");
    std::string marker_ = path_ + "\\mounted";
    bool mounted_ = false;
};

TEST(SettingsWrite, AFullDiskLeavesTheFileAsItWasAndRoomLetsTheWriteThrough) {
    if (!test::UnderWine()) GTEST_SKIP() << "mounts a small volume through Wine";
    SmallVolume volume;
    if (!volume.Mounted()) GTEST_SKIP() << "mounting a tmpfs was refused (not root?)";
    test::CurrentDirectory inVolume(volume.Path());
    ASSERT_TRUE(inVolume.Changed());
    // 8,192 bytes without a "runs" line, a folder last.
    std::string text = "[ui]\r\nslidespeed=100\r\n[folders]\r\n";
    for (int i = 0; text.size() < 8192 - 40; ++i) text += "C:\\Folder" + std::to_string(1000 + i) + "=1\r\n";
    text += "C:\\Last";
    text += std::string(8192 - 4 - text.size(), 'x') + "=1\r\n";
    ASSERT_EQ(text.size(), 8192u);
    const std::string ini = volume.Path() + "\\kwivo.ini";
    test::WriteTextFile(ini, text.c_str());

    // No room for the copy; room for the copy but not for the longer text
    // the profile function writes into it (its write is then cut short).
    for (int room : {0, 8192}) {
        volume.LeaveFree(room);
        SettingsFile settings("kwivo.ini");
        EXPECT_EQ(settings.SetInt("misc", "runs", 2), 0) << room;
        EXPECT_EQ(test::ReadTextFile(ini), text) << room;
        EXPECT_EQ(test::CountFiles(volume.Path(), "*.tmp"), 0) << room;
    }

    volume.LeaveFree(64 * 1024);
    {
        SettingsFile settings("kwivo.ini");
        EXPECT_EQ(settings.SetInt("misc", "runs", 2), 1);
    }
    EXPECT_EQ(test::ReadTextFile(ini), text + "[misc]\r\nruns=2\r\n");
    EXPECT_EQ(test::CountFiles(volume.Path(), "*.tmp"), 0);
}

TEST_F(SettingsFileTest, AReadOnlyFileIsNeverWrittenAndALeftoverCopyBlocksNothing) {
    const std::string ini = folder_.File("kwivo.ini");
    Write("[misc]\r\nruns=3\r\n");
    // What a sync tool or an older version left where a copy once went (a
    // folder, a file) is neither in the way nor touched.
    ASSERT_TRUE(CreateDirectoryA((ini + ".tmp").c_str(), nullptr));
    test::WriteTextFile(ini + ".1.tmp", "[misc]\r\nruns=99\r\n");
    {
        SettingsFile settings("kwivo.ini");
        EXPECT_EQ(settings.SetInt("misc", "runs", 4), 1);
        EXPECT_EQ(settings.GetInt("misc", "runs", 0), 4);
    }
    EXPECT_EQ(test::ReadTextFile(ini + ".1.tmp"), "[misc]\r\nruns=99\r\n");
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 2);

    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(settings.SetInt("misc", "runs", 5), 0);
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::ReadTextFile(ini), "[misc]\r\nruns=4\r\n");
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 2);
}

TEST_F(SettingsFileTest, CodePageUtf8KeepsAPlainFilePlainThroughReadsAndWrites) {
    // Where the ANSI code page is UTF-8 itself, a plain file holds every
    // character: it is read as it is, and a write keeps it plain.
    if (GetACP() != CP_UTF8) GTEST_SKIP() << "needs the ANSI code page 65001";
    const std::string ini = folder_.File("kwivo.ini");
    const std::string text = "[folders]\r\nZ:\\Caf\xC3\xA9=1\r\n";
    Write(text.c_str());
    SettingsFile settings("kwivo.ini");
    EXPECT_EQ(test::ReadTextFile(ini), text);
    EXPECT_EQ(settings.SetInt("misc", "runs", 3), 1);
    EXPECT_EQ(settings.SetInt("folders", "Z:\\\xE6\x97\xA5\xE6\x9C\xAC", 2), 1);  // Z:\日本
    EXPECT_EQ(test::ReadTextFile(ini), text + "Z:\\\xE6\x97\xA5\xE6\x9C\xAC=2\r\n[misc]\r\nruns=3\r\n");
    EXPECT_EQ(settings.GetInt("folders", "Z:\\Caf\xC3\xA9", 0), 1);
}

}  // namespace
