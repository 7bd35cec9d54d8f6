#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/preferences/framework/ps_list_controller.h"
#include "platform/preferences/host/settings_host.h"

// A Settings host with the bundle loaded, on a device folder made for this test program. The
// bundle loads once per process; each test starts on the root page with no settings file.
class PrefsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static SettingsHost& host();
  static std::filesystem::path settingsFile();
  static std::filesystem::path bundleFolder();
  static void writeSettings(const NSDictionary::Entries& entries);
  // The settings file's dictionary; nil when missing.
  static Ref<NSDictionary> storedSettings();

  // A page controller of the bundle, made by class name as the framework makes it, with its
  // view loaded.
  static Ref<PSListController> makePage(const std::string& className);
  // A specifier with these plist properties, for the given target.
  static Ref<PSSpecifier> specifier(NSObject* target, NSDictionary::Entries properties,
                                    PSCellType cell = PSSwitchCell);
  // Turns the main loop until done() or two seconds pass.
  static bool turnMainLoopUntil(const std::function<bool()>& done);

  // The row of the page with that label, if any (a copy: pages are snapshots).
  static std::optional<page_model::Row> rowNamed(const page_model::Page& page,
                                                 const std::string& label);
  // The rows' identifiers, one letter each on the test pages, in order.
  static std::string rowIds(const NSArray* rows);
  static const page_model::ViewNode* findNode(const page_model::ViewNode& node,
                                              const std::string& className);
};

Ref<NSString> str(const std::string& text);
Ref<NSNumber> boolean(bool value);
Ref<NSNumber> real(double value);
