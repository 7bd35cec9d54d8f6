#include "apps/vitrel/supervisor.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "apps/vitrel/display_server.h"
#include "platform/foundation/log.h"

namespace {

using Clock = RestartPolicy::Clock;

pid_t start(const std::vector<std::string>& command, const sigset_t& blocked) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
  std::vector<char*> arguments;
  for (const std::string& argument : command)
    arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  execv(arguments.front(), arguments.data());
  _exit(127);
}

std::string describeEnd(int status) {
  if (WIFSIGNALED(status)) return "was killed by signal " + std::to_string(WTERMSIG(status));
  return "exited with status " + std::to_string(WEXITSTATUS(status));
}

bool stopRequested(int stopRequests, int milliseconds) {
  pollfd request{stopRequests, POLLIN, 0};
  return poll(&request, 1, milliseconds) > 0;
}

// SIGINT and SIGTERM, held back from this process and read from a descriptor instead.
class StopRequests {
 public:
  StopRequests() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    sigprocmask(SIG_BLOCK, &signals_, nullptr);
    fd_ = signalfd(-1, &signals_, SFD_CLOEXEC);
  }
  ~StopRequests() { close(fd_); }
  StopRequests(const StopRequests&) = delete;
  StopRequests& operator=(const StopRequests&) = delete;

  const sigset_t& signals() const { return signals_; }
  int fd() const { return fd_; }

 private:
  sigset_t signals_;
  int fd_ = -1;
};

int secondsOf(Clock::duration duration) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(duration).count());
}

}  // namespace

std::optional<Clock::duration> RestartPolicy::afterEnd(bool failed, Clock::time_point now,
                                                       Clock::duration ran) {
  if (!failed) {
    consecutive_ = 0;
    return Clock::duration::zero();
  }
  std::erase_if(failures_, [&](Clock::time_point failure) { return now - failure >= kWindow; });
  failures_.push_back(now);
  if (static_cast<int>(failures_.size()) >= kFailuresToGiveUp) return std::nullopt;
  consecutive_ = ran >= kWindow ? 1 : consecutive_ + 1;
  // Doubling from 1 s; past 2^5 s the longest wait holds anyway.
  const std::chrono::seconds doubled(1L << std::min(consecutive_ - 1, 5));
  return std::min<Clock::duration>(doubled, kLongestWait);
}

SupervisorTime realTime() {
  return {[] { return Clock::now(); },
          [](Clock::duration wait, int stopRequests) {
            const auto milliseconds =
                std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
            return stopRequested(stopRequests, static_cast<int>(milliseconds));
          }};
}

Result<void> supervise(const std::vector<std::string>& command, const SupervisorTime& time) {
  const StopRequests stop;
  DisplayServer displayServer;
  RestartPolicy policy;

  while (true) {
    const Clock::time_point started = time.now();
    const pid_t child = start(command, stop.signals());
    if (child < 0) {
      return Result<void>::failure("cannot start the springboard");
    }
    NSLog("supervisor: springboard started (pid %d)", static_cast<int>(child));
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
      if (stopRequested(stop.fd(), 50)) {
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
        NSLog("supervisor: stopped");
        return {};
      }
      if (displayServer.restartedAfterEnd()) {
        NSLog("supervisor: backboardd ended; ending the springboard with it");
        kill(child, SIGTERM);
      }
    }
    const Clock::time_point ended = time.now();
    const bool failed = !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    const std::optional<Clock::duration> wait = policy.afterEnd(failed, ended, ended - started);
    if (!wait) {
      NSLog("supervisor: springboard %s; it failed %d times within a minute, giving up",
            describeEnd(status), RestartPolicy::kFailuresToGiveUp);
      return Result<void>::failure("the springboard failed " +
                                   std::to_string(RestartPolicy::kFailuresToGiveUp) +
                                   " times within a minute (the last " + describeEnd(status) +
                                   "); stopped supervising it: see `vitrel log`");
    }
    NSLog("supervisor: springboard %s; starting it again in %d s", describeEnd(status),
          secondsOf(*wait));
    if (*wait > Clock::duration::zero() && time.waitForStop(*wait, stop.fd())) {
      NSLog("supervisor: stopped");
      return {};
    }
  }
}
