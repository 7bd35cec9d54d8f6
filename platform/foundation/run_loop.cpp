#include "platform/foundation/run_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/foundation/internal/file_descriptor.h"
#include "platform/foundation/log.h"
#include "platform/runtime/no_destructor.h"

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

using Callback = std::shared_ptr<std::function<void()>>;

// Far enough to mean "never", near enough that adding it to now() cannot overflow.
constexpr milliseconds kLongest = std::chrono::hours(24 * 365 * 100);
// With no eventfd (descriptors exhausted at start-up) the loop polls this often instead.
constexpr milliseconds kWakeFallback{10};

milliseconds clampDelay(milliseconds delay) {
  return std::clamp(delay, milliseconds::zero(), kLongest);
}

int pollTimeout(Clock::duration wait) {
  if (wait <= Clock::duration::zero()) return 0;
  // Round up: waking before a deadline would only make the turn wait again.
  auto rounded = std::chrono::ceil<milliseconds>(wait).count();
  return rounded > INT_MAX ? INT_MAX : static_cast<int>(rounded);
}

// Whether fd is readable right now. A callback earlier in the turn may have drained it, and
// calling a reader on an empty descriptor could block the loop.
bool readableNow(int fd) {
  pollfd probe{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&probe, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready > 0 && (probe.revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
         (probe.revents & POLLNVAL) == 0;
}

}  // namespace

struct RunLoop::State {
  struct Watch {
    int fd;
    Callback callback;
  };
  struct TimerEntry {
    Clock::time_point deadline;
    Clock::duration interval;
    bool repeats;
    Callback callback;
  };

  std::mutex mutex;
  uint64_t nextId = 1;
  // Ordered by id, so sources ready in one turn are handled in the order they were added.
  std::map<uint64_t, Watch> sources;
  std::unordered_map<uint64_t, TimerEntry> timers;
  // Ties on a deadline go to the earlier timer.
  std::set<std::pair<Clock::time_point, uint64_t>> deadlines;
  std::deque<std::function<void()>> queue;
  bool stopRequested = false;
  foundation_internal::FileDescriptor wake;

  void wakeUp() const {
    if (!wake.valid()) return;
    uint64_t one = 1;
    // EAGAIN means the counter is already non-zero: the loop is woken either way.
    [[maybe_unused]] ssize_t written = ::write(wake.get(), &one, sizeof one);
  }

  void drainWake() const {
    uint64_t count;
    [[maybe_unused]] ssize_t got = ::read(wake.get(), &count, sizeof count);
  }

  // Unregisters a source or timer. The callback is handed back so that the caller destroys
  // it outside the lock: it may own other handles of this loop.
  Callback remove_locked(uint64_t id) {
    Callback callback;
    if (auto source = sources.find(id); source != sources.end()) {
      callback = std::move(source->second.callback);
      sources.erase(source);
    } else if (auto timer = timers.find(id); timer != timers.end()) {
      callback = std::move(timer->second.callback);
      deadlines.erase({timer->second.deadline, id});
      timers.erase(timer);
    }
    return callback;
  }

  // The callback of the earliest timer due at `now`, after rescheduling or removing it.
  Callback takeDueTimer(Clock::time_point now) {
    std::lock_guard lock(mutex);
    if (deadlines.empty() || deadlines.begin()->first > now) return nullptr;
    uint64_t id = deadlines.begin()->second;
    deadlines.erase(deadlines.begin());
    auto timer = timers.find(id);
    if (!timer->second.repeats) {
      Callback callback = std::move(timer->second.callback);
      timers.erase(timer);
      return callback;
    }
    TimerEntry& entry = timer->second;
    entry.deadline += entry.interval;
    if (entry.deadline <= now) entry.deadline = now + entry.interval;
    deadlines.insert({entry.deadline, id});
    return entry.callback;
  }
};

RunLoop::Handle::Handle(Handle&& other) noexcept
    : loop_(std::move(other.loop_)), id_(std::exchange(other.id_, 0)) {}

RunLoop::Handle& RunLoop::Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    cancel();
    loop_ = std::move(other.loop_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void RunLoop::Handle::cancel() {
  std::shared_ptr<State> state = loop_.lock();
  loop_.reset();
  if (!state) return;
  Callback callback;
  {
    std::lock_guard lock(state->mutex);
    callback = state->remove_locked(id_);
  }
  // Lets a loop blocked in poll() forget a descriptor its owner may now close.
  if (callback) state->wakeUp();
}

bool RunLoop::Handle::active() const {
  std::shared_ptr<State> state = loop_.lock();
  if (!state) return false;
  std::lock_guard lock(state->mutex);
  return state->sources.contains(id_) || state->timers.contains(id_);
}

RunLoop::RunLoop() : state_(std::make_shared<State>()) {
  state_->wake.reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!state_->wake.valid()) {
    NSLog("RunLoop: no eventfd (%s); polling every %lld ms instead", std::strerror(errno),
          static_cast<long long>(kWakeFallback.count()));
  }
}

RunLoop::~RunLoop() = default;

RunLoop& RunLoop::main() {
  static objc::NoDestructor<RunLoop> loop;
  return *loop;
}

RunLoop::Source RunLoop::watchReadable(int fd, std::function<void()> callback) {
  if (fd < 0 || !callback) {
    NSLog("RunLoop: refused to watch %s", fd < 0 ? "a negative descriptor" : "with no callback");
    return Source();
  }
  uint64_t id;
  {
    std::lock_guard lock(state_->mutex);
    id = state_->nextId++;
    state_->sources.emplace(
        id, State::Watch{fd, std::make_shared<std::function<void()>>(std::move(callback))});
  }
  state_->wakeUp();
  return Source(Handle(state_, id));
}

RunLoop::Timer RunLoop::schedule(milliseconds delay, std::function<void()> callback, bool repeats) {
  if (!callback) {
    NSLog("RunLoop: refused a timer with no callback");
    return Timer();
  }
  delay = clampDelay(delay);
  Clock::duration interval = std::max<Clock::duration>(delay, milliseconds(1));
  uint64_t id;
  {
    std::lock_guard lock(state_->mutex);
    id = state_->nextId++;
    Clock::time_point deadline = Clock::now() + delay;
    state_->timers.emplace(
        id, State::TimerEntry{deadline, interval, repeats,
                              std::make_shared<std::function<void()>>(std::move(callback))});
    state_->deadlines.insert({deadline, id});
  }
  state_->wakeUp();
  return Timer(Handle(state_, id));
}

void RunLoop::perform(std::function<void()> work) {
  if (!work) return;
  {
    std::lock_guard lock(state_->mutex);
    state_->queue.push_back(std::move(work));
  }
  state_->wakeUp();
}

void RunLoop::run() {
  for (;;) {
    {
      std::lock_guard lock(state_->mutex);
      if (std::exchange(state_->stopRequested, false)) return;
    }
    turn(milliseconds::zero(), /*waitForever=*/true);
  }
}

bool RunLoop::runOnce(milliseconds timeout) {
  return turn(clampDelay(timeout), false);
}

bool RunLoop::runUntil(const std::function<bool()>& done, milliseconds timeout) {
  Clock::time_point deadline = Clock::now() + clampDelay(timeout);
  while (!done()) {
    Clock::duration left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return done();
    turn(std::chrono::ceil<milliseconds>(left), false);
  }
  return true;
}

void RunLoop::stop() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopRequested = true;
  }
  state_->wakeUp();
}

