#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "apps/vitrel/device_processes.h"
#include "apps/vitrel/package_database.h"
#include "platform/foundation/device.h"

namespace fs = std::filesystem;

namespace {

class DeviceRecordsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string path = (fs::temp_directory_path() / "vitrel-records-XXXXXX").string();
    ASSERT_NE(mkdtemp(path.data()), nullptr);
    root_ = path;
    device::setDirectory(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
};

// A process that has ended and been reaped: its id may be anyone's now.
pid_t endedProcess() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

}  // namespace

TEST_F(DeviceRecordsTest, ARecordNamesItsLiveProcessUntilItGoes) {
  {
    DeviceProcessRecord record("SpringBoard", getpid());
    EXPECT_EQ(deviceProcess("SpringBoard"), getpid());
    EXPECT_EQ(deviceProcess("backboardd"), std::nullopt);
  }
  EXPECT_EQ(deviceProcess("SpringBoard"), std::nullopt);
}

TEST_F(DeviceRecordsTest, ARecordOfAnEndedProcessOrAnotherStartNamesNoOne) {
  fs::create_directories(root_ / "var/run");
  std::ofstream(root_ / "var/run/SpringBoard.pid") << getpid() << " 1\n";
  EXPECT_EQ(deviceProcess("SpringBoard"), std::nullopt);
  {
    DeviceProcessRecord ended("backboardd", endedProcess());
    EXPECT_EQ(deviceProcess("backboardd"), std::nullopt);
  }
  std::ofstream(root_ / "var/run/SpringBoard.pid") << "garbage";
  EXPECT_EQ(deviceProcess("SpringBoard"), std::nullopt);
}

TEST_F(DeviceRecordsTest, AnOlderRecordLeavesTheNewerOneInPlace) {
  auto older = std::make_unique<DeviceProcessRecord>("SpringBoard", endedProcess());
  DeviceProcessRecord newer("SpringBoard", getpid());
  older.reset();
  EXPECT_EQ(deviceProcess("SpringBoard"), getpid());
}

TEST_F(DeviceRecordsTest, InstallingAPackageReplacesItsRecordAndKeepsTheOthers) {
  EXPECT_EQ(packageStatus("com.brackwood.quenby"), std::nullopt);
  ASSERT_TRUE(recordInstalledPackage({"com.example.other", "2.1"}));
  ASSERT_TRUE(recordInstalledPackage({"com.brackwood.quenby", "0.9"}));
  ASSERT_TRUE(recordInstalledPackage({"com.brackwood.quenby", "1.0"}));
  EXPECT_EQ(packageStatus("com.brackwood.quenby"),
            "Package: com.brackwood.quenby\nStatus: install ok installed\nArchitecture: "
            "iphoneos-arm64\nVersion: 1.0\n");
  ASSERT_TRUE(packageStatus("com.example.other"));
  EXPECT_NE(packageStatus("com.example.other")->find("Version: 2.1\n"), std::string::npos);
  EXPECT_EQ(packageStatus("com.brackwood"), std::nullopt);
}

TEST_F(DeviceRecordsTest, AnUnreadableDatabaseIsNotOverwritten) {
  fs::create_directories(root_ / "var/jb/var/lib/dpkg/status");
  EXPECT_FALSE(recordInstalledPackage({"com.brackwood.quenby", "1.0"}));
}
