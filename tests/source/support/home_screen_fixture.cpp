#include "support/home_screen_fixture.h"

#include "platform/foundation/ns_number.h"
#include "platform/foundation/process_info.h"
#include "platform/springboard/sb_icon_controller.h"
#include "source/settings/settings.h"
#include "support/injected_host.h"

void HomeScreenFixture::SetUpTestSuite() {
  if (home) return;
  injected_host::enterFreshDevice();
  setUpHost({});
  probe = std::make_unique<SettingsProbe>(injected_host::loadLibrary(LIBRARY_PATH));
  Result<AppCatalogue> samples =
      loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
  ASSERT_TRUE(samples) << samples.error();
  home = std::make_unique<HomeScreen>(
      std::make_shared<const AppCatalogue>(std::move(samples).value()));
}

void HomeScreenFixture::SetUp() {
  useSettings({});
  home->showLockScreen(false);
  NSProcessInfo::processInfo()->setOperatingSystemVersion({16, 0, 0});
}

void HomeScreenFixture::useSettings(NSDictionary::Entries values) {
  values.try_emplace("enabled", on());
  for (const SettingField& entry : kSettingFields) {
    if (std::holds_alternative<bool Settings::*>(entry.field)) {
      values.try_emplace(std::string(entry.key), NSNumber::numberWithBool(false));
    } else if (std::holds_alternative<float Settings::*>(entry.field)) {
      values.try_emplace(std::string(entry.key), number(0));
    }
  }
  injected_host::writeSettings(NSDictionary::from(std::move(values)).get());
  ASSERT_EQ(injected_host::reloadSettings(), 1u);
}

void HomeScreenFixture::setLockScreen(bool visible) {
  SBLockScreenManager::sharedInstance()->setLockScreenVisible(visible);
}

Ref<NSObject> HomeScreenFixture::on() {
  return NSNumber::numberWithBool(true);
}

Ref<NSObject> HomeScreenFixture::number(double value) {
  return NSNumber::numberWithDouble(value);
}

void HomeScreenFixture::layOut(UIView* view) {
  objc::msgSend<void>(view, objc::sel("layoutSubviews"));
}
