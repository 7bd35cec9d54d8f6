#include "platform/foundation/file_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

class FileLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("file_lock_test." + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Whether another open file could take the lock now (it is not held).
  bool lockIsFree() const {
    const int descriptor = ::open((file() + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return true;
    const bool free = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    ::close(descriptor);
    return free;
  }

  std::string file() const { return (folder_ / "settings.plist").string(); }

  fs::path folder_;
};

// Each process reads a count, adds one and writes it back: without the lock two of them read
// the same count and one increment is lost.
TEST_F(FileLockTest, ProcessesEditingUnderTheLockLoseNoEdit) {
  std::ofstream(file()) << 0;
  constexpr int kProcesses = 4, kEdits = 200;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    if (pid_t pid = fork(); pid == 0) {
      for (int edit = 0; edit < kEdits; ++edit) {
        Result<FileLock> lock = FileLock::acquire(file());
        if (!lock) _exit(1);
        int count = 0;
        std::ifstream(file()) >> count;
        std::ofstream(file(), std::ios::trunc) << count + 1;
      }
      _exit(0);
    } else {
      children.push_back(pid);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int count = 0;
  std::ifstream(file()) >> count;
  EXPECT_EQ(count, kProcesses * kEdits);
}

TEST_F(FileLockTest, IsHeldOnTheLockFileBesideUntilReleased) {
  {
    Result<FileLock> lock = FileLock::acquire(file());
    ASSERT_TRUE(lock) << lock.error();
    FileLock moved = std::move(lock).value();
    EXPECT_FALSE(lockIsFree());
  }
  EXPECT_TRUE(lockIsFree());
  EXPECT_FALSE(fs::exists(file())) << "the locked file itself is not made";
}

TEST_F(FileLockTest, AHolderKilledMidEditReleasesIt) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    Result<FileLock> lock = FileLock::acquire(file());
    if (write(ready[1], "x", 1) != 1 || !lock) _exit(1);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_FALSE(lockIsFree());
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(lockIsFree());
  close(ready[0]);
  close(ready[1]);
}

TEST_F(FileLockTest, AFolderThatIsNotThereIsSaidInTheFailure) {
  Result<FileLock> lock = FileLock::acquire(folder_ / "absent" / "settings.plist");
  ASSERT_FALSE(lock);
  EXPECT_NE(lock.error().find("absent/settings.plist"), std::string::npos) << lock.error();
}
