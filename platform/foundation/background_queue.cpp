#include "platform/foundation/background_queue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/runtime/no_destructor.h"

namespace background_queue {
namespace {

// The worker is never joined: like the platform's queues it lives until the process ends.
class Queue {
 public:
  void async(std::function<void()> block) {
    std::lock_guard guard(lock_);
    if (!worker_.joinable()) worker_ = std::thread([this] { serve(); });
    blocks_.push_back(std::move(block));
    changed_.notify_all();
  }

  void setObserver(std::function<void()> afterEachBlock) {
    std::lock_guard guard(observerLock_);
    observer_ = std::move(afterEachBlock);
  }

  void waitUntilIdle() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return blocks_.empty() && !running_; });
  }

 private:
  [[noreturn]] void serve() {
    std::unique_lock guard(lock_);
    for (;;) {
      changed_.wait(guard, [this] { return !blocks_.empty(); });
      std::function<void()> block = std::move(blocks_.front());
      blocks_.pop_front();
      running_ = true;
      guard.unlock();
      block();
      block = nullptr;
      observe();
      guard.lock();
      running_ = false;
      changed_.notify_all();
    }
  }

  // Under its own lock, so that removing it waits for a call under way to end.
  void observe() {
    std::lock_guard guard(observerLock_);
    if (observer_) observer_();
  }

  std::mutex lock_;
  std::mutex observerLock_;
  std::function<void()> observer_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> blocks_;
  bool running_ = false;
  std::thread worker_;
};

Queue& queue() {
  static objc::NoDestructor<Queue> instance;
  return *instance;
}

}  // namespace

void async(std::function<void()> block) {
  if (block) queue().async(std::move(block));
}

void waitUntilIdle() {
  queue().waitUntilIdle();
}

void setObserver(std::function<void()> afterEachBlock) {
  queue().setObserver(std::move(afterEachBlock));
}

}  // namespace background_queue
