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

// The root page hides rows by the rules as it loads them, and keeps every row saved for when the
// settings change. No row of the shipped root page bears a rule, so it loads the test page's.
TEST_F(VisibilityTest, RootPageLoadsWithHidingAndKeepsFullListSaved) {
  writeSettings({});
  Ref<PSListController> page = makePage("MirraRootListController");
  Ref<NSArray> shown = objc::msgSend<Ref<NSArray>>(page, objc::sel("dynamicSpecifiersFromPlist:"),
                                                   str("Dependencies"));
  Ref<NSArray> saved = objc::msgSend<Ref<NSArray>>(page, objc::sel("savedSpecifiers"));
  EXPECT_EQ(rowIds(shown.get()), "GDEF");
  EXPECT_EQ(rowIds(saved.get()), "GABCDEF");
}

// Sub pages show every row of their plist: hiding is the root page's. No row of the shipped sub
// pages bears a rule, so one of them is given the test page's rows for this test.
TEST_F(VisibilityTest, SubPagesDoNotFilter) {
  writeSettings({});
  const std::filesystem::path plist = bundleFolder() / "SepSettingsHS.plist";
  const std::filesystem::path shipped = bundleFolder() / "SepSettingsHS.plist.shipped";
  std::filesystem::rename(plist, shipped);
  std::filesystem::copy_file(bundleFolder() / "Dependencies.plist", plist);
  Ref<PSListController> page = makePage("SepSettingsHSCell");
  Ref<NSArray> shown = page->specifiers();
  std::filesystem::remove(plist);
  std::filesystem::rename(shipped, plist);
  EXPECT_EQ(rowIds(shown.get()), "GABCDEF");
}

}  // namespace
