#pragma once

// The object runtime: classes by name, selectors, method tables with cached typed dispatch,
// method replacement, properties and associated objects. The functions below keep the
// platform's names and meanings.

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/runtime/associated_objects.h"
#include "platform/runtime/class.h"
#include "platform/runtime/diagnostics.h"
#include "platform/runtime/exception.h"
#include "platform/runtime/message.h"
#include "platform/runtime/property.h"
#include "platform/runtime/substrate.h"

// The registered class of that name, or null.
objc::Class* objc_getClass(std::string_view name);
// Starts a class at run time: a subclass of superclass (null for a new root class), not yet
// visible to objc_getClass. Instances use the storage of the superclass. Null if the name is
// taken. Add methods and properties, then register it.
objc::Class* objc_allocateClassPair(objc::Class* superclass, std::string_view name,
                                    size_t extraBytes);
void objc_registerClassPair(objc::Class* cls);
// Every registered class (no metaclasses), in no particular order: a snapshot taken under the
// runtime's lock, which classes registered later do not join. Classes live for the whole
// process, so the pointers stay valid. Costs a walk of every class.
std::vector<objc::Class*> objc_copyClassList();

objc::Class* object_getClass(const objc::Object* object);
const char* class_getName(const objc::Class* cls);
objc::Class* class_getSuperclass(const objc::Class* cls);
bool class_isMetaClass(const objc::Class* cls);

// Adds a method to cls unless cls itself already has one for sel (an inherited one is
// overridden). `types` is the method's encoding ("v@:d@"; offsets allowed) and must match the
// implementation's own; a mismatch is refused and reported. Returns whether it added.
bool class_addMethod(objc::Class* cls, SEL sel, objc::Imp imp, std::string_view types);
// The method instances of cls answer sel with (own or inherited), or null.
const objc::Method* class_getInstanceMethod(objc::Class* cls, SEL sel);
// The method cls itself answers sel with as a class method, or null.
const objc::Method* class_getClassMethod(objc::Class* cls, SEL sel);
bool class_respondsToSelector(objc::Class* cls, SEL sel);
// The methods cls itself has, not inherited ones, in no particular order; pass the metaclass
// for class methods. A snapshot: a method replaced later keeps its old entry here, and methods
// live for the whole process. Empty for a null class.
std::vector<const objc::Method*> class_copyMethodList(const objc::Class* cls);
SEL method_getName(const objc::Method* method);
const char* method_getTypeEncoding(const objc::Method* method);
objc::Imp method_getImplementation(const objc::Method* method);

namespace objc {

// class_addMethod with the encoding taken from the implementation's own C++ types.
template <class Function>
bool addMethod(Class* cls, std::string_view selector, Function function) {
  Imp imp = Imp::of(function);
  return class_addMethod(cls, sel(selector), imp, imp.encoding());
}

// The same for a class method (a method of cls's metaclass).
template <class Function>
bool addClassMethod(Class* cls, std::string_view selector, Function function) {
  return cls && addMethod(cls->isa(), selector, function);
}

}  // namespace objc
