#pragma once

#include <type_traits>
#include <utility>

#include "platform/runtime/class.h"

namespace objc {

namespace detail {

template <class T>
Object* receiverOf(const T& receiver) {
  if constexpr (std::is_pointer_v<T>) {
    return const_cast<Object*>(static_cast<const Object*>(receiver));
  } else {
    return receiver.get();
  }
}

[[noreturn]] void throwUnrecognizedSelector(const Object* receiver, SEL sel);
[[noreturn]] void throwSignatureMismatch(const Object* receiver, SEL sel, const Method& method,
                                         const Signature* expected);

template <class R, class... Args>
R dispatch(Class* start, Object* self, SEL sel, Args&&... args) {
  const Method* method = start ? start->lookup(sel) : nullptr;
  if (!method) [[unlikely]] {
    throwUnrecognizedSelector(self, sel);
  }
  const Signature* expected = Signature::of<R, std::remove_cvref_t<Args>...>();
  if (method->imp.signature() != expected) [[unlikely]] {
    throwSignatureMismatch(self, sel, *method, expected);
  }
  return method->imp.invokeUnchecked<R>(self, sel, std::forward<Args>(args)...);
}

}  // namespace detail

// Sends a message: finds sel's implementation through the receiver's class and superclasses
// (cached per class) and calls it. R and the argument types must match the method's encoding
// exactly (pass 1.0, not 1, to a double); a mismatch or an unrecognised selector throws
// objc::Exception. Sending to null does nothing and returns R's zero value.
//   auto color = msgSend<Ref<UIColor>>(view, sel("backgroundColor"));
template <class R, class Receiver, class... Args>
R msgSend(const Receiver& receiver, SEL sel, Args&&... args) {
  Object* self = detail::receiverOf(receiver);
  if (!self) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else {
      return R{};
    }
  }
  return detail::dispatch<R>(self->isa(), self, sel, std::forward<Args>(args)...);
}

// Sends to the implementation that `currentClass`'s superclass gives, as `super` does inside a
// method of currentClass.
template <class R, class Receiver, class... Args>
R msgSendSuper(Class* currentClass, const Receiver& receiver, SEL sel, Args&&... args) {
  Object* self = detail::receiverOf(receiver);
  if (!self) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else {
      return R{};
    }
  }
  return detail::dispatch<R>(currentClass->superclass(), self, sel, std::forward<Args>(args)...);
}

}  // namespace objc
