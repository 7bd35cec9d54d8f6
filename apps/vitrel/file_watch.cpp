#include "apps/vitrel/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/foundation/log.h"

FileWatch::FileWatch(const std::filesystem::path& file, std::function<void()> changed)
    : name_(file.filename().string()),
      changed_(std::move(changed)),
      fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (fd_ < 0 || inotify_add_watch(fd_, file.parent_path().c_str(),
                                   IN_MOVED_TO | IN_CLOSE_WRITE | IN_ONLYDIR) < 0) {
    NSLog("cannot watch %s: %s", file.c_str(), std::strerror(errno));
    return;
  }
  source_ = RunLoop::main().watchReadable(fd_, [this] { readEvents(); });
}

FileWatch::~FileWatch() {
  source_.cancel();
  if (fd_ >= 0) close(fd_);
}

void FileWatch::readEvents() {
  alignas(inotify_event) char buffer[4096];
  bool put = false;
  for (;;) {
    const ssize_t got = read(fd_, buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->len > 0 && name_ == event->name) put = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  // Several replacements read at once are one change: the file as it is now.
  if (put) changed_();
}