bool RunLoop::turn(milliseconds timeout, bool waitForever) {
  State& state = *state_;
  // Wait once, on the wake-up descriptor and every watched one.
  std::vector<pollfd> polled;
  std::vector<uint64_t> polledIds;
  int wait;
  {
    std::lock_guard lock(state.mutex);
    polled.reserve(state.sources.size() + 1);
    polled.push_back({state.wake.get(), POLLIN, 0});
    for (const auto& [id, watch] : state.sources) {
      polled.push_back({watch.fd, POLLIN, 0});
      polledIds.push_back(id);
    }
    Clock::duration limit = waitForever ? Clock::duration(kLongest) : timeout;
    if (!state.wake.valid()) limit = std::min<Clock::duration>(limit, kWakeFallback);
    if (!state.queue.empty() || state.stopRequested) limit = Clock::duration::zero();
    if (!state.deadlines.empty()) {
      limit = std::min(limit, state.deadlines.begin()->first - Clock::now());
    }
    wait = waitForever && limit == Clock::duration(kLongest) ? -1 : pollTimeout(limit);
  }
  int ready = ::poll(polled.data(), polled.size(), wait);
  if (ready < 0) {
    // EINTR: a signal cut the wait short; the turn still handles due timers and work.
    if (errno != EINTR) NSLog("RunLoop: poll failed: %s", std::strerror(errno));
    for (pollfd& entry : polled)
      entry.revents = 0;
  }
  if (polled[0].revents & POLLIN) state.drainWake();

  Clock::time_point now = Clock::now();
  bool handled = false;

  // Work queued before this moment; taken one item at a time so that a nested turn (a
  // callback running the loop) keeps FIFO order.
  size_t budget;
  {
    std::lock_guard lock(state.mutex);
    budget = state.queue.size();
  }
  for (; budget > 0; --budget) {
    std::function<void()> work;
    {
      std::lock_guard lock(state.mutex);
      if (state.queue.empty()) break;
      work = std::move(state.queue.front());
      state.queue.pop_front();
    }
    handled = true;
    work();
  }

  // Timers due at the start of the turn. Each is rescheduled before it runs, so a repeating
  // timer fires at most once per turn, and a nested turn never fires it twice.
  while (Callback callback = state.takeDueTimer(now)) {
    handled = true;
    (*callback)();
  }

  // Sources that were readable after the wait and still are, unless removed meanwhile.
  for (size_t i = 0; i < polledIds.size(); ++i) {
    short events = polled[i + 1].revents;
    if (events == 0) continue;
    Callback callback;
    int fd;
    {
      std::lock_guard lock(state.mutex);
      auto source = state.sources.find(polledIds[i]);
      if (source == state.sources.end()) continue;
      if (events & POLLNVAL) {
        // Closed while still watched: dropping it keeps the loop from spinning on it.
        NSLog("RunLoop: descriptor %d was closed while watched; no longer watching it",
              source->second.fd);
        callback = state.remove_locked(polledIds[i]);
        continue;
      }
      callback = source->second.callback;
      fd = source->second.fd;
    }
    if (!readableNow(fd)) continue;
    handled = true;
    (*callback)();
  }
  return handled;
}
