#include "apps/vitrel/event_hub.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <vector>

#include "apps/vitrel/json_text.h"

struct EventHub::State {
  std::mutex mutex;
  bool closed = false;
  std::vector<Stream*> streams;
};

namespace {

void wake(int eventFd) {
  const uint64_t one = 1;
  // The counter only saturates, far beyond what waits unread; a failure loses no wake-up.
  [[maybe_unused]] ssize_t written = ::write(eventFd, &one, sizeof(one));
}

void drain(int eventFd) {
  uint64_t count;
  [[maybe_unused]] ssize_t got = ::read(eventFd, &count, sizeof(count));
}

}  // namespace

EventHub::EventHub() : state_(std::make_shared<State>()) {}

EventHub::~EventHub() {
  close();
}

std::shared_ptr<EventHub::Stream> EventHub::open() {
  auto stream = std::make_shared<Stream>(state_);
  if (stream->wake_ < 0) return nullptr;
  std::lock_guard lock(state_->mutex);
  if (state_->closed || state_->streams.size() >= kMaxStreams) return nullptr;
  state_->streams.push_back(stream.get());
  return stream;
}

void EventHub::publish(const std::string& event, const Json& data) {
  const std::string text = serverSentEvent(event, data);
  std::lock_guard lock(state_->mutex);
  for (Stream* stream : state_->streams) {
    if (stream->over_) continue;
    if (stream->pendingEvents_ >= kMaxPending) {
      stream->over_ = true;
    } else {
      stream->pending_ += text;
      ++stream->pendingEvents_;
    }
    wake(stream->wake_);
  }
}

void EventHub::close() {
  std::lock_guard lock(state_->mutex);
  state_->closed = true;
  for (Stream* stream : state_->streams) {
    stream->over_ = true;
    wake(stream->wake_);
  }
}

EventHub::Stream::Stream(std::shared_ptr<State> hub)
    : hub_(std::move(hub)), wake_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventHub::Stream::~Stream() {
  {
    std::lock_guard lock(hub_->mutex);
    std::erase(hub_->streams, this);
  }
  if (wake_ >= 0) ::close(wake_);
}

std::optional<std::string> EventHub::Stream::next(int client, std::chrono::milliseconds timeout) {
  // An event stream's client sends nothing more: any sign from its end is its going.
  pollfd watched[] = {{wake_, POLLIN, 0}, {client, POLLRDHUP, 0}};
  int ready;
  do {
    ready = poll(watched, 2, static_cast<int>(timeout.count()));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0 || watched[1].revents != 0) return std::nullopt;
  std::lock_guard lock(hub_->mutex);
  drain(wake_);
  if (over_) return std::nullopt;
  pendingEvents_ = 0;
  return std::exchange(pending_, {});
}

std::string serverSentEvent(const std::string& event, const Json& data) {
  return "event: " + event + "\ndata: " + jsonText(data) + "\n\n";
}
