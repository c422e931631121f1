#pragma once

// The pages of Windows Settings ([misc] settingspages=1), by the names
// Settings gives them, each with the address that opens it. A page that
// this Windows lacks opens all the same: Settings shows its home page.
struct SettingsPage {
    const char* name;
    const char* address;
};

extern const SettingsPage kSettingsPages[];
extern const int kSettingsPageCount;

class Catalogue;

// Adds every page as a name the shell opens.
void AddSettingsPages(Catalogue& catalogue);
