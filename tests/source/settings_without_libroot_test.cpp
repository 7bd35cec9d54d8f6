#include <gtest/gtest.h>

#include "source/settings/settings.h"

TEST(SettingsWithoutLibrootTest, FileLiesUnderVarJb) {
  EXPECT_EQ(settingsFilePath(),
            "/var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist");
}

TEST(SettingsWithoutLibrootTest, MissingFileLeavesEverythingOffButTheMasterSwitch) {
  loadPrefs();
  EXPECT_TRUE(settings().enabled);
  EXPECT_EQ(settings().cornerRadius, 0.0f);
  EXPECT_EQ(settings().titlesToRemove, nullptr);
  auto fallback = NSString::from("fallback");
  EXPECT_EQ(GetNSString(NSString::from("titlesToRemove").get(), fallback.get()), fallback);
}
