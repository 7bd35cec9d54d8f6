#include "platform/foundation/user_defaults.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/foundation/device.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"

namespace {

// Each test gets a domain of its own in one device folder for this program.
Ref<NSUserDefaults> freshDomain() {
  static const std::filesystem::path folder = [] {
    std::string path = (std::filesystem::temp_directory_path() / "vitrel-defaults-XXXXXX").string();
    if (!mkdtemp(path.data())) ADD_FAILURE() << "no temporary folder";
    device::setDirectory(path);
    return std::filesystem::path(path);
  }();
  static int next = 0;
  return NSUserDefaults::initWithSuiteName("com.example.suite" + std::to_string(++next));
}

std::string textOf(const Ref<NSObject>& value) {
  return value ? describe(value.get()) : "nil";
}

}  // namespace

TEST(UserDefaultsTest, StoredValuesHideRegisteredOnesUntilRemoved) {
  auto defaults = freshDomain();
  defaults->registerDefaults(
      NSDictionary::from({{"backgroundType", NSString::from("icon")}}).get());
  EXPECT_EQ(textOf(defaults->objectForKey("backgroundType")), "icon");
  ASSERT_TRUE(defaults->setObject("backgroundType", NSString::from("color")));
  EXPECT_EQ(textOf(defaults->objectForKey("backgroundType")), "color");
  ASSERT_TRUE(defaults->removeObjectForKey("backgroundType"));
  EXPECT_EQ(textOf(defaults->objectForKey("backgroundType")), "icon");
  EXPECT_EQ(defaults->objectForKey("unknown"), nullptr);
}

TEST(UserDefaultsTest, RegisteredDefaultsAreNeverWrittenToTheFile) {
  auto defaults = freshDomain();
  defaults->registerDefaults(
      NSDictionary::from({{"enabled", NSNumber::numberWithBool(true)}}).get());
  ASSERT_TRUE(defaults->setObject("lineWidth", NSNumber::numberWithLongLong(4)));
  auto file = readPropertyListDictionary(defaults->path());
  ASSERT_TRUE(file) << file.error();
  EXPECT_EQ(file.value()->count(), 1u);
  EXPECT_EQ(file.value()->objectForKey("enabled"), nullptr);
  EXPECT_EQ(defaults->path().filename(), defaults->suiteName() + ".plist");
  EXPECT_NE(defaults->path().string().find("/var/jb/var/mobile/Library/Preferences/"),
            std::string::npos);
}

TEST(UserDefaultsTest, ReadsSeeWhatAnotherWriterPutInTheFile) {
  auto defaults = freshDomain();
  ASSERT_TRUE(defaults->setObject("appearance", NSString::from("light")));
  // Another process replaces the domain's file.
  ASSERT_TRUE(writePropertyListAtomically(
      NSDictionary::from({{"appearance", NSString::from("dark")}}).get(), defaults->path()));
  EXPECT_EQ(textOf(defaults->objectForKey("appearance")), "dark");
  EXPECT_EQ(defaults->stringForKey("appearance")->string(), "dark");
  EXPECT_FALSE(defaults->boolForKey("appearance"));
  ASSERT_TRUE(defaults->setObject("borderWidth", NSNumber::numberWithDouble(2.5)));
  EXPECT_EQ(defaults->doubleForKey("borderWidth"), 2.5);
  EXPECT_EQ(textOf(defaults->objectForKey("appearance")), "dark") << "a write keeps the rest";
}
