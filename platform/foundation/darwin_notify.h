#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_string.h"

// The Darwin notify centre: names without payload, posted by any process of a simulated
// device and heard by observers in every process of that device, the poster's included.
// Callbacks run on the observing process's main run loop (RunLoop::main()), never on the
// posting thread, and several posts of one name that arrive before that loop turns are heard
// once. Processes meet through one datagram socket each in darwinNotifyDirectory(), made when
// the process first observes; no daemon is involved. With no device folder set, posts reach
// this process only.

struct __CFNotificationCenter;
using CFNotificationCenterRef = __CFNotificationCenter*;
using CFNotificationName = CFStringRef;
using CFDictionaryRef = const NSDictionary*;

// Accepted for compatibility; processes are never suspended here, so all behave alike.
enum CFNotificationSuspensionBehavior {
  CFNotificationSuspensionBehaviorDrop = 1,
  CFNotificationSuspensionBehaviorCoalesce = 2,
  CFNotificationSuspensionBehaviorHold = 3,
  CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

// Called with the observer as registered, the name, and a null object and user info (the
// Darwin centre carries no payload). The name lives for the duration of the call.
using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer,
                                        CFNotificationName name, const void* object,
                                        CFDictionaryRef userInfo);

// The names the centre carries: 1 to kMaxDarwinNotificationNameLength bytes.
inline constexpr size_t kMaxDarwinNotificationNameLength = 1024;
inline bool isDarwinNotificationName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxDarwinNotificationNameLength;
}

// The process's Darwin centre; the same pointer on every call.
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Registers callBack for name until removed. observer is an opaque token (null allowed) used
// only to remove the registration; it is not retained or dereferenced. Registering the same
// observer, callback and name again changes nothing. object and suspensionBehavior are
// ignored. A null centre, name or callback, an empty name or one longer than 1024 bytes is
// refused (logged). The first registration of a device's process makes its socket.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);
// Removes observer's registrations for name (every name when name is null). A removed
// registration hears nothing more, even a post already on its way.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFNotificationName name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
// Posts name to every observing process of the device. object, userInfo and
// deliverImmediately are ignored. Blocks at most a fraction of a second in total on peers
// whose queues are full (their copy is dropped, logged); removes the sockets of processes
// that are gone. Refused (logged) for the same names AddObserver refuses.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                          const void* object, CFDictionaryRef userInfo,
                                          bool deliverImmediately);

// A host's registration with the Darwin centre. Move-only; destroying it stops the observing.
class DarwinObservation {
 public:
  DarwinObservation() = default;
  DarwinObservation(DarwinObservation&& other) noexcept;
  DarwinObservation& operator=(DarwinObservation&& other) noexcept;
  DarwinObservation(const DarwinObservation&) = delete;
  DarwinObservation& operator=(const DarwinObservation&) = delete;
  ~DarwinObservation() { cancel(); }

  // After this returns on the main loop's thread the callback is never called again.
  void cancel();
  // False for a refused name and once cancelled.
  bool active() const { return id_ != 0; }

 private:
  friend DarwinObservation observeDarwinNotification(
      std::string name, std::function<void(const std::string& name)> callback);
  explicit DarwinObservation(uint64_t id) : id_(id) {}
  uint64_t id_ = 0;
};

// Observes name like CFNotificationCenterAddObserver, with a function and RAII ownership.
// Unaffected by CFNotificationCenterRemoveObserver and RemoveEveryObserver.
[[nodiscard]] DarwinObservation observeDarwinNotification(
    std::string name, std::function<void(const std::string& name)> callback);

// The folder where the current device's observing processes keep their sockets
// (<device>/var/run/notify), or nothing when no device folder is set.
std::optional<std::filesystem::path> darwinNotifyDirectory();
