#include "platform/runtime/associated_objects.h"

#include <algorithm>
#include <mutex>

namespace objc {
namespace {

// One lock for every table: associations are rare and short, and it keeps a set on one thread
// from racing a get on another for the same object.
std::mutex& associationLock() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

AssociationTable& associationsOf(Object& object) {
  if (!object.associations_) object.associations_ = std::make_unique<AssociationTable>();
  return *object.associations_;
}

AssociationTable* existingAssociationsOf(Object& object) {
  return object.associations_.get();
}

Ref<Object> AssociationTable::get(const void* key) const {
  for (const auto& [entryKey, value] : entries_) {
    if (entryKey == key) return value;
  }
  return nullptr;
}

Ref<Object> AssociationTable::set(const void* key, Ref<Object> value) {
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [key](const auto& entry) { return entry.first == key; });
  if (found == entries_.end()) {
    if (value) entries_.emplace_back(key, std::move(value));
    return nullptr;
  }
  Ref<Object> previous = std::exchange(found->second, std::move(value));
  if (!found->second) entries_.erase(found);
  return previous;
}

}  // namespace objc

void objc_setAssociatedObject(objc::Object* object, const void* key, objc::Object* value,
                              objc_AssociationPolicy) {
  if (!object || !key) return;
  objc::Ref<objc::Object> previous;
  {
    std::lock_guard lock(objc::associationLock());
    previous = objc::associationsOf(*object).set(key, value);
  }
}

objc::Ref<objc::Object> objc_getAssociatedObject(objc::Object* object, const void* key) {
  if (!object || !key) return nullptr;
  std::lock_guard lock(objc::associationLock());
  auto* table = objc::existingAssociationsOf(*object);
  return table ? table->get(key) : nullptr;
}

void objc_removeAssociatedObjects(objc::Object* object) {
  if (!object) return;
  std::vector<std::pair<const void*, objc::Ref<objc::Object>>> released;
  {
    std::lock_guard lock(objc::associationLock());
    if (auto* table = objc::existingAssociationsOf(*object)) released = table->takeAll();
  }
}
