#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/ns_dictionary.h"
#include "platform/springboard/home_screen.h"
#include "source/menu/menu_state.h"
#include "support/settings_probe.h"

// The simulated home screen with the library's test variant injected, for every suite of a test
// program: the library loads once per process and keeps the device it found. Each test starts
// unlocked, on system 16, with every switch and number off but the master switch.
class HomeScreenFixture : public ::testing::Test {
 public:
  static Ref<NSObject> on();
  static Ref<NSObject> number(double value);

  // A view of the named class, added to parent when one is given.
  template <class T = UIView>
  static Ref<T> add(const char* className, UIView* parent = nullptr) {
    Ref<T> view = objc::createInstance<T>(objc_getClass(className));
    if (parent) parent->addSubview(view);
    return view;
  }
  static void layOut(UIView* view);

 protected:
  static void SetUpTestSuite();
  void SetUp() override;

  // Exactly these settings: the library keeps a switch or number the file leaves out, so every
  // other one is written off, the master switch excepted.
  static void useSettings(NSDictionary::Entries values);
  // Tells the lock-screen manager only, leaving the screens as they are.
  static void setLockScreen(bool visible);
  static const MenuState& state() { return probe->menuState(); }

  static inline std::unique_ptr<SettingsProbe> probe;
  static inline std::unique_ptr<HomeScreen> home;
};
