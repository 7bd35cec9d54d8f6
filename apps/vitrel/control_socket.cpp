#include "apps/vitrel/control_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>

namespace {

// Commands are short; a longer line is cut off and refused by the handler.
constexpr size_t kMaxCommand = 4096;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

sockaddr_un addressOf(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string text = path.string();
  if (text.size() >= sizeof(address.sun_path)) {
    throw CLI::RuntimeError("the device's path is too long for its control socket (" + text +
                                "); choose a shorter --device",
                            1);
  }
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  return address;
}

bool connects(int fd, const sockaddr_un& address) {
  return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

std::string readLine(int fd) {
  std::string line;
  char chunk[512];
  while (line.size() < kMaxCommand && line.find('\n') == std::string::npos) {
    ssize_t got = read(fd, chunk, sizeof(chunk));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    line.append(chunk, static_cast<size_t>(got));
  }
  return line.substr(0, line.find('\n'));
}

// A peer that hung up must not end this process with SIGPIPE.
void writeAll(int fd, const std::string& text) {
  size_t sent = 0;
  while (sent < text.size()) {
    ssize_t wrote = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return;
    sent += static_cast<size_t>(wrote);
  }
}

CLI::RuntimeError systemError(const std::string& what) {
  return CLI::RuntimeError(what + ": " + std::strerror(errno), 1);
}

}  // namespace

ControlSocket::ControlSocket(std::filesystem::path path, Handler handler)
    : path_(std::move(path)), handler_(std::move(handler)) {
  const sockaddr_un address = addressOf(path_);
  std::filesystem::create_directories(path_.parent_path());
  if (answersAt(path_)) {
    throw CLI::RuntimeError("a springboard already runs on this device (" + path_.string() + ")",
                            1);
  }
  unlink(path_.c_str());  // a socket left by a springboard that died
  Descriptor listener(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (listener.get() < 0) throw systemError("cannot make the control socket");
  if (bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener.get(), 8) != 0) {
    throw systemError("cannot listen at " + path_.string());
  }
  fd_ = listener.release();
  source_ = RunLoop::main().watchReadable(fd_, [this] { serveOne(); });
}

ControlSocket::~ControlSocket() {
  source_ = RunLoop::Source();
  close(fd_);
  unlink(path_.c_str());
}

void ControlSocket::serveOne() {
  Descriptor client(accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC));
  if (client.get() < 0) return;
  // A client that connects and says nothing must not hold up the home screen.
  timeval timeout{2, 0};
  setsockopt(client.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
  // A connection that says nothing (someone checking that this process answers) gets no answer.
  const std::string command = readLine(client.get());
  if (!command.empty()) writeAll(client.get(), handler_(command) + "\n");
}

bool answersAt(const std::filesystem::path& path) {
  Descriptor probe(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return connects(probe.get(), addressOf(path));
}

std::string sendControlCommand(const std::filesystem::path& path, const std::string& command) {
  const sockaddr_un address = addressOf(path);
  Descriptor server(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!connects(server.get(), address)) {
    throw CLI::RuntimeError(
        "no springboard runs on this device; start one with `vitrel springboard`", 1);
  }
  writeAll(server.get(), command + "\n");
  shutdown(server.get(), SHUT_WR);
  return readLine(server.get());
}
