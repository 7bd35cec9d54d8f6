#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "source/settings/settings_keys.h"

namespace {

const std::vector<std::string> kPlists{"Root",
                                       "SepSettingsLS",
                                       "BackgroundSettings",
                                       "ContextMenuSettings",
                                       "ExpandedAdjusments",
                                       "SepSettingsHS"};

std::vector<Ref<NSDictionary>> items(const std::string& plist) {
  Result<Ref<NSDictionary>> page =
      readPropertyListDictionary(std::filesystem::path(BUNDLE_RESOURCES) / (plist + ".plist"));
  EXPECT_TRUE(page.ok()) << plist;
  std::vector<Ref<NSDictionary>> result;
  if (!page.ok()) return result;
  for (const Ref<NSObject>& item : *page.value()->objectForKey<NSArray>("items")) {
    result.push_back(Ref<NSDictionary>(dynamic_cast<NSDictionary*>(item.get())));
  }
  return result;
}

std::string text(const NSDictionary* item, std::string_view key) {
  Ref<NSString> value = item->objectForKey<NSString>(key);
  return value ? value->string() : "";
}

// What the library does while a key is absent, as a stored value would say it.
bool defaultMatchesAbsence(const SettingField& field, const NSObject* value) {
  if (std::holds_alternative<bool Settings::*>(field.field)) {
    auto* number = dynamic_cast<const NSNumber*>(value);
    // The master switch is on until the file turns it off.
    return number && number->isBoolean() && number->boolValue() == (field.key == "enabled");
  }
  if (std::holds_alternative<float Settings::*>(field.field)) {
    auto* number = dynamic_cast<const NSNumber*>(value);
    return number && number->doubleValue() == 0;
  }
  auto* string = dynamic_cast<const NSString*>(value);
  if (!string) return false;
  // No titles removed; any colour source but the colorizer's means the dominant colour.
  return field.key == "titlesToRemove" ? string->length() == 0
                                       : string->string() != "colorMethodTavrel";
}

TEST(ResourcesTest, EveryLibraryKeyIsOfferedWithReloadAndAnHonestDefault) {
  std::map<std::string, std::vector<Ref<NSDictionary>>> offered;
  for (const std::string& plist : kPlists) {
    for (const Ref<NSDictionary>& item : items(plist)) {
      if (!text(item.get(), "key").empty()) offered[text(item.get(), "key")].push_back(item);
    }
  }
  for (const SettingField& field : kSettingFields) {
    auto rows = offered.find(std::string(field.key));
    ASSERT_NE(rows, offered.end()) << field.key << " is offered nowhere";
    for (const Ref<NSDictionary>& row : rows->second) {
      EXPECT_EQ(text(row.get(), "PostNotification"), kReloadPrefsNotification) << field.key;
      EXPECT_TRUE(defaultMatchesAbsence(field, row->objectForKey("default").get())) << field.key;
    }
  }
  EXPECT_EQ(offered.size(), kSettingFields.size()) << "a plist offers a key the library ignores";
}

TEST(ResourcesTest, RootLinksEverySubPageAndOffersSheetsAndRespring) {
  std::set<std::string> details, actions;
  for (const Ref<NSDictionary>& item : items("Root")) {
    if (!text(item.get(), "detail").empty()) details.insert(text(item.get(), "detail"));
    if (!text(item.get(), "action").empty()) actions.insert(text(item.get(), "action"));
  }
  EXPECT_EQ(details,
            (std::set<std::string>{"SepSettingsCell", "BackgroundSettingsCell", "ContextMenuLabels",
                                   "Expanded3DAdjustments", "SepSettingsHSCell"}));
  EXPECT_EQ(actions, (std::set<std::string>{"showWtfChangedInThisVersion2",
                                            "showWtfChangedInThisVersion", "respring"}));
}

TEST(ResourcesTest, SegmentTitlesNameImagesOfTheBundle) {
  for (const std::string& plist : kPlists) {
    for (const Ref<NSDictionary>& item : items(plist)) {
      if (text(item.get(), "cellClass") != "XXXSegmentTableImageCell") continue;
      for (const Ref<NSObject>& title : *item->objectForKey<NSArray>("validTitles")) {
        std::string name = static_cast<NSString*>(title.get())->string() + ".png";
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(BUNDLE_RESOURCES) / name))
            << name;
      }
    }
  }
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(BUNDLE_RESOURCES) / "Assets/1.png"));
}

}  // namespace
