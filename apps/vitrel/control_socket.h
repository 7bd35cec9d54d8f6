#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/run_loop.h"

// The running home screen's control channel: a Unix socket in the device that takes one
// command line per connection and answers one line. Commands are handled on the main run loop.
class ControlSocket {
 public:
  // Answers a command: "ok …" or "error: …".
  using Handler = std::function<std::string(const std::string& command)>;

  // Listens at path, replacing a socket file no process answers on. Throws a CLI::RuntimeError
  // when another process already listens there or the socket cannot be made.
  ControlSocket(std::filesystem::path path, Handler handler);
  ~ControlSocket();
  ControlSocket(const ControlSocket&) = delete;
  ControlSocket& operator=(const ControlSocket&) = delete;

 private:
  void serveOne();

  std::filesystem::path path_;
  Handler handler_;
  int fd_ = -1;
  RunLoop::Source source_;
};

// Whether a process listens at path.
bool answersAt(const std::filesystem::path& path);

// Sends one command to whoever listens at path and returns the answer. Throws a
// CLI::RuntimeError when nothing listens there.
std::string sendControlCommand(const std::filesystem::path& path, const std::string& command);
