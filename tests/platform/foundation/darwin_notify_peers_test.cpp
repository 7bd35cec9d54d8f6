// Darwin notifications between processes: notify_peer programs post and observe on this
// test's device or on devices of their own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "darwin_notify_observers.h"
#include "platform/foundation/device.h"
#include "platform/foundation/internal/file_descriptor.h"

using foundation_internal::FileDescriptor;
using namespace darwin_notify_testing;
namespace fs = std::filesystem;

namespace {

class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& label) {
    std::string pattern = (fs::temp_directory_path() / ("vitrel-" + label + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "cannot make a folder: " << std::strerror(errno);
    } else {
      path_ = pattern;
    }
  }
  ~TemporaryFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The test process's device. The device folder is process-wide, so it is set once, by the
// first test that needs it; other devices are joined only by peers.
const fs::path& testDevice() {
  static const fs::path path = [] {
    static TemporaryFolder folder("notify-device");
    device::setDirectory(folder.path());
    return folder.path();
  }();
  return path;
}

// A notify_peer process, talked to through its standard input and output. Killed and reaped
// on destruction if still running.
class Peer {
 public:
  Peer(const fs::path& device, const std::vector<std::string>& arguments) {
    static std::once_flag ignorePipeSignal;
    std::call_once(ignorePipeSignal, [] { ::signal(SIGPIPE, SIG_IGN); });
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
      fail("pipe");
      return;
    }
    FileDescriptor childInput(input[0]);
    input_.reset(input[1]);
    if (::pipe2(output, O_CLOEXEC) != 0) {
      fail("pipe");
      return;
    }
    output_.reset(output[0]);
    FileDescriptor childOutput(output[1]);

    std::vector<std::string> words = {NOTIFY_PEER_PATH, device.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
      argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childInput.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, childOutput.get(), STDOUT_FILENO);
    int error = ::posix_spawn(&pid_, NOTIFY_PEER_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
      pid_ = -1;
      ADD_FAILURE() << "cannot start " << NOTIFY_PEER_PATH << ": " << std::strerror(error);
    }
  }
  ~Peer() {
    input_.reset();
    if (pid_ > 0) kill();
  }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // The next line the peer printed, or a note saying why there is none.
  std::string readLine() {
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    for (;;) {
      if (size_t end = buffered_.find('\n'); end != std::string::npos) {
        std::string line = buffered_.substr(0, end);
        buffered_.erase(0, end + 1);
        return line;
      }
      auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd readable{output_.get(), POLLIN, 0};
      if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
        return "(no line: timed out)";
      }
      char chunk[256];
      ssize_t got = ::read(output_.get(), chunk, sizeof chunk);
      if (got <= 0) return "(no line: output ended)";
      buffered_.append(chunk, static_cast<size_t>(got));
    }
  }
  // Every line until the peer's output ends.
  std::vector<std::string> remainingLines() {
    std::vector<std::string> lines;
    for (std::string line; (line = readLine()).rfind("(no line", 0) != 0;)
      lines.push_back(line);
    return lines;
  }
  void writeLine(const std::string& line) {
    std::string text = line + "\n";
    EXPECT_EQ(::write(input_.get(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void closeInput() { input_.reset(); }

  // The exit status, or -1 if it did not exit normally in time (it is killed then).
  int wait() {
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      int status;
      pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      if (done < 0 && errno != EINTR) {
        pid_ = -1;
        return -1;
      }
      std::this_thread::sleep_for(5ms);
    }
    if (pid_ > 0) kill();
    return -1;
  }
  // Ends the peer without letting it clean up, as a crash would.
  void kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }

 private:
  void fail(const char* what) { ADD_FAILURE() << what << ": " << std::strerror(errno); }

  pid_t pid_ = -1;
  FileDescriptor input_, output_;
  std::string buffered_;
};

std::vector<fs::path> socketsIn(const fs::path& folder) {
  std::vector<fs::path> sockets;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_socket()) sockets.push_back(entry.path());
  }
  return sockets;
}

}  // namespace

// Across processes. The test process's device is testDevice(); other devices are only ever
// joined by peers.

