#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "apps/vitrel/color_json.h"

// Server-sent events for the pages of every open tab: each stream gets every event published
// after it opened, in order. Publishing never waits for a stream; a stream whose client falls
// far behind is ended (its client reconnects and catches up from its first event). Any thread.
class EventHub {
 public:
  static constexpr size_t kMaxStreams = 16;
  // Events waiting for one stream's client; one more ends that stream.
  static constexpr size_t kMaxPending = 256;

  class Stream;

  EventHub();
  // Ends every stream, as close() does.
  ~EventHub();
  EventHub(const EventHub&) = delete;
  EventHub& operator=(const EventHub&) = delete;

  // A new stream, or null when kMaxStreams are open or the hub is closed. The stream ends
  // when the last reference goes.
  std::shared_ptr<Stream> open();
  void publish(const std::string& event, const Json& data);
  // Ends every stream, waking those that wait, and refuses new ones.
  void close();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

class EventHub::Stream {
 public:
  // Made by EventHub::open().
  explicit Stream(std::shared_ptr<State> hub);
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // Waits until events come, the client on connection `client` hangs up, the hub closes or
  // `timeout` passes (a negative client: the hub's word only). Answers the events as text for
  // the wire ("" when none came in time), or nothing once the stream is over.
  std::optional<std::string> next(int client, std::chrono::milliseconds timeout);

 private:
  friend class EventHub;

  std::shared_ptr<State> hub_;
  int wake_ = -1;  // an eventfd, readable while events or the end wait
  // Under the hub's lock.
  std::string pending_;
  size_t pendingEvents_ = 0;
  bool over_ = false;
};

// One event as text for the wire (text/event-stream).
std::string serverSentEvent(const std::string& event, const Json& data);
