#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/runtime/ref.h"

namespace objc {

class Class;
class AssociationTable;

// The storage of every object the runtime dispatches to. Its class (`isa`) decides which
// methods a message reaches; the C++ type only decides the storage. Objects live on the heap,
// are created through the runtime (make<T>(), createInstance()) and die when the last Ref goes.
// The class is set once the C++ constructor has returned, so a constructor must not send
// messages to the object it builds.
class Object {
 public:
  Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object();

  // The object's class; never null for an object made by the runtime.
  Class* isa() const { return isa_; }

  void retain() const { refs_.fetch_add(1, std::memory_order_relaxed); }
  void release() const;
  uint32_t retainCount() const { return refs_.load(std::memory_order_relaxed); }

 private:
  friend class Class;
  friend class ClassTable;
  friend AssociationTable& associationsOf(Object& object);
  friend AssociationTable* existingAssociationsOf(Object& object);

  Class* isa_ = nullptr;
  mutable std::atomic<uint32_t> refs_{0};
  std::unique_ptr<AssociationTable> associations_;
};

// The one allocation point of runtime objects; release() frees them when the last Ref goes.
// Use make<T>() or createInstance() for instances of classes: they also set the class.
template <class T, class... Args>
Ref<T> allocateObject(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace objc
