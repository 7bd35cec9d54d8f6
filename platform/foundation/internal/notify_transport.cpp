#include "platform/foundation/internal/notify_transport.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "platform/foundation/log.h"

namespace foundation_internal {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kSocketSuffix = ".sock";
// What one post may spend in all waiting for full queues, and what one peer may take of it.
constexpr std::chrono::milliseconds kPostBudget{250};
constexpr std::chrono::milliseconds kPeerBudget{100};
// Datagrams read per run-loop callback; the rest wait for the next turn.
constexpr int kReadsPerCallback = 256;

struct SocketAddress {
  sockaddr_un address{};
  socklen_t length = 0;

  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }
};

bool fits(const std::string& path) {
  return path.size() < sizeof(sockaddr_un::sun_path);
}

// The address of file `name` in folder: its own path when that fits, else the path through
// the folder's descriptor in /proc, opened into `folderFd` on first need and reused.
std::optional<SocketAddress> addressOf(const std::filesystem::path& folder, const std::string& name,
                                       FileDescriptor& folderFd) {
  std::string path = (folder / name).string();
  if (!fits(path)) {
    if (!folderFd.valid()) {
      folderFd.reset(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
      if (!folderFd.valid()) {
        NSLog("Darwin notify: cannot open %s: %s", folder.string(), std::strerror(errno));
        return std::nullopt;
      }
    }
    path = "/proc/self/fd/" + std::to_string(folderFd.get()) + "/" + name;
    if (!fits(path)) {
      NSLog("Darwin notify: socket name too long: %s", name);
      return std::nullopt;
    }
  }
  SocketAddress result;
  result.address.sun_family = AF_UNIX;
  std::memcpy(result.address.sun_path, path.c_str(), path.size() + 1);
  result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  return result;
}

std::string uniqueSocketName() {
  auto started = std::chrono::system_clock::now().time_since_epoch();
  char name[64];
  std::snprintf(name, sizeof name, "%ld-%llx.sock", static_cast<long>(::getpid()),
                static_cast<unsigned long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(started).count()));
  return name;
}

void setSendTimeout(int fd, std::chrono::milliseconds timeout) {
  timeval value{};
  value.tv_sec = static_cast<time_t>(timeout.count() / 1000);
  value.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value);
}

}  // namespace

std::optional<NotifySocket> bindNotifySocket(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    NSLog("Darwin notify: cannot make %s: %s", folder.string(), error.message());
    return std::nullopt;
  }
  auto fd = std::make_shared<FileDescriptor>(
      ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd->valid()) {
    NSLog("Darwin notify: no socket: %s", std::strerror(errno));
    return std::nullopt;
  }
  std::string name = uniqueSocketName();
  FileDescriptor folderFd;
  std::optional<SocketAddress> address = addressOf(folder, name, folderFd);
  if (!address) return std::nullopt;
  if (::bind(fd->get(), address->get(), address->length) != 0) {
    NSLog("Darwin notify: cannot bind %s: %s", (folder / name).string(), std::strerror(errno));
    return std::nullopt;
  }
  return NotifySocket{std::move(fd), folder / name};
}

void receiveNotificationNames(int fd, const std::function<void(std::string name)>& onName) {
  char buffer[kMaxNotificationNameLength + 1];
  for (int reads = 0; reads < kReadsPerCallback; ++reads) {
    // MSG_TRUNC answers the datagram's full length, so an overlong one is recognised.
    ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        NSLog("Darwin notify: receive failed: %s", std::strerror(errno));
      }
      return;
    }
    auto length = static_cast<size_t>(got);
    if (length == 0) continue;
    if (length > kMaxNotificationNameLength) {
      NSLog("Darwin notify: dropped a name of %lu bytes", static_cast<unsigned long>(length));
      continue;
    }
    onName(std::string(buffer, length));
  }
}

void sendNotificationName(const std::filesystem::path& folder, std::string_view name,
                          const std::string& except) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) {
    if (error != std::errc::no_such_file_or_directory) {
      NSLog("Darwin notify: cannot list %s: %s", folder.string(), error.message());
    }
    return;
  }
  FileDescriptor sender(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!sender.valid()) {
    NSLog("Darwin notify: no socket to post with: %s", std::strerror(errno));
    return;
  }
  FileDescriptor folderFd;
  Clock::time_point deadline = Clock::now() + kPostBudget;
  for (; entries != fs::directory_iterator(); entries.increment(error)) {
    if (error) {
      NSLog("Darwin notify: listing %s stopped: %s", folder.string(), error.message());
      return;
    }
    std::string file = entries->path().filename().string();
    if (file == except || !file.ends_with(kSocketSuffix)) continue;
    std::error_code typeError;
    if (!entries->is_socket(typeError)) continue;
    std::optional<SocketAddress> address = addressOf(folder, file, folderFd);
    if (!address) continue;

    int flags = MSG_NOSIGNAL;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left <= std::chrono::milliseconds::zero()) {
      flags |= MSG_DONTWAIT;
    } else {
      setSendTimeout(sender.get(), std::min(left, kPeerBudget));
    }
    ssize_t sent;
    do {
      sent =
          ::sendto(sender.get(), name.data(), name.size(), flags, address->get(), address->length);
    } while (sent < 0 && errno == EINTR);
    if (sent >= 0) continue;
    switch (errno) {
      case ECONNREFUSED: {
        // Nobody is bound there any more: the process died without removing its socket.
        std::error_code removeError;
        fs::remove(entries->path(), removeError);
        break;
      }
      case ENOENT:  // removed since the listing
        break;
      case EAGAIN:
        NSLog("Darwin notify: %s is not reading; dropped its copy of %s", file, std::string(name));
        break;
      default:
        NSLog("Darwin notify: cannot send to %s: %s", file, std::strerror(errno));
    }
  }
}

}  // namespace foundation_internal
