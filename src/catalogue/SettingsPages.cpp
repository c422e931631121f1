#include "catalogue/SettingsPages.h"

#include "catalogue/Catalogue.h"

const SettingsPage kSettingsPages[] = {
    {"Display", "ms-settings:display"},
    {"Night light", "ms-settings:nightlight"},
    {"Sound", "ms-settings:sound"},
    {"Notifications", "ms-settings:notifications"},
    {"Focus assist", "ms-settings:quiethours"},
    {"Power & sleep", "ms-settings:powersleep"},
    {"Battery", "ms-settings:batterysaver"},
    {"Storage", "ms-settings:storagesense"},
    {"Multitasking", "ms-settings:multitasking"},
    {"Clipboard", "ms-settings:clipboard"},
    {"Remote Desktop", "ms-settings:remotedesktop"},
    {"About", "ms-settings:about"},
    {"Bluetooth & devices", "ms-settings:bluetooth"},
    {"Printers & scanners", "ms-settings:printers"},
    {"Mouse", "ms-settings:mousetouchpad"},
    {"Touchpad", "ms-settings:devices-touchpad"},
    {"Typing", "ms-settings:typing"},
    {"AutoPlay", "ms-settings:autoplay"},
    {"USB", "ms-settings:usb"},
    {"Network & internet", "ms-settings:network-status"},
    {"Wi-Fi", "ms-settings:network-wifi"},
    {"Ethernet", "ms-settings:network-ethernet"},
    {"VPN", "ms-settings:network-vpn"},
    {"Mobile hotspot", "ms-settings:network-mobilehotspot"},
    {"Airplane mode", "ms-settings:network-airplanemode"},
    {"Proxy", "ms-settings:network-proxy"},
    {"Background", "ms-settings:personalization-background"},
    {"Colors", "ms-settings:colors"},
    {"Lock screen", "ms-settings:lockscreen"},
    {"Themes", "ms-settings:themes"},
    {"Start menu settings", "ms-settings:personalization-start"},
    {"Taskbar", "ms-settings:taskbar"},
    {"Fonts", "ms-settings:fonts"},
    {"Installed apps", "ms-settings:appsfeatures"},
    {"Default apps", "ms-settings:defaultapps"},
    {"Startup apps", "ms-settings:startupapps"},
    {"Optional features", "ms-settings:optionalfeatures"},
    {"Your info", "ms-settings:yourinfo"},
    {"Email & accounts", "ms-settings:emailandaccounts"},
    {"Sign-in options", "ms-settings:signinoptions"},
    {"Family", "ms-settings:family-group"},
    {"Date & time", "ms-settings:dateandtime"},
    {"Language & region", "ms-settings:regionlanguage"},
    {"Speech", "ms-settings:speech"},
    {"Game Mode", "ms-settings:gaming-gamemode"},
    {"Narrator", "ms-settings:easeofaccess-narrator"},
    {"Magnifier", "ms-settings:easeofaccess-magnifier"},
    {"Text size", "ms-settings:easeofaccess-display"},
    {"Contrast themes", "ms-settings:easeofaccess-highcontrast"},
    {"Privacy & security", "ms-settings:privacy"},
    {"Location", "ms-settings:privacy-location"},
    {"Camera privacy", "ms-settings:privacy-webcam"},
    {"Microphone privacy", "ms-settings:privacy-microphone"},
    {"Windows Security", "ms-settings:windowsdefender"},
    {"Windows Update", "ms-settings:windowsupdate"},
    {"Recovery", "ms-settings:recovery"},
    {"Activation", "ms-settings:activation"},
    {"Troubleshoot", "ms-settings:troubleshoot"},
    {"For developers", "ms-settings:developers"},
};

const int kSettingsPageCount = static_cast<int>(sizeof kSettingsPages / sizeof kSettingsPages[0]);

void AddSettingsPages(Catalogue& catalogue) {
    for (const SettingsPage& page : kSettingsPages) {
        catalogue.AddName(page.address, page.name, CatalogueEntry::kShellItem);
    }
}
