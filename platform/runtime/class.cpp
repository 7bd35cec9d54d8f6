#include "platform/runtime/class.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/runtime/internal/class_table.h"

namespace objc {
namespace {

std::string demangle(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
  return status == 0 && name ? name.get() : type.name();
}

}  // namespace

Class::Class(Passkey, std::string name, Class* superclass, bool isMeta, Factory makeInstance,
             std::type_index nativeType)
    : name_(std::move(name)),
      superclass_(superclass),
      isMeta_(isMeta),
      factory_(makeInstance),
      nativeType_(nativeType),
      cache_(nullptr) {}

Class::~Class() = default;

bool Class::isSubclassOf(const Class* other) const {
  for (const Class* cls = this; cls; cls = cls->superclass_) {
    if (cls == other) return true;
  }
  return false;
}

const Method* Class::lookupAndCache(SEL sel) {
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.lookupAndCache_locked(this, sel);
}

// Native classes and instances

namespace detail {

Class* defineNativeClass(std::string_view name, Class* superclass, Class::Factory factory,
                         std::type_index nativeType) {
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  Class* cls = table.allocate_locked(name, superclass, factory, nativeType);
  if (!cls) return nullptr;
  table.register_locked(cls);
  table.setNative_locked(nativeType, cls);
  return cls;
}

Class* nativeClass(std::type_index type) {
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.native_locked(type);
}

void throwWrongObjectType(const Object* object, const std::type_info& expected) {
  throw Exception("NSInvalidArgumentException", "expected an object stored as " +
                                                    demangle(expected) + ", got an instance of " +
                                                    object->isa()->name());
}

void throwUndefinedClass(const std::type_info& type) {
  throw Exception("NSInternalInconsistencyException",
                  "no class is defined for " + demangle(type) + " in this process");
}

}  // namespace detail

Ref<Object> createInstance(Class* cls) {
  return cls ? ClassTable::instantiate(cls) : nullptr;
}

bool isKindOf(const Object* object, const Class* cls) {
  return object && cls && object->isa()->isSubclassOf(cls);
}

bool respondsTo(const Object* object, SEL sel) {
  return object && sel && object->isa()->lookup(sel) != nullptr;
}

}  // namespace objc
