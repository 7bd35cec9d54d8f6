#include "apps/vitrel/display_server.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "platform/foundation/device.h"
#include "platform/foundation/log.h"

namespace {

// The child: only calls that are safe after fork() in a process with threads.
[[noreturn]] void standForDisplayServer(pid_t owner) {
  prctl(PR_SET_NAME, "backboardd");
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != owner) _exit(0);
  // Ctrl-C is the owner's to handle; SIGTERM (a `killall`, or the owner) ends it.
  signal(SIGINT, SIG_IGN);
  sigset_t terminate;
  sigemptyset(&terminate);
  sigaddset(&terminate, SIGTERM);
  sigprocmask(SIG_UNBLOCK, &terminate, nullptr);
  for (;;)
    pause();
}

}  // namespace

DisplayServer::DisplayServer() {
  start();
}

DisplayServer::~DisplayServer() {
  record_.reset();
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

bool DisplayServer::restartedAfterEnd() {
  if (pid_ <= 0 || waitpid(pid_, nullptr, WNOHANG) != pid_) return false;
  NSLog("backboardd (pid %d) ended", static_cast<int>(pid_));
  record_.reset();
  start();
  return true;
}

void DisplayServer::start() {
  const pid_t owner = getpid();
  pid_ = fork();
  if (pid_ == 0) standForDisplayServer(owner);
  if (pid_ < 0) {
    NSLog("cannot start backboardd");
    return;
  }
  if (device::directory()) record_ = std::make_unique<DeviceProcessRecord>("backboardd", pid_);
}
