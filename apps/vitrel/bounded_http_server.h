#pragma once

#include <httplib.h>

#include <chrono>

// An httplib server whose every connection costs a bounded share of it, whatever the client
// does: more workers than a browser opens connections, a deadline for each whole request (so a
// client trickling bytes lets go of its worker), a cap on the size and line count of a
// request's head (answered 431), and a bounded number of requests and idle time per
// connection. A client that half-closes after its request still gets the answer.
//
// The library parses each request; this class frames it first. (Debian builds the library as
// a shared object, so its compile-time limits cannot be changed from here, and its parser
// keeps every header line it is sent.)
class BoundedHttpServer : public httplib::Server {
 public:
  static constexpr size_t kWorkers = 32;
  static constexpr size_t kMaxHeadBytes = 32 * 1024;
  static constexpr size_t kMaxHeadLines = 100;
  // From the first byte of a request to the end of its body.
  static constexpr std::chrono::seconds kRequestDeadline{5};
  static constexpr size_t kRequestsPerConnection = 100;
  static constexpr std::chrono::seconds kIdleConnection{5};

  BoundedHttpServer();

  // The connection the calling thread answers a request on, for a handler whose answer goes
  // on for as long as its client listens (the deadlines above bound reading a request, not
  // writing its answer); -1 outside a request.
  static socket_t servedConnection();

  // From stop() on, while the workers finish (is_running() stays true until they have), so
  // that a connection waiting for its client lets go at once.
  bool stopping() const;

 private:
  bool process_and_close_socket(socket_t sock) override;
};
