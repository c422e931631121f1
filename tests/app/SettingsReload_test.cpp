// kwivo.ini saved while the real kwivo.exe runs with watch=1: applied whole,
// never half-saved.

#include <gtest/gtest.h>

#include <string>

#include "support/RealLauncher.h"
#include "support/Win32Test.h"

namespace {

using test::Launcher;

// Whether some process (the launcher) holds the combination: this one
// cannot register it then.
bool Held(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 7, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 7);
    return false;
}

const UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

std::string Settings(const char* hotkey) {
    return std::string("[misc]\r\nruns=100\r\nwatch=1\r\n[ui]\r\nslidespeed=0\r\n[hotkey]\r\n") + hotkey + "\r\n";
}

TEST(SettingsReload, ASavedHotKeyIsTakenARefusedOneKeepsTheOldAndTheCountStaysInMemory) {
    test::TempFolder folder;
    const std::string ini = folder.File("kwivo.ini");
    Launcher kwivo(folder, "[misc]\r\nruns=3\r\nwatch=1\r\n[ui]\r\nslidespeed=0\r\n");
    HWND window = kwivo.Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Held(MOD_ALT, VK_SPACE));

    // Saved: the new combination is taken, and Alt+Space let go.
    test::WriteTextFile(ini, Settings("mod=3\r\nvk=76").c_str());
    EXPECT_TRUE(test::WaitFor([] { return Held(kCtrlAlt, 'L'); }));
    EXPECT_FALSE(Held(MOD_ALT, VK_SPACE));

    // A combination another program holds: said in a box, and the old one
    // stays the launcher's.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, kCtrlAlt, 'K'));
    test::WriteTextFile(ini, Settings("mod=3\r\nvk=75").c_str());
    std::string text;
    HWND box = test::WaitForMessageBox("kwivo", &text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Can't register Hotkey");
    test::PressOk(box);
    UnregisterHotKey(nullptr, 1);
    EXPECT_TRUE(Held(kCtrlAlt, 'L'));
    EXPECT_EQ(kwivo.ExitCode(0), static_cast<DWORD>(STILL_ACTIVE));

    // Half-saved files: SettingsPoll_test, poll by poll.

    // The count goes on from memory (3 and two presses), not from the
    // file's 100.
    DWORD_PTR ignored;
    for (int press = 0; press < 2; ++press) SendMessageTimeoutA(window, WM_HOTKEY, 0, 0, SMTO_BLOCK, 20000, &ignored);
    EXPECT_EQ(kwivo.Close(window), 0u);
    EXPECT_EQ(GetPrivateProfileIntA("misc", "runs", -1, ini.c_str()), 5);
    EXPECT_FALSE(Held(kCtrlAlt, 'L'));
}

}  // namespace
