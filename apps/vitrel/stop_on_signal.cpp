#include "apps/vitrel/stop_on_signal.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

StopOnSignal::StopOnSignal() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  fd_ = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (fd_ >= 0) source_ = RunLoop::main().watchReadable(fd_, [] { RunLoop::main().stop(); });
}

StopOnSignal::~StopOnSignal() {
  source_ = RunLoop::Source();
  if (fd_ >= 0) close(fd_);
}
