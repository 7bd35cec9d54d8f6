#include "platform/foundation/ns_array.h"

#include <algorithm>

namespace {
void dropNil(NSArray::Objects& objects) {
  std::erase(objects, nullptr);
}
}  // namespace

Ref<NSArray> NSArray::from(Objects objects) {
  auto array = objc::make<NSArray>();
  dropNil(objects);
  array->objects_ = std::move(objects);
  return array;
}

Ref<NSObject> NSArray::objectAtIndex(size_t index) const {
  return index < objects_.size() ? objects_[index] : nullptr;
}

Ref<NSMutableArray> NSMutableArray::from(Objects objects) {
  auto array = objc::make<NSMutableArray>();
  dropNil(objects);
  array->objects_ = std::move(objects);
  return array;
}

Ref<NSMutableArray> NSMutableArray::mutableCopyOf(const NSArray* array) {
  return from(array ? array->objects() : Objects{});
}

void NSMutableArray::addObject(Ref<NSObject> object) {
  if (object) objects_.push_back(std::move(object));
}

void NSMutableArray::insertObject(Ref<NSObject> object, size_t index) {
  if (object) objects_.insert(objects_.begin() + std::min(index, objects_.size()), object);
}

void NSMutableArray::removeObjectAtIndex(size_t index) {
  if (index < objects_.size()) objects_.erase(objects_.begin() + index);
}

void NSMutableArray::removeObjectIdenticalTo(const NSObject* object) {
  std::erase_if(objects_, [object](const Ref<NSObject>& entry) { return entry.get() == object; });
}
