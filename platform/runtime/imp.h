#pragma once

#include <string>
#include <type_traits>
#include <utility>

#include "platform/runtime/exception.h"
#include "platform/runtime/type_encoding.h"

namespace objc {

namespace detail {

// Every implementation is called through one canonical C++ function type per encoding: objects
// travel as Object* (arguments) and Ref<Object> (results), integers as fixed-width types. The
// typed function the programmer wrote is reached through a thunk that converts back, so no
// function is ever called through a type other than its own.
template <class T>
struct Canonical {
  using type = std::remove_cvref_t<T>;
};
template <class T>
requires kIsObjectType<T>
struct Canonical<T> {
  using type = Object*;
};
template <class T>
requires Scalar<std::remove_cvref_t<T>>
struct Canonical<T> {
  using type = typename ScalarEncoding<std::remove_cvref_t<T>>::Canonical;
};
template <class T>
requires Enum<std::remove_cvref_t<T>>
struct Canonical<T> {
  using type = typename Canonical<std::underlying_type_t<std::remove_cvref_t<T>>>::type;
};
template <class T>
using CanonicalArg = typename Canonical<T>::type;

template <class R>
struct CanonicalResultOf {
  using type = CanonicalArg<R>;
};
template <class R>
requires kIsObjectType<R>
struct CanonicalResultOf<R> {
  using type = Ref<Object>;
};
template <>
struct CanonicalResultOf<void> {
  using type = void;
};
template <class R>
using CanonicalResult = typename CanonicalResultOf<R>::type;

template <class T>
struct RefTarget;
template <class T>
struct RefTarget<Ref<T>> {
  using type = T;
};
template <class T>
struct RefTarget<T*> {
  using type = std::remove_cv_t<T>;
};

[[noreturn]] void throwWrongObjectType(const Object* object, const std::type_info& expected);

// Object* → T*: null stays null; an object of another type is refused, never miscast.
template <class T>
T* downcast(Object* object) {
  if constexpr (std::is_same_v<T, Object>) {
    return object;
  } else {
    if (!object) return nullptr;
    // Most objects are stored exactly as the type asked for; that test is much cheaper than a
    // cast through the hierarchy.
    if (typeid(*object) == typeid(T)) return static_cast<T*>(object);
    if (auto* typed = dynamic_cast<T*>(object)) return typed;
    throwWrongObjectType(object, typeid(T));
  }
}

template <class T>
CanonicalArg<T> toCanonical(T&& value) {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<U, std::nullptr_t>) {
    return nullptr;
  } else if constexpr (kIsObjectType<U> && std::is_pointer_v<U>) {
    return const_cast<Object*>(static_cast<const Object*>(value));
  } else if constexpr (kIsObjectType<U>) {
    return value.get();
  } else {
    return static_cast<CanonicalArg<T>>(value);
  }
}

// By value: a parameter declared `const CGRect&` binds to the temporary for the call.
template <class T>
std::remove_cvref_t<T> fromCanonical(CanonicalArg<T> value) {
  using U = std::remove_cvref_t<T>;
  if constexpr (kIsObjectType<U>) {
    return downcast<typename RefTarget<U>::type>(value);
  } else {
    return static_cast<U>(value);
  }
}

template <class R>
CanonicalResult<R> resultToCanonical(R&& value) {
  if constexpr (kIsObjectType<R>) {
    return Ref<Object>(std::forward<R>(value));
  } else {
    return static_cast<CanonicalResult<R>>(value);
  }
}

template <class R>
R resultFromCanonical(CanonicalResult<R>&& value) {
  using U = std::remove_cvref_t<R>;
  if constexpr (kIsObjectType<U>) {
    static_assert(!std::is_pointer_v<U>, "object results are returned as Ref<T>");
    using Target = typename RefTarget<U>::type;
    Target* typed = downcast<Target>(value.get());
    value.leak();
    return Ref<Target>::adopt(typed);
  } else {
    return static_cast<R>(value);
  }
}

using ErasedFunction = void (*)();

template <class R, class Self, class... Args>
CanonicalResult<R> thunk(ErasedFunction target, Object* self, SEL cmd, CanonicalArg<Args>... args) {
  auto typed = reinterpret_cast<R (*)(Self*, SEL, Args...)>(target);
  // The runtime only calls an implementation on instances of the class it was added to, whose
  // storage derives from Self; the sanitizer build checks this cast.
  auto* receiver = static_cast<Self*>(self);
  if constexpr (std::is_void_v<R>) {
    typed(receiver, cmd, fromCanonical<Args>(args)...);
  } else {
    return resultToCanonical<R>(typed(receiver, cmd, fromCanonical<Args>(args)...));
  }
}

}  // namespace detail

// A method implementation: a typed C++ function `R f(Self* self, SEL cmd, Args...)` together
// with its signature. Imps are small values; the function they wrap must outlive them (free
// functions and captureless lambdas do).
class Imp {
 public:
  Imp() = default;

  template <class R, class Self, class... Args>
  requires std::derived_from<Self, Object>
  static Imp of(R (*function)(Self*, SEL, Args...)) {
    static_assert(!std::is_pointer_v<R> || std::is_same_v<R, Class*>,
                  "object results are returned as Ref<T>");
    Imp imp;
    imp.thunk_ = reinterpret_cast<detail::ErasedFunction>(&detail::thunk<R, Self, Args...>);
    imp.target_ = reinterpret_cast<detail::ErasedFunction>(function);
    imp.signature_ = Signature::of<R, Args...>();
    return imp;
  }

  // Captureless lambdas: Imp::of([](UIView* self, SEL) { … }).
  template <class Lambda>
  requires requires(Lambda lambda) { +lambda; }
  static Imp of(Lambda lambda) { return of(+lambda); }

  explicit operator bool() const { return thunk_ != nullptr; }
  const Signature* signature() const { return signature_; }
  const std::string& encoding() const;
  bool operator==(const Imp& other) const {
    return thunk_ == other.thunk_ && target_ == other.target_;
  }

  // Calls the implementation after checking that R and Args match its signature exactly;
  // throws objc::Exception on a mismatch or an empty Imp.
  template <class R, class... Args>
  R call(Object* self, SEL cmd, Args&&... args) const {
    const Signature* expected = Signature::of<R, std::remove_cvref_t<Args>...>();
    if (signature_ != expected) [[unlikely]] {
      throwMismatch(cmd, expected);
    }
    return invokeUnchecked<R>(self, cmd, std::forward<Args>(args)...);
  }

  // Calls without checking; the caller has compared signature() with the signature of
  // <R, Args...> itself.
  template <class R, class... Args>
  R invokeUnchecked(Object* self, SEL cmd, Args&&... args) const {
    using Canonical = detail::CanonicalResult<R> (*)(detail::ErasedFunction, Object*, SEL,
                                                     detail::CanonicalArg<Args>...);
    auto function = reinterpret_cast<Canonical>(thunk_);
    if constexpr (std::is_void_v<R>) {
      function(target_, self, cmd, detail::toCanonical(std::forward<Args>(args))...);
    } else {
      return detail::resultFromCanonical<R>(
          function(target_, self, cmd, detail::toCanonical(std::forward<Args>(args))...));
    }
  }

  [[noreturn]] void throwMismatch(SEL cmd, const Signature* expected) const;

 private:
  detail::ErasedFunction thunk_ = nullptr;
  detail::ErasedFunction target_ = nullptr;
  const Signature* signature_ = nullptr;
};

}  // namespace objc
