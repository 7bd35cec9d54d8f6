#include "injected_host.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/foundation/device.h"
#include "platform/foundation/log.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/run_loop.h"
#include "source/settings/settings.h"

namespace injected_host {

std::filesystem::path enterFreshDevice() {
  std::string folder = (std::filesystem::temp_directory_path() / "vitrel-host-XXXXXX").string();
  if (!mkdtemp(folder.data())) ADD_FAILURE() << "cannot make a device folder";
  device::setDirectory(folder);
  return folder;
}

std::filesystem::path settingsFile() {
  return *device::directory() /
         "var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist";
}

void writeSettings(const NSDictionary* settings) {
  std::filesystem::create_directories(settingsFile().parent_path());
  auto written = writePropertyListAtomically(settings, settingsFile());
  EXPECT_TRUE(written.ok()) << (written.ok() ? "" : written.error());
}

size_t reloadSettings(int posts) {
  LogCapture capture;
  for (int i = 0; i < posts; ++i) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         CFSTR(kReloadPrefsNotification), nullptr, nullptr, true);
  }
  RunLoop::main().runUntil([&] { return !capture.lines().empty(); }, std::chrono::seconds(10));
  RunLoop::main().runOnce(std::chrono::milliseconds(0));
  return capture.lines().size();
}

void* loadLibrary(const std::string& path) {
  void* library = dlopen(path.c_str(), RTLD_NOW);
  EXPECT_NE(library, nullptr) << dlerror();
  return library;
}

void* symbol(void* library, const char* name) {
  void* address = library ? dlsym(library, name) : nullptr;
  EXPECT_NE(address, nullptr) << name << ": " << dlerror();
  return address;
}

}  // namespace injected_host
