#include "window/SystemCall.h"

#include <gtest/gtest.h>

#include "support/LaunchTest.h"
#include "support/Win32Test.h"

namespace {

TEST(SystemCall, ADllIsLoadedFromTheSystemFolderNeverFromTheCurrentOrTheProgramFolder) {
    // A DLL that the system lacks, planted in the current folder and beside
    // the program, as in a Downloads folder: never loaded.
    test::TempFolder folder;
    test::CurrentDirectory inFolder(folder.Path());
    ASSERT_TRUE(inFolder.Changed());
    const std::string planted = folder.File("kwivoplanted.dll");
    const std::string besideProgram = test::Beside("kwivoplanted2.dll");
    // A trace of an earlier run would read as a load of this one.
    DeleteFileA((planted + ".ran").c_str());
    DeleteFileA((besideProgram + ".ran").c_str());
    ASSERT_TRUE(CopyFileA(test::Beside("tracedll.dll").c_str(), planted.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(test::Beside("tracedll.dll").c_str(), besideProgram.c_str(), FALSE));
    RestrictDllSearch();
    EXPECT_EQ(LoadSystemLibrary(L"kwivoplanted.dll"), nullptr);
    EXPECT_EQ(FindSystemCall<FARPROC>(L"kwivoplanted2.dll", "DllMain"), nullptr);
    // The process's own search by bare name leaves out both folders too.
    EXPECT_EQ(LoadLibraryW(L"kwivoplanted.dll"), nullptr);
    EXPECT_EQ(LoadLibraryW(L"kwivoplanted2.dll"), nullptr);
    EXPECT_FALSE(test::FileExists(planted + ".ran"));
    EXPECT_FALSE(test::FileExists(besideProgram + ".ran"));
    DeleteFileA(besideProgram.c_str());
    // The system's own are found.
    EXPECT_NE(FindSystemCall<FARPROC>(L"shlwapi.dll", "SHLoadIndirectString"), nullptr);
}

}  // namespace
