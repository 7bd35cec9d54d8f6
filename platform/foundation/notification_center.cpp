#include "platform/foundation/notification_center.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/foundation/internal/class_definitions.h"
#include "platform/foundation/log.h"
#include "platform/runtime/no_destructor.h"

struct NSNotificationCenter::Observers {
  struct Entry {
    std::string name;
    const NSObject* object;
    std::shared_ptr<const Block> block;
  };

  std::mutex mutex;
  uint64_t nextId = 1;
  // Ordered by id, so blocks run in the order they were added.
  std::map<uint64_t, Entry> entries;
};

NSNotificationCenter::NSNotificationCenter() : observers_(std::make_shared<Observers>()) {}

NSNotificationCenter::~NSNotificationCenter() = default;

NSNotificationCenter* NSNotificationCenter::defaultCenter() {
  // Never destroyed, so code running during static destruction still finds it.
  static objc::NoDestructor<Ref<NSNotificationCenter>> shared(objc::make<NSNotificationCenter>());
  return shared->get();
}

NSNotificationCenter::Observation::Observation(Observation&& other) noexcept
    : observers_(std::move(other.observers_)), id_(std::exchange(other.id_, 0)) {}

NSNotificationCenter::Observation& NSNotificationCenter::Observation::operator=(
    Observation&& other) noexcept {
  if (this != &other) {
    cancel();
    observers_ = std::move(other.observers_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void NSNotificationCenter::Observation::cancel() {
  std::shared_ptr<Observers> observers = observers_.lock();
  observers_.reset();
  if (!observers) return;
  std::shared_ptr<const Block> block;
  {
    std::lock_guard lock(observers->mutex);
    if (auto found = observers->entries.find(id_); found != observers->entries.end()) {
      // Destroyed outside the lock: the block may own other observations.
      block = std::move(found->second.block);
      observers->entries.erase(found);
    }
  }
}

bool NSNotificationCenter::Observation::active() const {
  std::shared_ptr<Observers> observers = observers_.lock();
  if (!observers) return false;
  std::lock_guard lock(observers->mutex);
  return observers->entries.contains(id_);
}

NSNotificationCenter::Observation NSNotificationCenter::addObserverForName(std::string name,
                                                                           const NSObject* object,
                                                                           Block block) {
  if (!block) {
    NSLog("NSNotificationCenter: refused an observer of %s with an empty block", name);
    return Observation();
  }
  std::lock_guard lock(observers_->mutex);
  uint64_t id = observers_->nextId++;
  observers_->entries.emplace(
      id,
      Observers::Entry{std::move(name), object, std::make_shared<const Block>(std::move(block))});
  return Observation(observers_, id);
}

void NSNotificationCenter::postNotificationName(std::string_view name, NSObject* object) {
  std::vector<std::pair<uint64_t, std::shared_ptr<const Block>>> matching;
  {
    std::lock_guard lock(observers_->mutex);
    for (const auto& [id, entry] : observers_->entries) {
      if ((entry.name.empty() || entry.name == name) &&
          (entry.object == nullptr || entry.object == object)) {
        matching.emplace_back(id, entry.block);
      }
    }
  }
  if (matching.empty()) return;
  const std::string nameText(name);
  for (const auto& [id, block] : matching) {
    {
      std::lock_guard lock(observers_->mutex);
      if (!observers_->entries.contains(id)) continue;
    }
    (*block)(nameText, object);
  }
}

namespace foundation_classes {
void defineNotificationCenter(objc::Class*) {
  objc::defineClass<NSNotificationCenter, NSObject>("NSNotificationCenter");
}
}  // namespace foundation_classes
