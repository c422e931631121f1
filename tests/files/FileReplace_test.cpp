#include "files/FileReplace.h"

#include <gtest/gtest.h>

#include <string>

#include "answers/Picks.h"
#include "settings/SettingsFile.h"
#include "support/Win32Test.h"

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inFolder_.Changed()); }

    test::TempFolder folder_;
    test::CurrentDirectory inFolder_{folder_.Path()};
};

// One writer of kwivo.ini: keys k0 to k39 of its own section, one write
// each, as two Kwivo processes ending together write "runs".
DWORD WINAPI WriteKeys(void* section) {
    for (int i = 0; i < 40; ++i) {
        SettingsFile settings("kwivo.ini");
        if (!settings.SetInt(static_cast<const char*>(section), ("k" + std::to_string(i)).c_str(), i)) return 1;
    }
    return 0;
}

TEST_F(FileReplaceTest, TwoWritersAtOnceKeepEveryLineOfBoth) {
    // Each write starts from the file as the other left it, under the lock;
    // neither removes the other's copy.
    test::WriteTextFile(folder_.File("kwivo.ini"), "[ui]\r\ncolourback=1,2,3\r\n");
    static char sections[2][2] = {"a", "b"};
    HANDLE threads[2];
    for (int t = 0; t < 2; ++t) threads[t] = CreateThread(nullptr, 0, WriteKeys, sections[t], 0, nullptr);
    ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE thread : threads) {
        DWORD code = 1;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(thread);
    }
    SettingsFile settings("kwivo.ini");
    for (const char* section : {"a", "b"}) {
        for (int i = 0; i < 40; ++i) EXPECT_EQ(settings.GetInt(section, ("k" + std::to_string(i)).c_str(), -1), i);
    }
    EXPECT_EQ(settings.GetColour("ui", "colourback", 0), 0x030201u);
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), 0);
}

TEST_F(FileReplaceTest, LinkedFilesAreWrittenThroughTheirLinks) {
    // Settings kept in a synced folder: kwivo.ini and the picks are links
    // there, and stay links.
    if (!test::UnderWine()) GTEST_SKIP() << "makes Unix links";
    CreateDirectoryA(folder_.File("synced").c_str(), nullptr);
    test::WriteTextFile(folder_.File("synced\\kwivo.ini"), "[ui]\r\nslidespeed=7\r\n");
    test::WriteTextFile(folder_.File("synced\\kwivo-picks.txt"), "old\tC:\\old.exe\r\n");
    std::string unix = test::UnixPath(folder_.Path());
    test::RunUnix("cd '" + unix + "' && ln -s synced/kwivo.ini kwivo.ini && ln -s synced/kwivo-picks.txt kwivo-picks.txt");
    ASSERT_TRUE(test::WaitFor([&] { return test::FileExists(folder_.File("kwivo-picks.txt")); }));

    {
        SettingsFile settings("kwivo.ini");
        ASSERT_EQ(settings.SetInt("misc", "runs", 3), 1);
    }
    Picks picks;
    ASSERT_EQ(picks.Load("kwivo-picks.txt"), 1);
    ASSERT_EQ(picks.Remember("new", 3, "C:\\new.exe"), 1);
    ASSERT_EQ(picks.Save("kwivo-picks.txt"), 1);

    EXPECT_EQ(test::ReadTextFile(folder_.File("synced\\kwivo.ini")), "[ui]\r\nslidespeed=7\r\n[misc]\r\nruns=3\r\n");
    EXPECT_EQ(test::ReadTextFile(folder_.File("synced\\kwivo-picks.txt")),
              "old\tC:\\old.exe\r\nnew\tC:\\new.exe\r\n");
    // Still links: a change of the targets shows through them.
    test::WriteTextFile(folder_.File("synced\\kwivo.ini"), "[misc]\r\nruns=9\r\n");
    test::WriteTextFile(folder_.File("synced\\kwivo-picks.txt"), "");
    EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo.ini")), "[misc]\r\nruns=9\r\n");
    EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo-picks.txt")), "");
    EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp") + test::CountFiles(folder_.File("synced"), "*.tmp"), 0);
}

