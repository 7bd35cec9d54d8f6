#include "platform/foundation/log.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "platform/foundation/device.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/system_log.h"

TEST(LogFormatTest, FormatsNumbersStringsAndObjects) {
  auto name = NSString::from("SBIconView");
  EXPECT_EQ(formatLog("%d %d", {int64_t{1}, int64_t{0}}), "1 0");
  EXPECT_EQ(formatLog("ZQK %@ is %s", {name.get(), std::string("here")}), "ZQK SBIconView is here");
  EXPECT_EQ(formatLog("%.2f|%5d|%-3d|%x|%%", {0.125, int64_t{42}, int64_t{7}, int64_t{255}}),
            "0.12|   42|7  |ff|%");
  EXPECT_EQ(formatLog("%lu", {uint64_t{18446744073709551615ull}}), "18446744073709551615");
  EXPECT_EQ(formatLog("%@", {static_cast<const NSObject*>(nullptr)}), "(null)");
}

TEST(LogFormatTest, SurvivesMismatchedAndMissingArguments) {
  EXPECT_EQ(formatLog("%d and %d", {int64_t{1}}), "1 and ");
  EXPECT_EQ(formatLog("%d", {std::string("text")}), "text");
  EXPECT_EQ(formatLog("%s", {2.5}), "2.5");
  EXPECT_EQ(formatLog("%k %d", {int64_t{3}}), "%k 3");
  EXPECT_EQ(formatLog("trailing %", {}), "trailing %");
  EXPECT_EQ(formatLog("%999999d", {int64_t{1}}).size(), 511u) << "bounded, never overflows";
}

TEST(LogTest, CaptureCollectsLinesWrittenThroughNSLog) {
  LogCapture capture;
  NSLog("ZQK %s %d", "containerViewForPresentingContextMenuForIconView", true);
  NSLog("second");
  EXPECT_EQ(capture.lines(),
            (std::vector<std::string>{"ZQK containerViewForPresentingContextMenuForIconView 1",
                                      "second"}));
}

namespace {

namespace fs = std::filesystem;

class SystemLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string folder = (fs::temp_directory_path() / "vitrel-log-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    root_ = folder;
  }
  void TearDown() override { fs::remove_all(root_); }

  static std::string contents(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static std::string entry(int n) {
    return SystemLog::formatEntry((n < 10 ? "line 0" : "line ") + std::to_string(n), "test", 1, {});
  }

  fs::path root_;
};

}  // namespace

TEST_F(SystemLogTest, EntriesReadAsAConsoleWithContinuationLinesIndented) {
  const std::string entry = SystemLog::formatEntry("first\nsecond\n", "SpringBoard", 812,
                                                   std::chrono::system_clock::now());
  EXPECT_TRUE(std::regex_match(entry, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )"
                                                 R"(SpringBoard\[812\]: first\n\tsecond\n)")))
      << entry;
  const std::string huge = SystemLog::formatEntry(std::string(1 << 20, 'x'), "vitrel", 1,
                                                  std::chrono::system_clock::now());
  EXPECT_LT(huge.size(), SystemLog::kMaxMessage + 100) << "one message never fills the log";
}

TEST_F(SystemLogTest, NSLogOfADeviceProcessGoesToItsLogWithItsNameAndPid) {
  const pid_t child = fork();
  if (child == 0) {
    // A process of its own, so that this test's process stays without a device.
    device::setDirectory(root_);
    prctl(PR_SET_NAME, "SpringBoard");
    NSLog("ZQK %s", "pressed");
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(std::regex_search(
      contents(root_ / "var/log/system.log"),
      std::regex("SpringBoard\\[" + std::to_string(child) + "\\]: ZQK pressed\n$")));
}

TEST_F(SystemLogTest, RotatesAtItsLimitKeepingOnePreviousFile) {
  const uintmax_t limit = 5 * entry(0).size();
  SystemLog log(root_ / "log", limit);
  for (int n = 0; n < 12; ++n)
    ASSERT_TRUE(log.append(entry(n)));
  EXPECT_LE(fs::file_size(log.current()), limit);
  EXPECT_EQ(contents(log.previous()), entry(5) + entry(6) + entry(7) + entry(8) + entry(9));
  EXPECT_EQ(contents(log.current()), entry(10) + entry(11));
}

TEST_F(SystemLogTest, ProcessesAppendingAtOnceLoseNoEntryAndSplitNone) {
  const uintmax_t limit = 1 << 16;
  SystemLog log(root_, limit);
  constexpr int kWriters = 4, kEntries = 500;
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    if (pid_t pid = fork(); pid == 0) {
      for (int n = 0; n < kEntries; ++n)
        log.append(SystemLog::formatEntry(std::string(60, static_cast<char>('a' + w)), "w", w, {}));
      _exit(0);
    } else {
      writers.push_back(pid);
    }
  }
  for (pid_t pid : writers)
    waitpid(pid, nullptr, 0);
  // More than fits in two files was written: the previous and current hold the newest, whole.
  std::istringstream lines(contents(log.previous()) + contents(log.current()));
  std::string line;
  uintmax_t kept = 0;
  while (std::getline(lines, line)) {
    kept += line.size() + 1;
    ASSERT_TRUE(std::regex_match(line, std::regex(R"(.* w\[\d\]: ([a-d])\1{59})"))) << line;
  }
  EXPECT_GT(kept, limit) << "the previous file was kept";
  EXPECT_LE(fs::file_size(log.current()), limit);
}

TEST_F(SystemLogTest, ReaderSeesEveryLineOnceAcrossRotations) {
  const std::string one = entry(0);
  SystemLog log(root_, 3 * one.size());
  SystemLogReader reader(log);
  EXPECT_EQ(reader.readNew(), "") << "no log yet";
  std::string written, read;
  for (int n = 0; n < 20; ++n) {
    log.append(entry(n));
    written += entry(n);
    if (n % 4 == 0) read += reader.readNew();
  }
  read += reader.readNew();
  EXPECT_EQ(read, written);

  log.append(one.substr(0, 10));
  EXPECT_EQ(reader.readNew(), "") << "a line still being written is held back";
  SystemLogReader fresh(log);
  EXPECT_EQ(fresh.readNew(), contents(log.previous()) + entry(18) + entry(19))
      << "a new reader starts with the previous file";
}
