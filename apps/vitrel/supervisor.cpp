#include "apps/vitrel/supervisor.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "platform/foundation/log.h"

namespace {

using Clock = std::chrono::steady_clock;

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

}  // namespace

int supervise(const std::vector<std::string>& command) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  const int stopRequests = signalfd(-1, &signals, SFD_CLOEXEC);

  while (true) {
    const Clock::time_point started = Clock::now();
    const pid_t child = start(command, signals);
    if (child < 0) {
      NSLog("supervisor: cannot start the springboard");
      return 1;
    }
    NSLog("supervisor: springboard started (pid %d)", static_cast<int>(child));
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
      pollfd request{stopRequests, POLLIN, 0};
      if (poll(&request, 1, 50) > 0) {
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
        NSLog("supervisor: stopped");
        close(stopRequests);
        return 0;
      }
    }
    NSLog("supervisor: springboard %s; starting it again", describeEnd(status));
    if (Clock::now() - started < std::chrono::seconds(1)) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
  }
}
