#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/ns_object.h"

// The in-process notification centre: a post calls every matching observer's block
// synchronously on the posting thread, in the order the observers were added. Thread-safe;
// blocks may add and remove observers (their own included) and post again.
class NSNotificationCenter : public NSObject {
  struct Observers;

 public:
  using Block = std::function<void(const std::string& name, NSObject* object)>;

  // Made by the runtime (objc::make); most code uses defaultCenter().
  NSNotificationCenter();
  ~NSNotificationCenter() override;

  // The process's centre, made on first use and never destroyed.
  static NSNotificationCenter* defaultCenter();

  // An observer's registration. Move-only; destroying or cancelling it removes the observer.
  // Harmless if it outlives its centre.
  class Observation {
   public:
    Observation() = default;
    Observation(Observation&& other) noexcept;
    Observation& operator=(Observation&& other) noexcept;
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;
    ~Observation() { cancel(); }

    // A block removed during a post on this thread is not called again, even by that post;
    // from another thread, a call already under way may still finish.
    void cancel();
    bool active() const;

   private:
    friend class NSNotificationCenter;
    Observation(std::weak_ptr<Observers> observers, uint64_t id)
        : observers_(std::move(observers)), id_(id) {}
    std::weak_ptr<Observers> observers_;
    uint64_t id_ = 0;
  };

  // Calls block for every post of name (of every name when name is empty) whose object is
  // object (any object when object is null). object is compared by address only; it is neither
  // retained nor used. An empty block is refused (logged) with an inactive Observation.
  [[nodiscard]] Observation addObserverForName(std::string name, const NSObject* object,
                                               Block block);
  // Calls the matching blocks before returning. object is passed to them as is.
  void postNotificationName(std::string_view name, NSObject* object);

 private:
  std::shared_ptr<Observers> observers_;
};
