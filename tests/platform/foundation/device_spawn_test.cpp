#include "platform/foundation/device_spawn.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/foundation/device.h"

namespace fs = std::filesystem;

namespace {

// A device whose file system has a /usr/bin holding one script, which writes its PATH to the
// file named by its argument; it has no /bin.
class DeviceSpawnTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string path = (fs::temp_directory_path() / "vitrel-spawn-XXXXXX").string();
    ASSERT_NE(mkdtemp(path.data()), nullptr);
    work_ = path;
    root_ = work_ / "device";
    fs::create_directories(root_ / "usr/bin");
    std::ofstream(root_ / "usr/bin/tool") << "#!/bin/sh\necho \"$PATH\" > \"$1\"\n";
    fs::permissions(root_ / "usr/bin/tool", fs::perms(0755));
    device::setDirectory(root_);
  }
  void TearDown() override { fs::remove_all(work_); }

  // posix_spawn as a device process calls it, with this machine's environment; the error
  // number, 0 once the program has run.
  int run(const char* program, const std::string& argument = "") {
    char* const argv[] = {const_cast<char*>(program), const_cast<char*>(argument.c_str()), nullptr};
    char path[] = "PATH=/usr/bin:/bin";
    char* const environment[] = {path, nullptr};
    pid_t child = 0;
    if (int error = posix_spawn(&child, program, nullptr, nullptr, argv, environment)) {
      return error;
    }
    int status = 0;
    waitpid(child, &status, 0);
    return 0;
  }

  fs::path work_, root_;
};

std::string contents(const fs::path& file) {
  std::ifstream stream(file);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

}  // namespace

TEST_F(DeviceSpawnTest, PathsResolveInTheDevicesFoldersAndThisMachinesWhereItHasNone) {
  EXPECT_EQ(device::programPath(root_, "/usr/bin/killall"), root_ / "usr/bin/killall");
  EXPECT_EQ(device::programPath(root_, "/usr/bin/../bin/tool"), root_ / "usr/bin/tool");
  EXPECT_EQ(device::programPath(root_, "/bin/sh"), "/bin/sh");
  EXPECT_EQ(device::programPath(root_, root_ / "usr/bin/tool"), root_ / "usr/bin/tool");
  EXPECT_EQ(device::programPath(root_ / "", "/usr/bin/tool"), root_ / "usr/bin/tool");
  EXPECT_EQ(device::programPath(root_, "tool"), "tool");
}

TEST_F(DeviceSpawnTest, TheDevicesProgramRunsWithTheDevicesPath) {
  ASSERT_EQ(run("/usr/bin/tool", (work_ / "path").string()), 0);
  std::istringstream path(contents(work_ / "path"));
  std::vector<std::string> folders;
  for (std::string folder; std::getline(path, folder, ':');)
    folders.push_back(folder);
  // The jailbreak's tools first, and nothing of this machine's PATH.
  ASSERT_FALSE(folders.empty());
  EXPECT_EQ(folders.front(), (root_ / "var/jb/usr/local/bin").string());
  for (const std::string& folder : folders)
    EXPECT_TRUE(folder.starts_with(root_.string() + "/")) << folder;
}

TEST_F(DeviceSpawnTest, AProgramMissingFromADeviceFolderIsMissingThoughThisMachineHasIt) {
  ASSERT_TRUE(fs::exists("/usr/bin/env"));
  EXPECT_EQ(run("/usr/bin/env"), ENOENT);
  // Where the device has no folder, this machine's program runs.
  EXPECT_EQ(run("/bin/sh"), 0);
}
