#include "apps/vitrel/control_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Commands are short; a longer line is cut off and refused by the handler.
constexpr size_t kMaxCommand = 4096;
// Clients waiting to be accepted while the main loop is busy drawing.
constexpr int kBacklog = 128;

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

// Bounds the client's waits: for room in a full listen backlog (a Unix socket's connect waits
// for it as long as a send would), for its command to go out, and for the answer.
void limitWaits(int fd, std::chrono::seconds limit) {
  const timeval timeout{static_cast<time_t>(limit.count()), 0};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
}

bool timedOut() {
  return errno == EAGAIN || errno == EWOULDBLOCK;
}

CLI::RuntimeError noAnswer() {
  return CLI::RuntimeError("the springboard did not answer within " +
                               std::to_string(kAnswerTimeout.count()) +
                               " seconds; it may be stuck (`vitrel log` shows what it did last)",
                           1);
}

std::string readAnswer(int fd) {
  std::string line;
  char chunk[512];
  while (line.size() < kMaxCommand && line.find('\n') == std::string::npos) {
    ssize_t got = read(fd, chunk, sizeof(chunk));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && timedOut()) throw noAnswer();
    if (got <= 0) break;
    line.append(chunk, static_cast<size_t>(got));
  }
  if (line.empty()) {
    throw CLI::RuntimeError("the springboard closed the connection without answering", 1);
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

// A client being read: what it has sent so far, until its command line is whole.
struct ControlSocket::Connection {
  explicit Connection(int fd) : descriptor(fd) {}
  Descriptor descriptor;
  std::string received;
  RunLoop::Source source;
  RunLoop::Timer deadline;
};

ControlSocket::ControlSocket(std::filesystem::path path, Handler handler)
    : path_(std::move(path)), handler_(std::move(handler)) {
  const sockaddr_un address = addressOf(path_);
  std::filesystem::create_directories(path_.parent_path());
  if (answersAt(path_)) {
    throw CLI::RuntimeError("a springboard already runs on this device (" + path_.string() + ")",
                            1);
  }
  unlink(path_.c_str());  // a socket left by a springboard that died
  Descriptor listener(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (listener.get() < 0) throw systemError("cannot make the control socket");
  if (bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener.get(), kBacklog) != 0) {
    throw systemError("cannot listen at " + path_.string());
  }
  fd_ = listener.release();
  source_ = RunLoop::main().watchReadable(fd_, [this] { acceptAll(); });
}

ControlSocket::~ControlSocket() {
  source_ = RunLoop::Source();
  connections_.clear();
  ::close(fd_);
  unlink(path_.c_str());
}

void ControlSocket::acceptAll() {
  for (;;) {
    const int client = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client < 0 && errno == EINTR) continue;
    if (client < 0) return;
    // Whoever has waited longest without finishing a command is the likeliest to be idle.
    if (connections_.size() >= kMaxConnections) connections_.pop_front();
    Connection* connection = connections_.emplace_back(std::make_unique<Connection>(client)).get();
    connection->source =
        RunLoop::main().watchReadable(client, [this, connection] { readFrom(connection); });
    connection->deadline =
        RunLoop::main().schedule(kCommandDeadline, [this, connection] { take(connection); });
  }
}

void ControlSocket::readFrom(Connection* connection) {
  char chunk[512];
  for (;;) {
    ssize_t got = recv(connection->descriptor.get(), chunk, sizeof(chunk), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && timedOut()) return;  // the rest of the line comes later
    if (got > 0) connection->received.append(chunk, static_cast<size_t>(got));
    if (got <= 0 || connection->received.find('\n') != std::string::npos ||
        connection->received.size() >= kMaxCommand) {
      break;
    }
  }
  // Out of the list first: the handler may turn the loop, which must not drop it meanwhile.
  std::unique_ptr<Connection> done = take(connection);
  const std::string command = done->received.substr(0, done->received.find('\n'));
  // A connection that says nothing (someone checking that this process answers) gets no answer.
  // The answer is one short line, which a fresh socket's buffer always has room for.
  if (!command.empty()) writeAll(done->descriptor.get(), handler_(command) + "\n");
}

std::unique_ptr<ControlSocket::Connection> ControlSocket::take(const Connection* connection) {
  auto found = std::find_if(connections_.begin(), connections_.end(),
                            [connection](const auto& open) { return open.get() == connection; });
  std::unique_ptr<Connection> taken = std::move(*found);
  connections_.erase(found);
  taken->source.cancel();
  taken->deadline.cancel();
  return taken;
}

bool answersAt(const std::filesystem::path& path) {
  Descriptor probe(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  limitWaits(probe.get(), std::chrono::seconds(1));
  // A full backlog means a listener, busy.
  return connects(probe.get(), addressOf(path)) || timedOut();
}

std::string sendControlCommand(const std::filesystem::path& path, const std::string& command) {
  const sockaddr_un address = addressOf(path);
  Descriptor server(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  limitWaits(server.get(), kAnswerTimeout);
  if (!connects(server.get(), address)) {
    if (timedOut()) throw noAnswer();
    throw CLI::RuntimeError(
        "no springboard runs on this device; start one with `vitrel springboard`", 1);
  }
  writeAll(server.get(), command + "\n");
  shutdown(server.get(), SHUT_WR);
  return readAnswer(server.get());
}