TEST(DarwinNotifyAcrossProcessesTest, PostsOfAnotherProcessAreHeardOnce) {
  testDevice();
  Observer observer({"test.peer.burst"});
  Peer poster(testDevice(), {"post", "test.peer.burst", "5"});
  ASSERT_EQ(poster.wait(), 0);
  EXPECT_TRUE(observer.names.empty()) << "heard only when the loop runs";
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return !observer.names.empty(); }, kPatience));
  settleMainLoop();
  EXPECT_EQ(observer.names, lines({"test.peer.burst"}));
}

TEST(DarwinNotifyAcrossProcessesTest, PostOfThisProcessReachesAnObservingPeer) {
  Peer observer(testDevice(), {"observe", "test.peer.hello"});
  ASSERT_EQ(observer.readLine(), "ready");
  post("test.peer.hello");
  EXPECT_EQ(observer.readLine(), "received test.peer.hello");
  observer.closeInput();
  EXPECT_TRUE(observer.remainingLines().empty());
  EXPECT_EQ(observer.wait(), 0);
}

TEST(DarwinNotifyAcrossProcessesTest, SocketOfADeadProcessIsRemovedAndOthersStillHear) {
  testDevice();
  fs::path folder = *darwinNotifyDirectory();
  std::vector<fs::path> before = socketsIn(folder);
  Peer dead(testDevice(), {"observe", "test.peer.stale"});
  ASSERT_EQ(dead.readLine(), "ready");
  dead.kill();
  std::vector<fs::path> after = socketsIn(folder);
  ASSERT_EQ(after.size(), before.size() + 1) << "a killed process leaves its socket behind";

  Peer alive(testDevice(), {"observe", "test.peer.stale"});
  ASSERT_EQ(alive.readLine(), "ready");
  post("test.peer.stale");
  EXPECT_EQ(alive.readLine(), "received test.peer.stale");
  for (const fs::path& socket : after) {
    if (std::find(before.begin(), before.end(), socket) == before.end()) {
      EXPECT_FALSE(fs::exists(socket)) << socket;
    }
  }
}

TEST(DarwinNotifyAcrossProcessesTest, DevicesDoNotHearEachOther) {
  testDevice();
  TemporaryFolder other("other-device");
  Observer observer({"test.peer.isolated"});
  Peer otherObserver(other.path(), {"observe", "test.peer.isolated"});
  ASSERT_EQ(otherObserver.readLine(), "ready");

  post("test.peer.isolated");
  otherObserver.writeLine("after this device's post");
  EXPECT_EQ(otherObserver.readLine(), "mark after this device's post") << "nothing heard before";

  Peer otherPoster(other.path(), {"post", "test.peer.isolated", "1"});
  ASSERT_EQ(otherPoster.wait(), 0);
  EXPECT_EQ(otherObserver.readLine(), "received test.peer.isolated");
  settleMainLoop();
  EXPECT_EQ(observer.names, lines({"test.peer.isolated"})) << "only this device's own post";
}

TEST(DarwinNotifyAcrossProcessesTest, DeviceFolderLongerThanASocketAddressWorks) {
  TemporaryFolder base("long");
  fs::path folder = base.path();
  while (folder.string().size() <= 120)
    folder /= "a-folder-name-that-makes-the-path-long";
  Peer observer(folder, {"observe", "test.peer.deep"});
  ASSERT_EQ(observer.readLine(), "ready");
  EXPECT_EQ(socketsIn(folder / "var/run/notify").size(), 1u);
  Peer poster(folder, {"post", "test.peer.deep", "1"});
  ASSERT_EQ(poster.wait(), 0);
  EXPECT_EQ(observer.readLine(), "received test.peer.deep");
}

TEST(DarwinNotifyAcrossProcessesTest, ProcessRemovesItsSocketWhenItExits) {
  TemporaryFolder other("exiting-device");
  fs::path folder = other.path() / "var/run/notify";
  Peer observer(other.path(), {"observe", "test.peer.exit"});
  ASSERT_EQ(observer.readLine(), "ready");
  EXPECT_EQ(socketsIn(folder).size(), 1u);
  observer.closeInput();
  ASSERT_EQ(observer.wait(), 0);
  EXPECT_TRUE(socketsIn(folder).empty());
}
