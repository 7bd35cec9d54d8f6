#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/runtime/class.h"
#include "platform/runtime/no_destructor.h"
#include "platform/runtime/property.h"

namespace objc {

// The runtime's process-wide state: every class, every method and every cache ever made. One
// lock guards all changes; sends read classes and caches without it. Nothing here is ever freed,
// so a send racing with a change still reads valid memory.
class ClassTable {
 public:
  static ClassTable& shared();
  // Storage for a new instance of cls with its isa set; needs no lock.
  static Ref<Object> instantiate(Class* cls);

  std::mutex& lock() { return lock_; }

  // A new class and its metaclass, not yet registered; null if the name is taken.
  Class* allocate_locked(std::string_view name, Class* superclass, Class::Factory factory,
                         std::type_index nativeType);
  void register_locked(Class* cls);
  Class* find_locked(std::string_view name) const;
  // Every registered class (no metaclass), in no particular order.
  std::vector<Class*> registered_locked() const;
  void setNative_locked(std::type_index type, Class* cls) { native_.insert_or_assign(type, cls); }
  Class* native_locked(std::type_index type) const;

  const Method* ownMethod_locked(const Class* cls, SEL sel) const;
  const Method* inheritedMethod_locked(const Class* cls, SEL sel) const;
  std::vector<const Method*> ownMethods_locked(const Class* cls) const;
  // Publishes `imp` as cls's own method for sel and drops every cache it could make stale.
  void setMethod_locked(Class* cls, SEL sel, Imp imp);
  const Method* lookupAndCache_locked(Class* cls, SEL sel);

  // Null if cls already declares a property of that name.
  const Property* addProperty_locked(Class* cls, Property property);
  const Property* property_locked(const Class* cls, std::string_view name) const;
  const std::vector<const Property*>& ownProperties_locked(const Class* cls) const {
    return cls->properties_;
  }

 private:
  ClassTable() = default;
  friend class NoDestructor<ClassTable>;

  MethodCache* newCache_locked(size_t capacity);
  void flushCaches_locked(const Class* changed);

  std::mutex lock_;
  std::unordered_map<std::string, Class*> names_;  // every allocated class, registered or not
  std::unordered_map<std::type_index, Class*> native_;
  std::vector<Ref<Class>> classes_;
  std::deque<Method> methods_;
  std::deque<Property> properties_;
  std::vector<std::unique_ptr<MethodCache>> caches_;
};

}  // namespace objc
