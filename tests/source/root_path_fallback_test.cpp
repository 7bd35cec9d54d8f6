#include <gtest/gtest.h>
#include <malloc.h>

#include <string>
#include <thread>
#include <vector>

#include "source/settings/root_path.h"

namespace {

std::string jbroot(const char* path) {
  char buffer[kRootPathBufferSize];
  char* result = libroot_dyn_jbrootpath(path, buffer);
  return result ? result : "(null)";
}

std::string rootfs(const char* path) {
  char buffer[kRootPathBufferSize];
  char* result = libroot_dyn_rootfspath(path, buffer);
  return result ? result : "(null)";
}

}  // namespace

TEST(RootPathWithoutLibrootTest, AnswersAsARootlessDeviceUnderVarJb) {
  EXPECT_STREQ(libroot_dyn_get_root_prefix(), "");
  EXPECT_STREQ(libroot_dyn_get_jbroot_prefix(), "/var/jb");
  EXPECT_STREQ(libroot_dyn_get_boot_uuid(), "00000000-0000-0000-0000-000000000000");
  EXPECT_EQ(jbroot("/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist"),
            "/var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist");
  EXPECT_EQ(jbroot("relative/file"), "relative/file");
  EXPECT_EQ(jbroot(""), "");
}

TEST(RootPathWithoutLibrootTest, RootFileSystemPathIsTheInverse) {
  EXPECT_EQ(rootfs("/var/jb/usr/lib"), "/usr/lib");
  EXPECT_EQ(rootfs("/usr/lib"), "/usr/lib");
  EXPECT_EQ(rootfs("/var/jb"), "/");
  EXPECT_EQ(rootfs("relative"), "relative");
  // A sibling whose name merely begins with the prefix does not lie under it.
  EXPECT_EQ(rootfs("/var/jbx/file"), "/var/jbx/file");
}

TEST(RootPathWithoutLibrootTest, AbsentPathGivesNullAndAbsentBufferIsAllocated) {
  char buffer[kRootPathBufferSize] = "untouched";
  EXPECT_EQ(libroot_dyn_jbrootpath(nullptr, buffer), nullptr);
  EXPECT_EQ(libroot_dyn_rootfspath(nullptr, nullptr), nullptr);
  EXPECT_STREQ(buffer, "untouched");
  char* owned = libroot_dyn_jbrootpath("/etc/hosts", nullptr);
  ASSERT_NE(owned, nullptr);
  EXPECT_STREQ(owned, "/var/jb/etc/hosts");
  EXPECT_GE(malloc_usable_size(owned), kRootPathBufferSize);
  free(owned);
  owned = libroot_dyn_rootfspath("/var/jb/etc", nullptr);
  EXPECT_STREQ(owned, "/etc");
  free(owned);
}

TEST(RootPathWithoutLibrootTest, LongPathsAreCutToTheBuffer) {
  std::string longPath = "/" + std::string(2000, 'a');
  char buffer[kRootPathBufferSize];
  std::string joined = libroot_dyn_jbrootpath(longPath.c_str(), buffer);
  EXPECT_EQ(joined.size(), kRootPathBufferSize - 1);
  EXPECT_EQ(joined, ("/var/jb" + longPath).substr(0, kRootPathBufferSize - 1));
  std::string stripped = libroot_dyn_rootfspath(longPath.c_str(), buffer);
  EXPECT_EQ(stripped.size(), kRootPathBufferSize - 1);
}

TEST(RootPathWithoutLibrootTest, FallbacksAnswerDirectlyToo) {
  char buffer[kRootPathBufferSize];
  EXPECT_STREQ(libroot_jbrootpath_fallback("/a", buffer), "/var/jb/a");
  EXPECT_STREQ(libroot_rootfspath_fallback("/var/jb/a", buffer), "/a");
  EXPECT_STREQ(libroot_get_jbroot_prefix_fallback(), "/var/jb");
}
