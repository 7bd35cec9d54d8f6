#include "platform/runtime/internal/class_table.h"

#include <memory>

#include "platform/runtime/exception.h"

namespace objc {
namespace {

constexpr size_t kInitialCacheCapacity = 8;

}  // namespace

ClassTable& ClassTable::shared() {
  static NoDestructor<ClassTable> instance;
  return *instance;
}

MethodCache* ClassTable::newCache_locked(size_t capacity) {
  caches_.push_back(std::make_unique<MethodCache>(capacity));
  return caches_.back().get();
}

Class* ClassTable::allocate_locked(std::string_view name, Class* superclass, Class::Factory factory,
                                   std::type_index nativeType) {
  if (name.empty() || names_.contains(std::string(name))) return nullptr;
  Class* rootMeta = nullptr;
  if (superclass) {
    rootMeta = superclass->isa();
    while (rootMeta->isa() != rootMeta)
      rootMeta = rootMeta->isa();
  }
  // A root metaclass inherits from its root class and is its own metaclass, so class objects
  // answer the root class's instance methods, as on the platform.
  auto meta =
      allocateObject<Class>(Class::Passkey(), std::string(name),
                            superclass ? superclass->isa() : nullptr, true, nullptr, typeid(Class));
  auto cls = allocateObject<Class>(Class::Passkey(), std::string(name), superclass, false, factory,
                                   nativeType);
  if (!superclass) meta->superclass_ = cls.get();
  meta->isa_ = rootMeta ? rootMeta : meta.get();
  cls->isa_ = meta.get();
  meta->cache_.store(newCache_locked(kInitialCacheCapacity), std::memory_order_release);
  cls->cache_.store(newCache_locked(kInitialCacheCapacity), std::memory_order_release);
  names_.emplace(name, cls.get());
  classes_.push_back(meta);
  classes_.push_back(cls);
  return cls.get();
}

void ClassTable::register_locked(Class* cls) {
  cls->registered_.store(true, std::memory_order_release);
  cls->isa()->registered_.store(true, std::memory_order_release);
}

Class* ClassTable::find_locked(std::string_view name) const {
  auto found = names_.find(std::string(name));
  return found != names_.end() && found->second->isRegistered() ? found->second : nullptr;
}

std::vector<Class*> ClassTable::registered_locked() const {
  std::vector<Class*> registered;
  for (const auto& [name, cls] : names_) {
    if (cls->isRegistered()) registered.push_back(cls);
  }
  return registered;
}

Class* ClassTable::native_locked(std::type_index type) const {
  auto found = native_.find(type);
  return found != native_.end() ? found->second : nullptr;
}

const Method* ClassTable::ownMethod_locked(const Class* cls, SEL sel) const {
  auto found = cls->methods_.find(sel);
  return found != cls->methods_.end() ? found->second : nullptr;
}

const Method* ClassTable::inheritedMethod_locked(const Class* cls, SEL sel) const {
  for (; cls; cls = cls->superclass_) {
    if (const Method* method = ownMethod_locked(cls, sel)) return method;
  }
  return nullptr;
}

std::vector<const Method*> ClassTable::ownMethods_locked(const Class* cls) const {
  std::vector<const Method*> methods;
  methods.reserve(cls->methods_.size());
  for (const auto& [sel, method] : cls->methods_)
    methods.push_back(method);
  return methods;
}

void ClassTable::setMethod_locked(Class* cls, SEL sel, Imp imp) {
  const Method* method = &methods_.emplace_back(Method{sel, imp});
  cls->methods_.insert_or_assign(sel, method);
  flushCaches_locked(cls);
}

void ClassTable::flushCaches_locked(const Class* changed) {
  for (const auto& cls : classes_) {
    // An empty cache holds nothing stale; replacing it would only cost memory.
    if (cls->isSubclassOf(changed) && !cls->cache_.load(std::memory_order_relaxed)->empty()) {
      cls->cache_.store(newCache_locked(kInitialCacheCapacity), std::memory_order_release);
    }
  }
}

const Method* ClassTable::lookupAndCache_locked(Class* cls, SEL sel) {
  const Method* method = inheritedMethod_locked(cls, sel);
  MethodCache* cache = cls->cache_.load(std::memory_order_relaxed);
  if (!cache->insert(sel, method)) {
    caches_.push_back(cache->grownCopy());
    cache = caches_.back().get();
    cache->insert(sel, method);
    cls->cache_.store(cache, std::memory_order_release);
  }
  return method;
}

const Property* ClassTable::addProperty_locked(Class* cls, Property property) {
  if (property_locked(cls, property.name())) return nullptr;
  const Property* added = &properties_.emplace_back(std::move(property));
  cls->properties_.push_back(added);
  return added;
}

const Property* ClassTable::property_locked(const Class* cls, std::string_view name) const {
  for (const Property* property : cls->properties_) {
    if (property->name() == name) return property;
  }
  return nullptr;
}

Ref<Object> ClassTable::instantiate(Class* cls) {
  if (cls->isMetaClass()) {
    throw Exception("NSInvalidArgumentException",
                    "cannot make an instance of metaclass " + cls->name());
  }
  Ref<Object> object = cls->factory_();
  object->isa_ = cls;
  return object;
}

}  // namespace objc
