#include "platform/foundation/darwin_notify.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/foundation/device.h"
#include "platform/foundation/internal/notify_transport.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/runtime/no_destructor.h"

using foundation_internal::kMaxNotificationNameLength;
static_assert(kMaxNotificationNameLength == kMaxDarwinNotificationNameLength);

// The process has one Darwin centre; its state lives in centre() below.
struct __CFNotificationCenter {};

namespace {

using HostCallback = std::function<void(const std::string& name)>;

struct Registration {
  const void* observer = nullptr;
  std::string name;
  CFNotificationCallback callback = nullptr;
  // Set instead of callback for observeDarwinNotification(); such registrations are only ever
  // removed through their DarwinObservation.
  std::shared_ptr<const HostCallback> hostCallback;
};

struct OwnSocket {
  std::filesystem::path folder;
  std::filesystem::path path;
  RunLoop::Source source;
};

struct Centre {
  std::mutex mutex;
  uint64_t nextId = 1;
  // Ordered by id: observers of one name hear it in the order they registered.
  std::map<uint64_t, Registration> registrations;
  // Names heard since the last delivery, in arrival order, each once.
  std::vector<std::string> pending;
  std::unordered_set<std::string> pendingNames;
  bool deliveryQueued = false;
  std::optional<OwnSocket> socket;
  std::once_flag exitHook;
};

Centre& centre() {
  static objc::NoDestructor<Centre> instance;
  return *instance;
}

__CFNotificationCenter* darwinCentre() {
  static __CFNotificationCenter instance;
  return &instance;
}

bool acceptCentre(CFNotificationCenterRef center, const char* action) {
  if (center == darwinCentre()) return true;
  NSLog("CFNotificationCenter: refused to %s on a centre that is not the Darwin centre", action);
  return false;
}

bool acceptName(std::string_view name, const char* action) {
  if (!name.empty() && name.size() <= kMaxNotificationNameLength) return true;
  NSLog("CFNotificationCenter: refused to %s a name of %lu bytes (1 to %lu allowed)", action,
        static_cast<unsigned long>(name.size()),
        static_cast<unsigned long>(kMaxNotificationNameLength));
  return false;
}

bool observed_locked(const Centre& c, const std::string& name) {
  for (const auto& [id, registration] : c.registrations) {
    if (registration.name == name) return true;
  }
  return false;
}

void deliverPending();

// Notes name for the next delivery, which runs on the main loop's next turn; posts that
// arrive before it coalesce there.
void enqueue_locked(Centre& c, std::string name) {
  if (c.pendingNames.insert(name).second) c.pending.push_back(std::move(name));
  if (!c.deliveryQueued) {
    c.deliveryQueued = true;
    RunLoop::main().perform(deliverPending);
  }
}

void deliverPending() {
  Centre& c = centre();
  std::vector<std::string> names;
  {
    std::lock_guard lock(c.mutex);
    names.swap(c.pending);
    c.pendingNames.clear();
    c.deliveryQueued = false;
  }
  for (const std::string& name : names) {
    std::vector<std::pair<uint64_t, Registration>> observers;
    {
      std::lock_guard lock(c.mutex);
      for (const auto& [id, registration] : c.registrations) {
        if (registration.name == name) observers.emplace_back(id, registration);
      }
    }
    if (observers.empty()) continue;
    Ref<NSString> nameObject = NSString::from(name);
    for (const auto& [id, registration] : observers) {
      {
        // An earlier callback may have removed this one; it must not hear the name then.
        std::lock_guard lock(c.mutex);
        if (!c.registrations.contains(id)) continue;
      }
      if (registration.callback) {
        registration.callback(darwinCentre(), const_cast<void*>(registration.observer),
                              nameObject.get(), nullptr, nullptr);
      } else {
        (*registration.hostCallback)(name);
      }
    }
  }
}

void removeOwnSocketFile() {
  Centre& c = centre();
  std::lock_guard lock(c.mutex);
  if (!c.socket) return;
  std::error_code error;
  std::filesystem::remove(c.socket->path, error);
}

// Makes sure this process has a socket in the current device's folder, so that posts from
// other processes reach it. Without a device, or when binding fails (logged), observers hear
// posts of this process only.
void ensureSocket_locked(Centre& c) {
  std::optional<std::filesystem::path> folder = darwinNotifyDirectory();
  if (!folder || (c.socket && c.socket->folder == *folder)) return;
  std::optional<foundation_internal::NotifySocket> bound =
      foundation_internal::bindNotifySocket(*folder);
  if (!bound) return;
  auto fd = bound->fd;
  RunLoop::Source source = RunLoop::main().watchReadable(fd->get(), [fd] {
    foundation_internal::receiveNotificationNames(fd->get(), [](std::string name) {
      Centre& receiver = centre();
      std::lock_guard lock(receiver.mutex);
      if (observed_locked(receiver, name)) enqueue_locked(receiver, std::move(name));
    });
  });
  if (c.socket) {
    // The device folder changed: leave the old device.
    std::error_code error;
    std::filesystem::remove(c.socket->path, error);
  }
  c.socket = OwnSocket{*folder, bound->path, std::move(source)};
  std::call_once(c.exitHook, [] { std::atexit(removeOwnSocketFile); });
}

uint64_t register_locked(Centre& c, Registration registration) {
  uint64_t id = c.nextId++;
  c.registrations.emplace(id, std::move(registration));
  ensureSocket_locked(c);
  return id;
}

}  // namespace

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
  return darwinCentre();
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name, const void*,
                                     CFNotificationSuspensionBehavior) {
  if (!acceptCentre(center, "observe")) return;
  if (callBack == nullptr || name == nullptr) {
    NSLog("CFNotificationCenter: refused to observe with a null %s",
          callBack == nullptr ? "callback" : "name");
    return;
  }
  if (!acceptName(name->string(), "observe")) return;
  Centre& c = centre();
  std::lock_guard lock(c.mutex);
  for (const auto& [id, registration] : c.registrations) {
    if (registration.observer == observer && registration.callback == callBack &&
        registration.name == name->string()) {
      return;
    }
  }
  register_locked(c, Registration{observer, name->string(), callBack, nullptr});
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFNotificationName name, const void*) {
  if (!acceptCentre(center, "remove an observer")) return;
  Centre& c = centre();
  std::lock_guard lock(c.mutex);
  std::erase_if(c.registrations, [&](const auto& entry) {
    const Registration& registration = entry.second;
    return registration.callback != nullptr && registration.observer == observer &&
           (name == nullptr || registration.name == name->string());
  });
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
  CFNotificationCenterRemoveObserver(center, observer, nullptr, nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                          const void*, CFDictionaryRef, bool) {
  if (!acceptCentre(center, "post")) return;
  if (name == nullptr) {
    NSLog("CFNotificationCenter: refused to post a null name");
    return;
  }
  const std::string& text = name->string();
  if (!acceptName(text, "post")) return;
  Centre& c = centre();
  std::string ownFile;
  std::optional<std::filesystem::path> folder = darwinNotifyDirectory();
  {
    // This process hears its own posts directly, never through its socket: a full socket
    // queue cannot lose them.
    std::lock_guard lock(c.mutex);
    if (observed_locked(c, text)) enqueue_locked(c, text);
    if (c.socket && folder && c.socket->folder == *folder) {
      ownFile = c.socket->path.filename().string();
    }
  }
  if (folder) foundation_internal::sendNotificationName(*folder, text, ownFile);
}

DarwinObservation::DarwinObservation(DarwinObservation&& other) noexcept
    : id_(std::exchange(other.id_, 0)) {}

DarwinObservation& DarwinObservation::operator=(DarwinObservation&& other) noexcept {
  if (this != &other) {
    cancel();
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void DarwinObservation::cancel() {
  if (id_ == 0) return;
  std::shared_ptr<const HostCallback> callback;
  {
    Centre& c = centre();
    std::lock_guard lock(c.mutex);
    if (auto found = c.registrations.find(id_); found != c.registrations.end()) {
      // Destroyed outside the lock: the function may own other observations.
      callback = std::move(found->second.hostCallback);
      c.registrations.erase(found);
    }
  }
  id_ = 0;
}

DarwinObservation observeDarwinNotification(std::string name, HostCallback callback) {
  if (!callback) {
    NSLog("CFNotificationCenter: refused to observe with an empty callback");
    return DarwinObservation();
  }
  if (!acceptName(name, "observe")) return DarwinObservation();
  Centre& c = centre();
  std::lock_guard lock(c.mutex);
  uint64_t id =
      register_locked(c, Registration{nullptr, std::move(name), nullptr,
                                      std::make_shared<const HostCallback>(std::move(callback))});
  return DarwinObservation(id);
}

std::optional<std::filesystem::path> darwinNotifyDirectory() {
  std::optional<std::filesystem::path> root = device::directory();
  if (!root) return std::nullopt;
  return *root / "var" / "run" / "notify";
}
