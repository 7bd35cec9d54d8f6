#include "support/prefs_fixture.h"

namespace {

class VisibilityTest : public PrefsTest {
 protected:
  bool visible(NSDictionary::Entries properties) {
    Ref<PSListController> page = makePage("MirraRootListController");
    Ref<PSSpecifier> row = specifier(page.get(), std::move(properties));
    return objc::msgSend<bool>(page, objc::sel("isSpecifierVisible:"),
                               static_cast<NSObject*>(row.get()));
  }
};

TEST_F(VisibilityTest, PlainRowIsShownWithoutSettingsFile) {
  EXPECT_TRUE(visible({{"key", str("elegantBorder")}}));
}

TEST_F(VisibilityTest, DependsOnMissingSettingHides) {
  writeSettings({{"other", boolean(true)}});
  EXPECT_FALSE(visible({{"depends", str("renderMode")}}));
}

TEST_F(VisibilityTest, DependsOnTrueSettingShows) {
  writeSettings({{"renderMode", boolean(true)}});
  EXPECT_TRUE(visible({{"depends", str("renderMode")}}));
}

TEST_F(VisibilityTest, DependsOnStoredFalseHides) {
  writeSettings({{"renderMode", boolean(false)}});
  EXPECT_FALSE(visible({{"depends", str("renderMode")}}));
}

TEST_F(VisibilityTest, DependsNotOnMissingSettingShows) {
  writeSettings({});
  EXPECT_TRUE(visible({{"dependsNot", str("renderMode")}}));
}

TEST_F(VisibilityTest, DependsNotOnTrueSettingHides) {
  writeSettings({{"renderMode", real(1)}});
  EXPECT_FALSE(visible({{"dependsNot", str("renderMode")}}));
}

TEST_F(VisibilityTest, BothDependenciesShowOnlyWhenFirstTrueAndSecondNot) {
  NSDictionary::Entries row{{"depends", str("a")}, {"dependsNot", str("b")}};
  writeSettings({{"a", boolean(true)}, {"b", boolean(false)}});
  EXPECT_TRUE(visible(row));
  writeSettings({{"a", boolean(true)}, {"b", boolean(true)}});
  EXPECT_FALSE(visible(row));
  writeSettings({{"a", boolean(false)}, {"b", boolean(false)}});
  EXPECT_FALSE(visible(row));
}

TEST_F(VisibilityTest, LabelDependantHidesOnlyWhenBothLabelSettingsAreTrue) {
  NSDictionary::Entries row{{"labelDependant", boolean(false)}};
  writeSettings({{"hideLabels", boolean(true)}, {"dockHideLabels", boolean(true)}});
  EXPECT_FALSE(visible(row));
  writeSettings({{"hideLabels", boolean(true)}});
  EXPECT_TRUE(visible(row));
}

TEST_F(VisibilityTest, MissingRegularModeHidesRegularColourRows) {
  writeSettings({});
  EXPECT_FALSE(visible({{"key", str("regularAutoColor")}}));
  EXPECT_FALSE(visible({{"key", str("regularColor")}}));
  writeSettings({{"regularMode", str("none")}});
  EXPECT_FALSE(visible({{"key", str("regularColor")}}));
  writeSettings({{"regularMode", str("custom")}});
  EXPECT_TRUE(visible({{"key", str("regularColor")}}));
}

TEST_F(VisibilityTest, MissingNotificationModeShowsNotificationColourRows) {
  writeSettings({});
  EXPECT_TRUE(visible({{"key", str("notificationAutoColor")}}));
  EXPECT_TRUE(visible({{"key", str("notificationColor")}}));
  writeSettings({{"notificationMode", str("none")}});
  EXPECT_FALSE(visible({{"key", str("notificationColor")}}));
}

TEST_F(VisibilityTest, ModeRulesLeaveOtherKeysAlone) {
  writeSettings({{"notificationMode", str("none")}});
  EXPECT_TRUE(visible({{"key", str("regularModeless")}}));
  EXPECT_TRUE(visible({{"key", str("notificationMode")}}));
}

TEST_F(VisibilityTest, RootPageLoadsWithHidingAndKeepsFullListSaved) {
  Ref<PSListController> page = makePage("MirraRootListController");
  // Every row of the shipped root page is visible by default, so hiding shows in the count
  // only when a rule fires; a row with "depends" is added by the plist of this test.
  Ref<NSArray> all =
      objc::msgSend<Ref<NSArray>>(page, objc::sel("loadSpecifiersFromPlistName:target:"),
                                  str("Root"), static_cast<NSObject*>(page.get()));
  auto extra = specifier(page.get(), {{"depends", str("renderMode")}});
  Ref<NSMutableArray> withExtra = NSMutableArray::mutableCopyOf(all.get());
  withExtra->addObject(extra);
  EXPECT_FALSE(objc::msgSend<bool>(page, objc::sel("isSpecifierVisible:"),
                                   static_cast<NSObject*>(extra.get())));
  Ref<NSArray> shown =
      objc::msgSend<Ref<NSArray>>(page, objc::sel("dynamicSpecifiersFromPlist:"), str("Root"));
  Ref<NSArray> saved = objc::msgSend<Ref<NSArray>>(page, objc::sel("savedSpecifiers"));
  EXPECT_EQ(shown->count(), all->count());
  EXPECT_EQ(saved->count(), all->count());
}

TEST_F(VisibilityTest, SubPagesDoNotFilter) {
  writeSettings({});
  Ref<PSListController> page = makePage("SepSettingsHSCell");
  Ref<NSArray> shown = page->specifiers();
  Ref<NSArray> plist =
      objc::msgSend<Ref<NSArray>>(page, objc::sel("loadSpecifiersFromPlistName:target:"),
                                  str("SepSettingsHS"), static_cast<NSObject*>(page.get()));
  EXPECT_EQ(shown->count(), plist->count());
  EXPECT_GT(shown->count(), 0u);
}

}  // namespace
