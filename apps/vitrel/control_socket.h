#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include "platform/foundation/run_loop.h"

// The running home screen's control channel: a Unix socket in the device that takes one
// command line per connection and answers one line. Commands are handled on the main run loop,
// which never waits for a client: each connection is read as its bytes arrive, gets a short
// deadline for its whole command, and the oldest is dropped when too many are open.
class ControlSocket {
 public:
  // Answers a command: "ok …" or "error: …".
  using Handler = std::function<std::string(const std::string& command)>;

  // Connections open at once; a new one beyond this drops the oldest.
  static constexpr size_t kMaxConnections = 16;
  // Time from connecting to the end of the command line.
  static constexpr std::chrono::milliseconds kCommandDeadline{1000};

  // Listens at path, replacing a socket file no process answers on. Throws a CLI::RuntimeError
  // when another process already listens there or the socket cannot be made.
  ControlSocket(std::filesystem::path path, Handler handler);
  ~ControlSocket();
  ControlSocket(const ControlSocket&) = delete;
  ControlSocket& operator=(const ControlSocket&) = delete;

 private:
  struct Connection;

  void acceptAll();
  void readFrom(Connection* connection);
  // Removes a connection from the open ones, its watch and deadline cancelled.
  std::unique_ptr<Connection> take(const Connection* connection);

  std::filesystem::path path_;
  Handler handler_;
  int fd_ = -1;
  RunLoop::Source source_;
  std::list<std::unique_ptr<Connection>> connections_;  // oldest first
};

// Whether a process listens at path.
bool answersAt(const std::filesystem::path& path);

// Sends one command to whoever listens at path and returns the answer. Throws a
// CLI::RuntimeError when nothing listens there or no answer comes within kAnswerTimeout.
std::string sendControlCommand(const std::filesystem::path& path, const std::string& command);

// How long sendControlCommand waits for the springboard to take and answer a command.
inline constexpr std::chrono::seconds kAnswerTimeout{10};
