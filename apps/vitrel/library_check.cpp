#include "apps/vitrel/library_check.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

Result<void> tryLoading(const std::filesystem::path& library) {
  int reasons[2];
  if (pipe2(reasons, O_CLOEXEC) != 0) return Result<void>::failure(std::strerror(errno));
  const pid_t child = fork();
  if (child == 0) {
    close(reasons[0]);
    if (!dlopen(library.c_str(), RTLD_NOW)) {
      const char* reason = dlerror();
      [[maybe_unused]] ssize_t written = write(reasons[1], reason, std::strlen(reason));
    }
    _exit(0);
  }
  close(reasons[1]);
  std::string reason;
  char buffer[512];
  ssize_t count;
  while ((count = read(reasons[0], buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
    if (count > 0) reason.append(buffer, static_cast<size_t>(count));
  }
  close(reasons[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    return Result<void>::failure("cannot try it: " + std::string(std::strerror(errno)));
  }
  if (!reason.empty()) return Result<void>::failure(reason);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return Result<void>::failure("it ended its process while loading");
  }
  return {};
}
