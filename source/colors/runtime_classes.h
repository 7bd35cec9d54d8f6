#pragma once

#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/foundation/ns_object.h"

// The colour classes as the rest of the process sees them: runtime classes under their public
// names, whose methods are thin entries to the C++ colour code, so that any other code in the
// process can look them up by name and send them messages. Call each once, at load, on the main
// thread. A class name already taken in the process, or a category method whose selector the
// class already has, is left as it is and logged, each line starting with `logPrefix`.
namespace runtime_classes {

// `RGBPixel` and the category methods on `UIImage` and `UIColor`.
void registerQuenbyClasses(std::string_view logPrefix);
// `PCPaletteCube` and `PCLocalMaximum`.
void registerPaletteCubeClasses(std::string_view logPrefix);
// `libMerrow`, `Tessel` and `libOsset`.
void registerClassifierClasses(std::string_view logPrefix);

// Defines the class `name` as a subclass of NSObject whose instances are stored as T, or logs
// that the name is taken and returns null.
template <class T>
objc::Class* defineUnlessTaken(std::string_view name, std::string_view logPrefix);

// Adds a method to cls, its encoding taken from the implementation's C++ types, unless cls
// itself already has one for the selector (logged). Nothing for a null class.
void addOrLog(objc::Class* cls, std::string_view selector, objc::Imp imp,
              std::string_view logPrefix);
template <class Function>
void addOrLog(objc::Class* cls, std::string_view selector, Function function,
              std::string_view logPrefix) {
  addOrLog(cls, selector, objc::Imp::of(function), logPrefix);
}
// The same for a class method.
template <class Function>
void addClassOrLog(objc::Class* cls, std::string_view selector, Function function,
                   std::string_view logPrefix) {
  addOrLog(cls ? cls->isa() : nullptr, selector, objc::Imp::of(function), logPrefix);
}

// Declares a property as the platform declares a synthesised non-atomic one
// (`T<type>,N,V_<name>`, with `&` for an object type) and adds its getter `name` and its
// setter `setName:`.
void addProperty(objc::Class* cls, std::string_view name, std::string_view type, objc::Imp getter,
                 objc::Imp setter);

// A property read and written straight from a field of the value an instance holds: Storage
// is an NSObject subclass with a member `value`, field a pointer to a member of it.
template <class Storage, auto field>
void addFieldProperty(objc::Class* cls, std::string_view name) {
  using Value = std::remove_cvref_t<decltype(std::declval<Storage&>().value.*field)>;
  addProperty(cls, name, objc::encodingOf<Value>(),
              objc::Imp::of([](Storage* self, SEL) { return self->value.*field; }),
              objc::Imp::of([](Storage* self, SEL, Value value) { self->value.*field = value; }));
}

namespace detail {
void logTakenClass(std::string_view name, std::string_view logPrefix);
}

template <class T>
objc::Class* defineUnlessTaken(std::string_view name, std::string_view logPrefix) {
  objc::Class* cls = objc::defineClass<T, NSObject>(name);
  if (!cls) detail::logTakenClass(name, logPrefix);
  return cls;
}

}  // namespace runtime_classes
