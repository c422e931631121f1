// The resources built into kwivo.exe: strings, icon, version and manifest.

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "support/Win32Test.h"

namespace {

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
        std::string self(path, n);
        exe_ = self.substr(0, self.find_last_of('\\') + 1) + "kwivo.exe";
        module_ = LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << exe_;
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    std::string exe_;
    HMODULE module_ = nullptr;
};

TEST_F(ResourcesTest, ClassNameAndTitle) {
    char text[100];
    ASSERT_GT(LoadStringA(module_, IDS_CLASSNAME, text, sizeof text), 0);
    EXPECT_STREQ(text, "KWIVO");
    ASSERT_GT(LoadStringA(module_, IDS_TITLE, text, sizeof text), 0);
    EXPECT_STREQ(text, "kwivo");
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST_F(ResourcesTest, IconHas32And16PixelImagesOf16Colours) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(IDI_KWIVO), MAKEINTRESOURCEA(14));
    ASSERT_NE(found, nullptr);  // RT_GROUP_ICON
    const IconGroup* group = static_cast<const IconGroup*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->count, 2);
    int sizes = 0;
    for (int i = 0; i < group->count; ++i) {
        const IconGroupEntry& e = group->entries[i];
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colourCount, 16);
        EXPECT_EQ(e.bitCount, 4);
        sizes |= e.width;
    }
    EXPECT_EQ(sizes, 32 | 16);
}

std::string VersionString(const std::string& exe, const char* name) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    if (size == 0) return "<no version>";
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(exe.c_str(), 0, size, &block[0])) return "<unreadable>";
    std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<missing>";
    return value;
}

TEST_F(ResourcesTest, VersionIsTheProjectVersion) {
    EXPECT_EQ(VersionString(exe_, "ProductName"), "Kwivo");
    EXPECT_EQ(VersionString(exe_, "ProductVersion"), KWIVO_PROJECT_VERSION);
    EXPECT_EQ(VersionString(exe_, "FileVersion"), KWIVO_PROJECT_VERSION);
}

TEST_F(ResourcesTest, ManifestRunsAsInvokerOnWindows7To11) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);  // RT_MANIFEST
    const char* text = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    std::string manifest(text, SizeofResource(module_, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    const char* systems[] = {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",   // 7
                             "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",   // 8
                             "1f676c76-80e1-4239-95bb-83d0f6d0da78",   // 8.1
                             "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"};  // 10 and 11
    for (const char* id : systems) EXPECT_NE(manifest.find(id), std::string::npos) << id;
}

}  // namespace