// The platform's steps, failing as Windows can: a replace that gives up
// at one of its documented points, a copy or a backup that a scanner
// holds, a volume without final path names.
class FailingReplace : public FileReplace {
public:
    explicit FailingReplace(const wchar_t* file) : FileReplace(file) {}
    DWORD replaceError = 0;  // 0: the real replace
    bool copyHeld = false;    // the copy cannot be moved
    bool backupHeld = false;  // nor the old file back from its backup
    int finalPathFailures = 0;  // the first this many name queries fail
    bool danglingLink = false;  // the name is listed, its target missing
    int moves = 0;

protected:
    int Listed(const wchar_t* name) override { return danglingLink || FileReplace::Listed(name); }
    DWORD FinalPath(HANDLE file, wchar_t* out, DWORD size, DWORD flags) override {
        if (finalPathFailures > 0) {
            --finalPathFailures;
            SetLastError(ERROR_INVALID_FUNCTION);
            return 0;
        }
        return FileReplace::FinalPath(file, out, size, flags);
    }
    BOOL Replace(const wchar_t* replaced, const wchar_t* replacement, const wchar_t* backup) override {
        if (replaceError == 0) return FileReplace::Replace(replaced, replacement, backup);
        // 1177: the old file went to the backup name, the copy stayed.
        if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileW(replaced, backup);
        SetLastError(replaceError);
        return FALSE;
    }
    BOOL Move(const wchar_t* from, const wchar_t* to) override {
        ++moves;
        bool fromCopy = wcsstr(from, L".tmp") != nullptr;
        if ((fromCopy && copyHeld) || (!fromCopy && backupHeld)) {
            SetLastError(ERROR_SHARING_VIOLATION);
            return FALSE;
        }
        return FileReplace::Move(from, to);
    }
};

TEST_F(FileReplaceTest, AReplaceThatFailsHalfWayNeverLosesTheFile) {
    struct Case {
        DWORD replaceError;
        bool copyHeld;
        bool backupHeld;
        int committed;
        const char* file;  // kwivo.ini afterwards; null: not there
        int copies;        // .tmp files left: the new text, kept
        int backups;       // .bak files left: the old text, kept
    };
    const Case cases[] = {
        {0, false, false, 1, "new", 0, 0},
        // Neither name changed: the write failed, nothing else happened.
        {ERROR_UNABLE_TO_REMOVE_REPLACED, false, false, 0, "old", 0, 0},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, false, 0, "old", 0, 0},
        // The old file at its backup name: the copy follows into place...
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false, false, 1, "new", 0, 0},
        // ...or, held, the old file comes back...
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, false, 0, "old", 0, 0},
        // ...or, both held, both stay on the disk.
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, true, 0, nullptr, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replaceError * 100 + c.copyHeld * 10 + c.backupHeld);
        test::WriteTextFile(folder_.File("kwivo.ini"), "old");
        {
            FailingReplace replace(L"kwivo.ini");
            replace.replaceError = c.replaceError;
            replace.copyHeld = c.copyHeld;
            replace.backupHeld = c.backupHeld;
            ASSERT_EQ(replace.Begin(), 1);
            ASSERT_EQ(replace.WriteCopy("new", 3), 1);
            EXPECT_EQ(replace.Commit(), c.committed);
            // A held copy is tried again before the replace gives up on it.
            if (c.copyHeld) {
                EXPECT_GE(replace.moves, FileReplace::kMoveTries);
            }
        }
        if (c.file) {
            EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo.ini")), c.file);
        } else {
            EXPECT_FALSE(test::FileExists(folder_.File("kwivo.ini")));
        }
        EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), c.copies);
        EXPECT_EQ(test::CountFiles(folder_.Path(), "*.bak"), c.backups);
        if (c.copies) {
            WIN32_FIND_DATAA found;
            HANDLE find = FindFirstFileA(folder_.File("*.tmp").c_str(), &found);
            ASSERT_NE(find, INVALID_HANDLE_VALUE);
            FindClose(find);
            EXPECT_EQ(test::ReadTextFile(folder_.File(found.cFileName)), "new");
        }
        test::RunUnix("rm -f '" + test::UnixPath(folder_.Path()) + "'/*.tmp '" + test::UnixPath(folder_.Path()) +
                      "'/*.bak");
    }
}

