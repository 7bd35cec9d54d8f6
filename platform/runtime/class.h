#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/runtime/imp.h"
#include "platform/runtime/method_cache.h"
#include "platform/runtime/object.h"

namespace objc {

// One entry of a class's method table. Immutable once published: replacing an implementation
// publishes a new Method, so a concurrent send sees the old one or the new one, never a mix.
struct Method {
  SEL name;
  Imp imp;
};

class Property;

// A class, itself an object whose class (isa) is its metaclass; class methods are the
// metaclass's instance methods. Classes live for the whole process.
class Class final : public Object {
 public:
  // Makes the storage of a new instance: the C++ type of the nearest class defined in C++.
  using Factory = Ref<Object> (*)();

  struct Passkey {
   private:
    friend class ClassTable;
    Passkey() = default;
  };
  Class(Passkey, std::string name, Class* superclass, bool isMeta, Factory makeInstance,
        std::type_index nativeType);
  ~Class() override;

  const std::string& name() const { return name_; }
  Class* superclass() const { return superclass_; }
  bool isMetaClass() const { return isMeta_; }
  bool isRegistered() const { return registered_.load(std::memory_order_acquire); }
  Factory factory() const { return factory_; }
  // The C++ type instances are stored as.
  std::type_index nativeType() const { return nativeType_; }
  // True when this class is `other` or inherits from it.
  bool isSubclassOf(const Class* other) const;

  // The method instances of this class answer `sel` with, its own or inherited; null when they
  // do not respond. Lock-free once the answer is cached.
  const Method* lookup(SEL sel) {
    MethodCache::Probe probe = cache_.load(std::memory_order_acquire)->find(sel);
    if (probe.hit) [[likely]] {
      return probe.method;
    }
    return lookupAndCache(sel);
  }

 private:
  friend class ClassTable;

  const Method* lookupAndCache(SEL sel);

  std::string name_;
  Class* superclass_;
  bool isMeta_;
  std::atomic<bool> registered_{false};
  Factory factory_;
  std::type_index nativeType_;
  std::atomic<MethodCache*> cache_;
  // Guarded by the runtime lock.
  std::unordered_map<SEL, const Method*> methods_;
  std::vector<const Property*> properties_;
};

namespace detail {
template <class T>
Ref<Object> construct() {
  return allocateObject<T>();
}
Class* defineNativeClass(std::string_view name, Class* superclass, Class::Factory factory,
                         std::type_index nativeType);
Class* nativeClass(std::type_index type);
[[noreturn]] void throwUndefinedClass(const std::type_info& type);
}  // namespace detail

// The registered class whose instances use T as storage, or null if none is defined.
template <class T>
Class* classOf() {
  return detail::nativeClass(typeid(T));
}

// Defines and registers a class whose instances are stored as T, as a subclass of
// `superclass`, whose instances are stored as SuperStorage (a base of T). Null if the name is
// taken, or if superclass is null or not stored as SuperStorage.
template <class T, class SuperStorage>
Class* defineClass(std::string_view name, Class* superclass) {
  static_assert(std::is_default_constructible_v<T>, "instances are made by the runtime");
  static_assert(std::is_base_of_v<SuperStorage, T>, "storage must derive from the superclass's");
  if (!superclass || superclass->nativeType() != typeid(SuperStorage)) return nullptr;
  return detail::defineNativeClass(name, superclass, &detail::construct<T>, typeid(T));
}

// The same with the class defined for Super as the superclass; Super = void makes a root
// class.
template <class T, class Super>
Class* defineClass(std::string_view name) {
  if constexpr (std::is_void_v<Super>) {
    static_assert(std::is_default_constructible_v<T>, "instances are made by the runtime");
    return detail::defineNativeClass(name, nullptr, &detail::construct<T>, typeid(T));
  } else {
    return defineClass<T, Super>(name, classOf<Super>());
  }
}

// A new instance of cls (storage of its nearest C++-defined ancestor, isa = cls); null for a
// null class.
Ref<Object> createInstance(Class* cls);

// A new instance of cls stored as T; throws objc::Exception if cls's storage is not a T.
template <class T>
Ref<T> createInstance(Class* cls) {
  Ref<Object> object = createInstance(cls);
  return Ref<T>(detail::downcast<T>(object.get()));
}

// A new instance of the class defined for T; throws objc::Exception if T has no class in this
// process.
template <class T>
Ref<T> make() {
  Class* cls = classOf<T>();
  if (!cls) detail::throwUndefinedClass(typeid(T));
  return createInstance<T>(cls);
}

// Kind-of test: obj's class is cls or inherits from it. False for a null object or class.
bool isKindOf(const Object* object, const Class* cls);
// Whether obj answers sel (own or inherited method). False for a null object.
bool respondsTo(const Object* object, SEL sel);

}  // namespace objc
