#pragma once

#include <vector>

#include "platform/foundation/ns_object.h"

// An ordered list of objects, which it holds strongly. Never holds nil.
class NSArray : public NSObject {
 public:
  using Objects = std::vector<Ref<NSObject>>;
  static Ref<NSArray> from(Objects objects);

  size_t count() const { return objects_.size(); }
  // The object at index, or nil when out of range (the platform raises; callers test count).
  Ref<NSObject> objectAtIndex(size_t index) const;
  Ref<NSObject> firstObject() const { return objectAtIndex(0); }
  const Objects& objects() const { return objects_; }
  Objects::const_iterator begin() const { return objects_.begin(); }
  Objects::const_iterator end() const { return objects_.end(); }

 protected:
  Objects objects_;
};

class NSMutableArray : public NSArray {
 public:
  static Ref<NSMutableArray> from(Objects objects);
  static Ref<NSMutableArray> mutableCopyOf(const NSArray* array);

  void addObject(Ref<NSObject> object);
  void insertObject(Ref<NSObject> object, size_t index);
  void removeObjectAtIndex(size_t index);
  // Removes every occurrence of this very object.
  void removeObjectIdenticalTo(const NSObject* object);
  void removeAllObjects() { objects_.clear(); }
};
