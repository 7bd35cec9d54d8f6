#include <gtest/gtest.h>

#include <fstream>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/run_loop.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

namespace {

Ref<NSNumber> number(double value) {
  return NSNumber::numberWithDouble(value);
}
Ref<NSNumber> boolean(bool value) {
  return NSNumber::numberWithBool(value);
}
Ref<NSString> text(const char* value) {
  return NSString::from(value);
}

std::string stringOf(const Ref<NSString>& value) {
  return value ? value->string() : "nil";
}

class SettingsReloadTest : public ::testing::Test {
 protected:
  // A host with no settings file at load.
  static void SetUpTestSuite() {
    injected_host::enterFreshDevice();
    setUpHost({});
    probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
  }
  static void TearDownTestSuite() { probe.reset(); }

  const Settings& settings() const { return probe->settings(); }

  static inline std::unique_ptr<SettingsProbe> probe;
};

}  // namespace

TEST_F(SettingsReloadTest, FirstLoadWithoutAFileLeavesEverythingOffButTheMasterSwitch) {
  EXPECT_TRUE(settings().enabled);
  for (const SettingField& entry : kSettingFields) {
    if (entry.key == "enabled") continue;
    std::visit(
        [&](auto field) {
          const auto& value = settings().*field;
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Ref<NSString>>) {
            EXPECT_EQ(value, nullptr) << entry.key;
          } else {
            EXPECT_EQ(value, 0) << entry.key;
          }
        },
        entry.field);
  }
}

TEST_F(SettingsReloadTest, AFileWithoutTheMasterSwitchTurnsItOn) {
  injected_host::writeSettings(NSDictionary::from({{"enabled", boolean(false)}}).get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_FALSE(settings().enabled);
  injected_host::writeSettings(NSDictionary::from({{"cornerRadius", number(3)}}).get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_TRUE(settings().enabled) << "unlike the other switches, absent means on";
}

TEST_F(SettingsReloadTest, MissingKeysKeepNumbersAndBooleansButClearStrings) {
  injected_host::writeSettings(
      NSDictionary::from({{"septhickness", number(2.5)},
                          {"hideHSThinSep", boolean(true)},
                          {"colorMethodTavrelHS", text("colorMethodTavrel")},
                          {"titlesToRemove", text("Share App")}})
          .get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_EQ(settings().septhickness, 2.5f);
  EXPECT_TRUE(settings().hideHSThinSep);
  EXPECT_EQ(stringOf(settings().colorMethodTavrelHS), "colorMethodTavrel");

  injected_host::writeSettings(NSDictionary::from({{"sepWidth", number(12)}}).get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_EQ(settings().sepWidth, 12.0f);
  EXPECT_EQ(settings().septhickness, 2.5f) << "a number the file lacks keeps its value";
  EXPECT_TRUE(settings().hideHSThinSep) << "so does a boolean";
  EXPECT_EQ(settings().colorMethodTavrelHS, nullptr) << "a string the file lacks is cleared";
  EXPECT_EQ(settings().titlesToRemove, nullptr);
}

TEST_F(SettingsReloadTest, UnreadableFileChangesNothingStringsIncluded) {
  injected_host::writeSettings(NSDictionary::from({{"LScornerRadius", number(9)},
                                                   {"titlesToRemove", text("Edit Home Screen")}})
                                   .get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  // Caught mid-replacement: the file is there but cannot be read.
  std::ofstream(injected_host::settingsFile(), std::ios::trunc) << "<?xml version=\"1.0\"?><pli";
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_EQ(settings().LScornerRadius, 9.0f);
  EXPECT_EQ(stringOf(settings().titlesToRemove), "Edit Home Screen");
}

TEST_F(SettingsReloadTest, DirectLookupSeesTheFileBeforeTheNotification) {
  injected_host::writeSettings(NSDictionary::from({{"titlesToRemove", text("Old")}}).get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  injected_host::writeSettings(NSDictionary::from({{"titlesToRemove", text("New")}}).get());
  EXPECT_EQ(describe(probe->GetNSString("titlesToRemove", "").get()), "New");
  EXPECT_EQ(stringOf(settings().titlesToRemove), "Old") << "variables wait for the reload";
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_EQ(stringOf(settings().titlesToRemove), "New");
  EXPECT_EQ(describe(probe->GetNSString("cornerRadius", "fallback").get()), "fallback");
  std::filesystem::remove(injected_host::settingsFile());
  EXPECT_EQ(describe(probe->GetNSString("titlesToRemove", "gone").get()), "gone");
}

TEST_F(SettingsReloadTest, ValuesConvertAsThePlatformConvertsThem) {
  injected_host::writeSettings(NSDictionary::from({{"enabled", text("YES")},
                                                   {"renderMode", number(2)},
                                                   {"cornerRadius", text("12.5pt")},
                                                   {"borderThicknessHS", boolean(true)},
                                                   {"colorMethodTavrel", number(1)},
                                                   {"elegantBorder", NSArray::from({})}})
                                   .get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
  EXPECT_TRUE(settings().enabled);
  EXPECT_TRUE(settings().renderMode);
  EXPECT_EQ(settings().cornerRadius, 12.5f);
  EXPECT_EQ(settings().borderThicknessHS, 1.0f);
  EXPECT_EQ(settings().colorMethodTavrel, nullptr) << "a string key holding a number reads nil";
  EXPECT_FALSE(settings().elegantBorder) << "an array converts to false instead of failing";
}

TEST_F(SettingsReloadTest, PostsBeforeTheLoopTurnsReloadOnce) {
  EXPECT_EQ(injected_host::reloadSettings(3), 1u);
}

TEST_F(SettingsReloadTest, PathIsTheDevicesRootlessPath) {
  EXPECT_EQ(probe->settingsFilePath(), injected_host::settingsFile().string());
}