TEST_F(FileReplaceTest, AVolumeWithoutFinalNamesIsWrittenByTheNameGiven) {
    // A RAM disk outside the mount manager answers no normalised name, and
    // some file systems no name at all: the file is written all the same.
    for (int failures : {1, 2}) {
        test::WriteTextFile(folder_.File("kwivo.ini"), "old");
        FailingReplace replace(L"kwivo.ini");
        replace.finalPathFailures = failures;
        ASSERT_EQ(replace.Begin(), 1) << failures;
        ASSERT_EQ(replace.WriteCopy("new", 3), 1);
        EXPECT_EQ(replace.Commit(), 1);
        EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo.ini")), "new");
        EXPECT_EQ(replace.finalPathFailures, 0);
    }
}

// Holds the lock of kwivo.ini until told to let go, or, abandoning it,
// ends with it held.
struct LockHolder {
    wchar_t name[40];
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool abandon = false;
    static DWORD WINAPI Hold(void* self) {
        LockHolder* holder = static_cast<LockHolder*>(self);
        HANDLE mutex = CreateMutexW(nullptr, TRUE, holder->name);
        SetEvent(holder->taken);
        if (holder->abandon) return 0;  // ends its thread with the lock
        WaitForSingleObject(holder->letGo, INFINITE);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return 0;
    }
};

// Asks the test's window a question while the lock is waited for, as a
// screen reader does.
struct Asker {
    HWND window;
    DWORD_PTR answer = 0;
    LRESULT sent = 0;
    static DWORD WINAPI Ask(void* self) {
        Asker* asker = static_cast<Asker*>(self);
        Sleep(300);
        asker->sent = SendMessageTimeoutW(asker->window, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 2000, &asker->answer);
        return 0;
    }
};

TEST_F(FileReplaceTest, ALockHeldElsewhereRefusesTheWriteButNotTheMessagesSent) {
    test::WriteTextFile(folder_.File("kwivo.ini"), "old");
    wchar_t full[MAX_PATH];
    ASSERT_GT(GetFullPathNameW(L"kwivo.ini", MAX_PATH, full, nullptr), 0u);
    LockHolder holder;
    FileReplace::LockName(full, holder.name);
    HANDLE holding = CreateThread(nullptr, 0, LockHolder::Hold, &holder, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(holder.taken, 10000), WAIT_OBJECT_0);

    HWND window = CreateWindowW(L"STATIC", L"answered", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Asker asker{window};
    HANDLE asking = CreateThread(nullptr, 0, Asker::Ask, &asker, 0, nullptr);
    {
        FileReplace replace(L"kwivo.ini");
        EXPECT_EQ(replace.Begin(), 0);
    }
    ASSERT_EQ(WaitForSingleObject(asking, 10000), WAIT_OBJECT_0);
    EXPECT_NE(asker.sent, 0) << "the question waited for the lock";
    EXPECT_EQ(asker.answer, 8u);
    EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo.ini")), "old");
    SetEvent(holder.letGo);
    WaitForSingleObject(holding, 10000);

    // A lock whose holder ended during a write is taken: the file is whole.
    LockHolder gone;
    gone.abandon = true;
    FileReplace::LockName(full, gone.name);
    HANDLE ended = CreateThread(nullptr, 0, LockHolder::Hold, &gone, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(ended, 10000), WAIT_OBJECT_0);
    FileReplace replace(L"kwivo.ini");
    ASSERT_EQ(replace.Begin(), 1);
    ASSERT_EQ(replace.WriteCopy("new", 3), 1);
    EXPECT_EQ(replace.Commit(), 1);
    EXPECT_EQ(test::ReadTextFile(folder_.File("kwivo.ini")), "new");
    for (HANDLE h : {holding, asking, ended, holder.taken, holder.letGo, gone.taken, gone.letGo}) CloseHandle(h);
    DestroyWindow(window);
}

TEST_F(FileReplaceTest, ALinkWhoseTargetIsMissingIsNotReplacedByAFile) {
    // A dotfiles checkout that is not there yet: Windows lists the link and
    // cannot open it (Wine hides such a link, hence the seam). A missing
    // file that nothing names is created as before.
    for (bool dangling : {true, false}) {
        FailingReplace replace(L"kwivo.ini");
        replace.danglingLink = dangling;
        EXPECT_EQ(replace.Begin(), dangling ? 0 : 1);
        EXPECT_EQ(test::CountFiles(folder_.Path(), "*.tmp"), dangling ? 0 : 1);
    }
}

}  // namespace
