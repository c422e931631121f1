#include "settings/StripSettings.h"

#include "settings/SettingsFile.h"

StripSettings::StripSettings()
    : backColour(kDefaultBackColour),
      textColour(kDefaultTextColour),
      completionColour(kDefaultCompletionColour),
      slideSpeed(kDefaultSlideSpeed),
      growSpeed(kDefaultGrowSpeed),
      hotkeyModifiers(kDefaultHotkeyModifiers),
      hotkeyKey(kDefaultHotkeyKey) {}

void StripSettings::Read(SettingsFile& settings) {
    backColour = settings.GetColour("ui", "colourback", kDefaultBackColour);
    textColour = settings.GetColour("ui", "colourfont", kDefaultTextColour);
    completionColour = settings.GetColour("ui", "colourauto", kDefaultCompletionColour);
    slideSpeed = settings.GetInt("ui", "slidespeed", kDefaultSlideSpeed);
    growSpeed = settings.GetInt("ui", "growspeed", kDefaultGrowSpeed);
    // A slide or grow that never reaches its target would leave its timer
    // running for good: speeds that go backwards or nowhere get the default
    // (a slide speed of 0 stays: it turns sliding off), and huge ones a cap.
    if (slideSpeed < 0) slideSpeed = kDefaultSlideSpeed;
    if (slideSpeed > kMaxSpeed) slideSpeed = kMaxSpeed;
    if (growSpeed <= 0) growSpeed = kDefaultGrowSpeed;
    if (growSpeed > kMaxSpeed) growSpeed = kMaxSpeed;
    hotkeyModifiers = settings.GetInt("hotkey", "mod", kDefaultHotkeyModifiers);
    hotkeyKey = settings.GetInt("hotkey", "vk", kDefaultHotkeyKey);
    options.Read(settings);
}
