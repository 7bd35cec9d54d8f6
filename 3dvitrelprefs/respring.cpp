#include <spawn.h>
#include <sys/wait.h>

#include <array>

#include "MirraBaseController.h"
#include "platform/foundation/background_queue.h"

namespace {

// Starts program with its arguments and an empty environment, without a shell; the child's
// id, or none when it could not start.
std::optional<pid_t> spawn(const char* program, std::array<const char*, 2> arguments) {
  std::array<char*, 3> argv{const_cast<char*>(arguments[0]), const_cast<char*>(arguments[1]),
                            nullptr};
  std::array<char*, 1> environment{nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, program, nullptr, nullptr, argv.data(), environment.data()) != 0) {
    return std::nullopt;
  }
  return child;
}

void waitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// The home screen first (rootful layout), then the display server from under the rootless
// root. Failures are ignored.
void respring(MirraBaseController*, SEL) {
  if (std::optional<pid_t> killer = spawn("/usr/bin/killall", {"killall", "SpringBoard"})) {
    waitFor(*killer);
  }
  // Not waited for here; reaped in the background so that no zombie stays behind.
  if (std::optional<pid_t> killer = spawn("/var/jb/usr/bin/killall", {"killall", "backboardd"})) {
    background_queue::async([child = *killer] { waitFor(child); });
  }
}

}  // namespace

void addRespring(objc::Class* page) {
  objc::addMethod(page, "respring", &respring);
}
