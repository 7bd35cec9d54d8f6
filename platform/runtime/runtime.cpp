#include "platform/runtime/runtime.h"

#include <string>

#include "platform/runtime/internal/class_table.h"

using objc::ClassTable;

objc::Class* objc_getClass(std::string_view name) {
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.find_locked(name);
}

objc::Class* objc_allocateClassPair(objc::Class* superclass, std::string_view name, size_t) {
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  if (superclass) {
    return table.allocate_locked(name, superclass, superclass->factory(), superclass->nativeType());
  }
  return table.allocate_locked(name, nullptr, &objc::detail::construct<objc::Object>,
                               typeid(objc::Object));
}

void objc_registerClassPair(objc::Class* cls) {
  if (!cls || cls->isMetaClass()) return;
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  table.register_locked(cls);
}

std::vector<objc::Class*> objc_copyClassList() {
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.registered_locked();
}

objc::Class* object_getClass(const objc::Object* object) {
  return object ? object->isa() : nullptr;
}

const char* class_getName(const objc::Class* cls) {
  return cls ? cls->name().c_str() : "nil";
}

objc::Class* class_getSuperclass(const objc::Class* cls) {
  return cls ? cls->superclass() : nullptr;
}

bool class_isMetaClass(const objc::Class* cls) {
  return cls && cls->isMetaClass();
}

bool class_addMethod(objc::Class* cls, SEL sel, objc::Imp imp, std::string_view types) {
  if (!cls || !sel || !imp) return false;
  const objc::Signature* declared = objc::Signature::intern(types);
  if (declared != imp.signature()) {
    objc::reportDiagnostic(std::string("class_addMethod: ") + cls->name() + " " + sel_getName(sel) +
                           " declared as \"" + std::string(types) +
                           "\" but its implementation has type " + imp.encoding());
    return false;
  }
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  if (table.ownMethod_locked(cls, sel)) return false;
  table.setMethod_locked(cls, sel, imp);
  return true;
}

const objc::Method* class_getInstanceMethod(objc::Class* cls, SEL sel) {
  return cls && sel ? cls->lookup(sel) : nullptr;
}

const objc::Method* class_getClassMethod(objc::Class* cls, SEL sel) {
  return cls ? class_getInstanceMethod(cls->isa(), sel) : nullptr;
}

bool class_respondsToSelector(objc::Class* cls, SEL sel) {
  return class_getInstanceMethod(cls, sel) != nullptr;
}

std::vector<const objc::Method*> class_copyMethodList(const objc::Class* cls) {
  if (!cls) return {};
  auto& table = ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.ownMethods_locked(cls);
}

SEL method_getName(const objc::Method* method) {
  return method ? method->name : nullptr;
}

const char* method_getTypeEncoding(const objc::Method* method) {
  return method ? method->imp.encoding().c_str() : nullptr;
}

objc::Imp method_getImplementation(const objc::Method* method) {
  return method ? method->imp : objc::Imp();
}
