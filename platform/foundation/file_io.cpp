#include "platform/foundation/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <random>
#include <system_error>

#include "platform/foundation/internal/file_descriptor.h"

namespace fs = std::filesystem;
using foundation_internal::FileDescriptor;

namespace {

std::string sizeText(uint64_t bytes) {
  if (bytes % (uint64_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

std::string systemReason(int error) {
  switch (error) {
    case ENOENT:
      return "no such file";
    case EACCES:
    case EPERM:
      return "permission denied";
    case ENOTDIR:
      return "a part of the path is not a folder";
    case EISDIR:
      return "it is a folder, not a file";
    case EROFS:
      return "the file system is read-only";
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    default:
      return std::generic_category().message(error);
  }
}

Result<std::string> fileBytes(const fs::path& path, uint64_t maxBytes) {
  using R = Result<std::string>;
  // Non-blocking, so that a named pipe in place of the file cannot stall the reader.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!file.valid()) return R::failure(systemReason(errno));
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return R::failure(systemReason(errno));
  if (S_ISDIR(info.st_mode)) return R::failure(systemReason(EISDIR));
  if (!S_ISREG(info.st_mode)) return R::failure("it is not a regular file");
  std::string tooLarge = "the file is larger than " + sizeText(maxBytes);
  if (static_cast<uint64_t>(info.st_size) > maxBytes) {
    return R::failure(tooLarge + " (" + std::to_string(info.st_size) + " bytes)");
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  char chunk[16384];
  for (;;) {
    ssize_t count = ::read(file.get(), chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return R::failure(systemReason(errno));
    if (count == 0) return bytes;
    if (bytes.size() + static_cast<size_t>(count) > maxBytes) {
      return R::failure(tooLarge);
    }
    bytes.append(chunk, static_cast<size_t>(count));
  }
}

// Temporary files are named ".<name>.<pid>.<random>.tmp", so a later writer can tell which
// belong to this file and whether the process that made them is gone.
std::string temporaryPrefix(const std::string& name) {
  return "." + name.substr(0, 160) + ".";
}

void removeAbandonedTemporaries(const fs::path& folder, int folderFd, const std::string& name) {
  std::string prefix = temporaryPrefix(name);
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string entry = it->path().filename().string();
    if (!entry.starts_with(prefix) || !entry.ends_with(".tmp")) continue;
    long pid = 0;
    const char* first = entry.data() + prefix.size();
    auto [next, parsed] = std::from_chars(first, entry.data() + entry.size(), pid);
    if (parsed != std::errc() || *next != '.' || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      ::unlinkat(folderFd, entry.c_str(), 0);
    }
  }
}

std::string randomSuffix() {
  static std::atomic<uint64_t> counter{0};
  thread_local std::mt19937_64 generator{std::random_device{}()};
  char text[17];
  uint64_t value = generator() ^ counter.fetch_add(1, std::memory_order_relaxed);
  auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
  return std::string(text, end);
}

// Removes the temporary file unless the write got as far as renaming it.
struct TemporaryFile {
  int folder;
  std::string name;
  bool renamed = false;
  ~TemporaryFile() {
    if (!renamed) ::unlinkat(folder, name.c_str(), 0);
  }
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count == 0) errno = EIO;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

}  // namespace

Result<std::string> readFileBytes(const fs::path& path, uint64_t maxBytes) {
  auto bytes = fileBytes(path, maxBytes);
  if (!bytes)
    return Result<std::string>::failure("cannot read '" + path.string() + "': " + bytes.error());
  return bytes;
}

Result<void> writeFileAtomically(const fs::path& path, std::string_view bytes) {
  std::string prefix = "cannot write '" + path.string() + "': ";
  auto failure = [&](const std::string& reason) { return Result<void>::failure(prefix + reason); };
  std::string name = path.filename().string();
  if (name.empty() || name == "." || name == "..") return failure("the path names no file");

  fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folderFd.valid()) {
    return failure(errno == ENOENT    ? "the folder '" + folder.string() + "' does not exist"
                   : errno == ENOTDIR ? "'" + folder.string() + "' is not a folder"
                                      : systemReason(errno));
  }
  removeAbandonedTemporaries(folder, folderFd.get(), name);

  std::string temporaryName;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
    temporaryName =
        temporaryPrefix(name) + std::to_string(::getpid()) + "." + randomSuffix() + ".tmp";
    fd = ::openat(folderFd.get(), temporaryName.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return failure(systemReason(errno));
  FileDescriptor file(fd);
  TemporaryFile temporary{folderFd.get(), temporaryName};

  // Readers of a private file must not gain access through a rewrite.
  struct stat existing {};
  if (::fstatat(folderFd.get(), name.c_str(), &existing, 0) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(file.get(), existing.st_mode & 07777);
  }
  // fsync reports any write the file system could not complete, before the file is closed.
  if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
    return failure(systemReason(errno));
  }
  file.reset();
  if (::renameat(folderFd.get(), temporaryName.c_str(), folderFd.get(), name.c_str()) != 0) {
    return failure(systemReason(errno));
  }
  temporary.renamed = true;
  // Some file systems cannot sync a folder (EINVAL); the rename is then as durable as it gets.
  if (::fsync(folderFd.get()) != 0 && errno != EINVAL) {
    return failure("the file was replaced, but its folder could not be synced: " +
                   systemReason(errno));
  }
  return {};
}
