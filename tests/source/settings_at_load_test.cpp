#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"

TEST(SettingsAtLoadTest, FilePresentAtLoadIsInPlaceBeforeAnyHookRuns) {
  injected_host::enterFreshDevice();
  setUpHost({});
  injected_host::writeSettings(
      NSDictionary::from({{"elegantBorder", NSNumber::numberWithBool(true)},
                          {"cornerRadius", NSNumber::numberWithDouble(14)},
                          {"colorMethodTavrelHS", NSString::from("colorMethodTavrel")}})
          .get());
  objc::Class* listView = objc_getClass("_UIContextMenuListView");
  objc::Imp hostLayout =
      method_getImplementation(class_getInstanceMethod(listView, objc::sel("layoutSubviews")));

  SettingsProbe probe(injected_host::loadLibrary(LIBRARY_PATH));

  // Once loading returns, hooks are in place and may run at any moment: the settings they read
  // are already the file's.
  EXPECT_FALSE(method_getImplementation(
                   class_getInstanceMethod(listView, objc::sel("layoutSubviews"))) == hostLayout);
  EXPECT_TRUE(probe.settings().elegantBorder);
  EXPECT_EQ(probe.settings().cornerRadius, 14.0f);
  ASSERT_NE(probe.settings().colorMethodTavrelHS, nullptr);
  EXPECT_EQ(probe.settings().colorMethodTavrelHS->string(), "colorMethodTavrel");
  EXPECT_EQ(probe.settingsFilePath(), injected_host::settingsFile().string());
}
