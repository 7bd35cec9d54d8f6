#pragma once

// What the Darwin notification tests observe and post with, in this process.

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/run_loop.h"

namespace darwin_notify_testing {

using namespace std::chrono_literals;

// Only keeps a broken test from hanging; nothing here should come near it.
constexpr auto kPatience = 10s;

// Runs the main loop while its turns find something to do. Anything already posted (a post
// has reached every socket by the time it returns) has been heard when this returns.
inline void settleMainLoop() {
  for (int turns = 0; turns < 100 && RunLoop::main().runOnce(0ms); ++turns) {
  }
}

// What one C observer heard. The registration's observer pointer is the Heard itself.
struct Heard {
  std::vector<std::string> names;
  std::vector<std::thread::id> threads;
  bool payloadWasNull = true;

  static void record(CFNotificationCenterRef center, void* observer, CFNotificationName name,
                     const void* object, CFDictionaryRef userInfo) {
    auto* heard = static_cast<Heard*>(observer);
    heard->names.push_back(name->string());
    heard->threads.push_back(std::this_thread::get_id());
    heard->payloadWasNull &= object == nullptr && userInfo == nullptr &&
                             center == CFNotificationCenterGetDarwinNotifyCenter();
  }
};

// A Heard registered for some names, removed with it.
struct Observer : Heard {
  explicit Observer(std::vector<std::string> observed = {}) {
    for (const std::string& name : observed)
      observe(name);
  }
  ~Observer() { CFNotificationCenterRemoveEveryObserver(centre(), this); }
  void observe(const std::string& name) {
    CFNotificationCenterAddObserver(centre(), this, &Heard::record, CFSTR(name), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
  }
  static CFNotificationCenterRef centre() { return CFNotificationCenterGetDarwinNotifyCenter(); }
};

inline void post(const std::string& name) {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       NSString::from(name).get(), nullptr, nullptr, true);
}

inline std::vector<std::string> lines(std::initializer_list<const char*> texts) {
  return {texts.begin(), texts.end()};
}

}  // namespace darwin_notify_testing
