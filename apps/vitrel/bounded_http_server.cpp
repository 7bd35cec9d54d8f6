#include "apps/vitrel/bounded_http_server.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using Server = BoundedHttpServer;

// How often a wait looks whether the server is stopping.
constexpr std::chrono::milliseconds kWaitSlice{100};
constexpr std::chrono::seconds kWriteTimeout{5};
constexpr std::chrono::seconds kLinger{1};
constexpr std::string_view kEndOfHead = "\r\n\r\n";

thread_local socket_t tServedConnection = -1;

// The address and port of one end of a connection, asked of getpeername or getsockname.
void describeEnd(socket_t sock, int (*ask)(int, sockaddr*, socklen_t*), std::string& ip,
                 int& port) {
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  char host[NI_MAXHOST], service[NI_MAXSERV];
  if (ask(sock, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
      getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof(host), service,
                  sizeof(service), NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
    ip = host;
    port = std::atoi(service);
  }
}

// A connection's bytes as the library reads them, one request at a time: the head is read
// here first, within the limits, and what follows it stays buffered for the library.
class RequestStream : public httplib::Stream {
 public:
  enum class Head { complete, ended, tooLarge, tooSlow };

  RequestStream(socket_t sock, const Server& server) : sock_(sock), server_(server) {}

  // Waits for the connection's next request and reads its head; the request's deadline
  // starts with its first byte.
  Head readHead() {
    deadline_ = Clock::now() + Server::kIdleConnection;
    if (available() == 0 && receive() <= 0) return Head::ended;
    deadline_ = Clock::now() + Server::kRequestDeadline;
    for (;;) {
      const size_t end = buffer_.find(kEndOfHead, start_);
      const size_t size = end == std::string::npos ? available() : end - start_;
      const auto lines = std::count(buffer_.begin() + static_cast<ptrdiff_t>(start_),
                                    buffer_.begin() + static_cast<ptrdiff_t>(start_ + size), '\n');
      if (size > Server::kMaxHeadBytes || static_cast<size_t>(lines) >= Server::kMaxHeadLines) {
        return Head::tooLarge;
      }
      if (end != std::string::npos) return Head::complete;
      const ssize_t got = receive();
      if (got < 0 && Clock::now() >= deadline_) return Head::tooSlow;
      if (got <= 0) return Head::ended;
    }
  }

  // Answers a request the library never sees. The client may still be sending it: what it
  // sends is read and dropped for a moment, so that closing with its bytes unread (a reset)
  // does not destroy the answer before the client reads it.
  void refuse(int status, const std::string& reason, const std::string& message) {
    const std::string body = "{\"error\":\"" + message + "\"}";
    const std::string answer =
        "HTTP/1.1 " + std::to_string(status) + " " + reason +
        "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
    if (write(answer.data(), answer.size()) <= 0) return;
    shutdown(sock_, SHUT_WR);
    deadline_ = Clock::now() + kLinger;
    while (receive() > 0)
      start_ = buffer_.size();
  }

  bool is_readable() const override { return available() > 0 || await(POLLIN, deadline_); }

  // Deliberately no check that the peer still reads: one that half-closed after its request
  // waits for the answer.
  bool is_writable() const override { return await(POLLOUT, Clock::now() + kWriteTimeout); }

  ssize_t read(char* ptr, size_t size) override {
    if (available() == 0) {
      const ssize_t got = receive();
      if (got <= 0) return got;
    }
    const size_t taken = std::min(size, available());
    std::copy_n(buffer_.data() + start_, taken, ptr);
    start_ += taken;
    return static_cast<ssize_t>(taken);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    ssize_t sent;
    do {
      sent = send(sock_, ptr, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    describeEnd(sock_, getpeername, ip, port);
  }

  void get_local_ip_and_port(std::string& ip, int& port) const override {
    describeEnd(sock_, getsockname, ip, port);
  }

  socket_t socket() const override { return sock_; }

 private:
  size_t available() const { return buffer_.size() - start_; }

  // Whether the socket is ready for events before until; false too once the server stops.
  bool await(short events, Clock::time_point until) const {
    for (;;) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
      if (left.count() <= 0 || server_.stopping()) return false;
      pollfd watched{sock_, events, 0};
      const int ready = poll(&watched, 1, static_cast<int>(std::min(left, kWaitSlice).count()));
      if (ready > 0) return true;
      if (ready < 0 && errno != EINTR) return false;
    }
  }

  // Appends what the socket has: its count, 0 at the end, -1 on an error or at the deadline.
  ssize_t receive() {
    if (!await(POLLIN, deadline_)) return -1;
    if (start_ == buffer_.size()) {
      buffer_.clear();
      start_ = 0;
    }
    char chunk[4096];
    ssize_t got;
    do {
      got = recv(sock_, chunk, sizeof(chunk), 0);
    } while (got < 0 && errno == EINTR);
    if (got > 0) buffer_.append(chunk, static_cast<size_t>(got));
    return got;
  }

  socket_t sock_;
  const Server& server_;
  std::string buffer_;
  size_t start_ = 0;  // where the unread part of buffer_ begins
  Clock::time_point deadline_;
};

}  // namespace

BoundedHttpServer::BoundedHttpServer() {
  // The library takes ownership of the queue it is handed.
  new_task_queue = [] { return std::make_unique<httplib::ThreadPool>(kWorkers).release(); };
}

bool BoundedHttpServer::stopping() const {
  return svr_sock_ == INVALID_SOCKET;
}

socket_t BoundedHttpServer::servedConnection() {
  return tServedConnection;
}

bool BoundedHttpServer::process_and_close_socket(socket_t sock) {
  RequestStream stream(sock, *this);
  tServedConnection = sock;
  bool served = false;
  for (size_t left = kRequestsPerConnection; left > 0; --left) {
    const RequestStream::Head head = stream.readHead();
    if (head == RequestStream::Head::tooLarge) {
      stream.refuse(431, "Request Header Fields Too Large",
                    "the request's header is over 32 KiB or 100 lines");
    } else if (head == RequestStream::Head::tooSlow) {
      stream.refuse(408, "Request Timeout", "the request did not arrive within 5 seconds");
    }
    if (head != RequestStream::Head::complete) break;
    bool closed = false;
    // What the library leaves unread of a body (one it refused before reading) would be taken
    // for the next request: a request with a body is the connection's last.
    bool hasBody = false;
    served = process_request(stream, left == 1, closed, [&hasBody](httplib::Request& request) {
      hasBody = request.get_header_value<uint64_t>("Content-Length") > 0 ||
                request.has_header("Transfer-Encoding");
      if (hasBody) {
        request.headers.erase("Connection");
        request.headers.emplace("Connection", "close");
      }
    });
    if (!served || closed || hasBody) break;
  }
  tServedConnection = -1;
  shutdown(sock, SHUT_RDWR);
  close(sock);
  return served;
}
