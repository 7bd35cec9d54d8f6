#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

// A loop that waits for readable file descriptors, timers and queued work, and runs their
// callbacks on the thread that runs it. One turn waits once (poll(2)), then handles everything
// that was ready at that moment: queued work first (in FIFO order), then due timers (earliest
// deadline first), then readable sources. Callbacks may add or remove sources, timers and work,
// including their own, while the loop runs. Every member may be called from any thread; run
// the loop itself on one thread at a time.
class RunLoop {
  struct State;

  // Shared by Source and Timer: unregisters on destruction. Holds the loop weakly, so a
  // handle that outlives its loop is harmless.
  class Handle {
   public:
    Handle() = default;
    Handle(std::weak_ptr<State> loop, uint64_t id) : loop_(std::move(loop)), id_(id) {}
    Handle(Handle&& other) noexcept;
    Handle& operator=(Handle&& other) noexcept;
    ~Handle() { cancel(); }
    void cancel();
    bool active() const;

   private:
    std::weak_ptr<State> loop_;
    uint64_t id_ = 0;
  };

 public:
  // A loop of its own, for a thread or a test; the platform's code uses main(). Opens one
  // eventfd for wake-ups.
  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // The process's main loop, made on first use and never destroyed. Whoever runs it is the
  // main thread as far as the platform is concerned.
  static RunLoop& main();

  // A watched file descriptor. Move-only; destroying or cancelling it stops the watch. Does
  // not own the descriptor: keep it open while the Source lives.
  class Source {
   public:
    Source() = default;
    // After this returns on the loop's thread the callback is never called again; from
    // another thread, a call already under way may still finish.
    void cancel() { handle_.cancel(); }
    // False once cancelled, or when the descriptor was found closed (then it is dropped).
    bool active() const { return handle_.active(); }

   private:
    friend class RunLoop;
    explicit Source(Handle handle) : handle_(std::move(handle)) {}
    Handle handle_;
  };

  // A scheduled callback. Move-only; destroying or cancelling it means it never fires again.
  class Timer {
   public:
    Timer() = default;
    // Same guarantee as Source::cancel().
    void cancel() { handle_.cancel(); }
    // False once cancelled, and once a one-shot timer has fired.
    bool active() const { return handle_.active(); }

   private:
    friend class RunLoop;
    explicit Timer(Handle handle) : handle_(std::move(handle)) {}
    Handle handle_;
  };

  // Calls callback on this loop whenever fd is readable (end of file and errors count, so
  // the callback's read hears them), until the Source dies. A negative fd is refused (logged)
  // with an inactive Source.
  [[nodiscard]] Source watchReadable(int fd, std::function<void()> callback);
  // Calls callback once after delay (or every delay if repeats; at least 1 ms apart, and a
  // loop that falls behind skips missed firings rather than bunching them), on this loop.
  [[nodiscard]] Timer schedule(std::chrono::milliseconds delay, std::function<void()> callback,
                               bool repeats = false);
  // Queues work from any thread and wakes the loop. Work queued by work runs on a later turn.
  void perform(std::function<void()> work);

  // Turns until stop().
  void run();
  // One turn, waiting at most timeout; true if it ran any callback.
  bool runOnce(std::chrono::milliseconds timeout);
  // Turns until done() is true (checked before every turn) or timeout has passed; answers
  // done().
  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // Ends the innermost run() once its current turn is over; if none is running, the next
  // run() returns at once. From a callback or any thread.
  void stop();

 private:
  bool turn(std::chrono::milliseconds timeout, bool waitForever);

  std::shared_ptr<State> state_;
};
