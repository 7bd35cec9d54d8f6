#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/foundation/device.h"
#include "source/settings/root_path.h"

namespace {

const std::filesystem::path kDevice = std::filesystem::temp_directory_path() / "vitrel-rootpath";

}  // namespace

TEST(RootPathWithDeviceLibrootTest, ResolvesIntoTheDeviceFolder) {
  // As a host does: name the device before anything resolves a path.
  device::setDirectory(kDevice);
  std::string device = kDevice.string();
  EXPECT_EQ(std::string(libroot_dyn_get_root_prefix()), device);
  EXPECT_EQ(std::string(libroot_dyn_get_jbroot_prefix()), device + "/var/jb");
  EXPECT_EQ(std::string(libroot_dyn_get_boot_uuid()).size(), 36u);
  char buffer[kRootPathBufferSize];
  EXPECT_EQ(std::string(libroot_dyn_jbrootpath("/var/mobile/Library/Preferences/x.plist", buffer)),
            device + "/var/jb/var/mobile/Library/Preferences/x.plist");
  EXPECT_EQ(std::string(libroot_dyn_rootfspath((device + "/var/jb/usr/lib").c_str(), buffer)),
            "/usr/lib");
  EXPECT_EQ(std::string(libroot_dyn_rootfspath("/usr/lib", buffer)), device + "/usr/lib");
  EXPECT_EQ(std::string(libroot_dyn_jbrootpath("relative", buffer)), "relative");
}
