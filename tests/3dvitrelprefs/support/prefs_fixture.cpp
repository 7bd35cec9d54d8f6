#include "support/prefs_fixture.h"

#include <stdlib.h>

#include "platform/foundation/device.h"
#include "platform/foundation/log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/run_loop.h"

namespace {

struct Environment {
  std::filesystem::path device;
  std::filesystem::path bundle;
  std::shared_ptr<SettingsHost> host;
};

Environment openEnvironment() {
  Environment env;
  {
    std::string folder = (std::filesystem::temp_directory_path() / "vitrel-prefs-XXXXXX").string();
    if (!mkdtemp(folder.data())) ADD_FAILURE() << "cannot make a device folder";
    env.device = folder;
    setLogEcho(true);
    device::setDirectory(env.device);
    Result<std::filesystem::path> installed =
        installBundleResources(BUNDLE_RESOURCES, "3dvitrelprefs.bundle");
    EXPECT_TRUE(installed.ok()) << (installed.ok() ? "" : installed.error());
    env.bundle = installed.valueOr({});
    // The test pages live beside the bundle's own, where its classes look for plists.
    std::filesystem::copy(TEST_RESOURCES, env.bundle,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    Result<std::shared_ptr<SettingsHost>> opened =
        SettingsHost::open({env.bundle, BUNDLE_PATH, "MirraRootListController", "Vitrel"});
    EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error());
    env.host = opened.valueOr(nullptr);
  }
  return env;
}

Environment& environment() {
  static Environment env = openEnvironment();
  return env;
}

}  // namespace

Ref<NSString> str(const std::string& text) {
  return NSString::from(text);
}

Ref<NSNumber> boolean(bool value) {
  return NSNumber::numberWithBool(value);
}

Ref<NSNumber> real(double value) {
  return NSNumber::numberWithDouble(value);
}

void PrefsTest::SetUp() {
  ASSERT_TRUE(environment().host) << "the Settings host did not open";
  std::filesystem::remove(settingsFile());
}

void PrefsTest::TearDown() {
  UINavigationController* navigation = host().navigationController();
  if (HostedViewController* top = navigation->topViewController()) {
    if (top->presentedViewController()) top->dismissViewController(false);
  }
  while (navigation->viewControllers().size() > 2)
    navigation->popViewControllerAnimated(false);
  std::filesystem::remove(settingsFile());
}

SettingsHost& PrefsTest::host() {
  return *environment().host;
}

std::filesystem::path PrefsTest::settingsFile() {
  return environment().device /
         "var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist";
}

std::filesystem::path PrefsTest::bundleFolder() {
  return environment().bundle;
}

void PrefsTest::writeSettings(const NSDictionary::Entries& entries) {
  std::filesystem::create_directories(settingsFile().parent_path());
  Result<void> written =
      writePropertyListAtomically(NSDictionary::from(entries).get(), settingsFile());
  ASSERT_TRUE(written.ok()) << (written.ok() ? "" : written.error());
}

Ref<NSDictionary> PrefsTest::storedSettings() {
  return dictionaryWithContentsOfFile(settingsFile());
}

Ref<PSListController> PrefsTest::makePage(const std::string& className) {
  objc::Class* cls = objc_getClass(className);
  EXPECT_NE(cls, nullptr) << className;
  Ref<PSListController> page = objc::createInstance<PSListController>(cls);
  page->view();
  return page;
}

Ref<PSSpecifier> PrefsTest::specifier(NSObject* target, NSDictionary::Entries properties,
                                      PSCellType cell) {
  auto made = PSSpecifier::preferenceSpecifierNamed(str("Row"), target,
                                                    objc::sel("setPreferenceValue:specifier:"),
                                                    objc::sel("readPreferenceValue:"), cell);
  made->setProperties(NSMutableDictionary::from(std::move(properties)));
  return made;
}

std::string PrefsTest::rowIds(const NSArray* rows) {
  std::string ids;
  for (const Ref<NSObject>& each : *rows) {
    ids += static_cast<PSSpecifier*>(each.get())->identifier()->string();
  }
  return ids;
}

bool PrefsTest::turnMainLoopUntil(const std::function<bool()>& done) {
  return RunLoop::main().runUntil(done, std::chrono::seconds(2));
}

std::optional<page_model::Row> PrefsTest::rowNamed(const page_model::Page& page,
                                                   const std::string& label) {
  for (const page_model::Section& section : page.sections) {
    for (const page_model::Row& row : section.rows) {
      if (row.label == label) return row;
    }
  }
  return std::nullopt;
}

const page_model::ViewNode* PrefsTest::findNode(const page_model::ViewNode& node,
                                                const std::string& className) {
  if (node.className == className) return &node;
  for (const page_model::ViewNode& subview : node.subviews) {
    if (const page_model::ViewNode* found = findNode(subview, className)) return found;
  }
  return nullptr;
}
