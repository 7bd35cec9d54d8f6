#include "apps/vitrel/forked_child.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

void writeAll(int file, const std::string& text) {
  for (size_t written = 0; written < text.size();) {
    const ssize_t count = write(file, text.data() + written, text.size() - written);
    if (count < 0 && errno != EINTR) return;
    if (count > 0) written += static_cast<size_t>(count);
  }
}

std::string readAll(int file) {
  std::string text;
  char buffer[65536];
  ssize_t count;
  while ((count = read(file, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
    if (count > 0) text.append(buffer, static_cast<size_t>(count));
  }
  return text;
}

}  // namespace

std::string failureOfStatus(int status) {
  if (WIFSIGNALED(status)) return strsignal(WTERMSIG(status));
  if (WEXITSTATUS(status) != 0) return "exit status " + std::to_string(WEXITSTATUS(status));
  return "";
}

Result<ChildAnswer> runInChild(const std::function<std::string()>& work) {
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) return Result<ChildAnswer>::failure(std::strerror(errno));
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    writeAll(channel[1], work());
    _exit(0);
  }
  close(channel[1]);
  const std::string text = readAll(channel[0]);
  close(channel[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    return Result<ChildAnswer>::failure(std::strerror(errno));
  }
  return ChildAnswer{text, failureOfStatus(status)};
}
