#include "platform/foundation/system_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

namespace {

using foundation_internal::FileDescriptor;

FileDescriptor openForAppending(const std::filesystem::path& file) {
  return FileDescriptor(::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
}

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

uintmax_t sizeOf(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 ? static_cast<uintmax_t>(status.st_size) : 0;
}

std::string readToEnd(int fd) {
  std::string text;
  char buffer[65536];
  ssize_t count;
  while ((count = ::read(fd, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
    if (count > 0) text.append(buffer, static_cast<size_t>(count));
  }
  return text;
}

// Whether the file at path is another than the one fd reads (false when there is none).
bool another(int fd, const std::filesystem::path& path) {
  struct stat open {
  }, named{};
  if (::stat(path.c_str(), &named) != 0) return false;
  return ::fstat(fd, &open) != 0 || open.st_ino != named.st_ino || open.st_dev != named.st_dev;
}

}  // namespace

SystemLog::SystemLog(std::filesystem::path folder, uintmax_t limit)
    : folder_(std::move(folder)), limit_(limit) {}

bool SystemLog::append(std::string_view entry) const {
  FileDescriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    folder.reset(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return false;
  }
  // Writers share the lock; a rotation holds it alone. The lock goes with the descriptor.
  if (::flock(folder.get(), LOCK_SH) != 0) return false;
  FileDescriptor file = openForAppending(current());
  if (!file.valid()) return false;
  const uintmax_t size = sizeOf(file.get());
  if (size > 0 && size + entry.size() > limit_) {
    if (::flock(folder.get(), LOCK_EX) != 0) return false;
    // Another process may have rotated while the lock changed hands.
    file = openForAppending(current());
    if (!file.valid()) return false;
    const uintmax_t now = sizeOf(file.get());
    if (now > 0 && now + entry.size() > limit_) {
      if (::rename(current().c_str(), previous().c_str()) != 0) return false;
      file = openForAppending(current());
      if (!file.valid()) return false;
    }
  }
  return writeAll(file.get(), entry);
}

std::string SystemLog::formatEntry(std::string_view message, std::string_view process, pid_t pid,
                                   std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  const std::time_t seconds = system_clock::to_time_t(time);
  const auto milliseconds =
      duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() % 1000;
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char stamp[48];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  char header[96];
  std::snprintf(header, sizeof header, "%s.%03d ", stamp, static_cast<int>(milliseconds));

  std::string entry = header;
  entry.append(process).append("[").append(std::to_string(pid)).append("]: ");
  const bool cut = message.size() > kMaxMessage;
  if (cut) message = message.substr(0, kMaxMessage);
  while (!message.empty() && message.back() == '\n')
    message.remove_suffix(1);
  for (char c : message) {
    entry += c;
    if (c == '\n') entry += '\t';
  }
  if (cut) entry += " […]";
  entry += '\n';
  return entry;
}

SystemLogReader::SystemLogReader(const SystemLog& log)
    : current_(log.current()), previous_(log.previous()) {}

void SystemLogReader::readAvailable() {
  if (!file_.valid()) file_.reset(::open(current_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file_.valid()) return;
  pending_ += readToEnd(file_.get());
  if (another(file_.get(), current_)) {
    // Nothing is written to a moved file once the rotation is done: read its last lines.
    pending_ += readToEnd(file_.get());
    // Rotated twice since the last look: the file between is the previous one now.
    if (another(file_.get(), previous_)) {
      FileDescriptor between(::open(previous_.c_str(), O_RDONLY | O_CLOEXEC));
      if (between.valid()) pending_ += readToEnd(between.get());
    }
    file_.reset(::open(current_.c_str(), O_RDONLY | O_CLOEXEC));
    if (file_.valid()) pending_ += readToEnd(file_.get());
  }
}

std::string SystemLogReader::readNew() {
  if (!started_) {
    started_ = true;
    FileDescriptor previous(::open(previous_.c_str(), O_RDONLY | O_CLOEXEC));
    if (previous.valid()) pending_ = readToEnd(previous.get());
  }
  readAvailable();
  const size_t end = pending_.rfind('\n');
  if (end == std::string::npos) return "";
  std::string lines = pending_.substr(0, end + 1);
  pending_.erase(0, end + 1);
  return lines;
}
