#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "source/settings/root_path.h"

// Runs first in this program: the load must happen once even when first calls race.
TEST(RootPathWithPartialLibrootTest, RacingFirstCallsAllSeeTheLoadedLibrary) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      char buffer[kRootPathBufferSize];
      if (std::string(libroot_dyn_jbrootpath("/x", buffer)) != "fake:/x") ++wrong;
    });
  }
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(RootPathWithPartialLibrootTest, OnlyTheMissingFunctionFallsBack) {
  EXPECT_STREQ(libroot_dyn_get_root_prefix(), "/fake/root");
  EXPECT_STREQ(libroot_dyn_get_jbroot_prefix(), "/fake/jb");
  EXPECT_STREQ(libroot_dyn_get_boot_uuid(), "FAKE-BOOT");
  char buffer[kRootPathBufferSize];
  EXPECT_STREQ(libroot_dyn_jbrootpath("/usr/lib", buffer), "fake:/usr/lib");
  // libroot_rootfspath is missing from this libroot: the built-in answer stands in.
  EXPECT_STREQ(libroot_dyn_rootfspath("/var/jb/usr/lib", buffer), "/usr/lib");
}
