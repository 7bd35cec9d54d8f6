#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/runtime/object.h"
#include "platform/runtime/selector.h"

namespace objc {

class Class;

// Value types that travel through messages name their encoding by specialising this template,
// e.g. `template <> struct TypeEncoding<CGRect> { static constexpr std::string_view value =
// "{CGRect={CGPoint=dd}{CGSize=dd}}"; };`. One C++ type per encoding: the runtime relies on
// equal encodings meaning equal C++ types.
template <class T>
struct TypeEncoding;

// A type that is passed as an object: a pointer to an Object subclass, a Ref, or nullptr.
template <class T>
struct IsObjectType : std::false_type {};
template <class T>
requires std::derived_from<std::remove_cv_t<T>, Object> &&
    (!std::same_as<std::remove_cv_t<T>, Class>)struct IsObjectType<T*> : std::true_type {
};
template <class T>
struct IsObjectType<Ref<T>> : std::true_type {};
template <>
struct IsObjectType<std::nullptr_t> : std::true_type {};
template <class T>
inline constexpr bool kIsObjectType = IsObjectType<std::remove_cvref_t<T>>::value;

namespace detail {

template <class T>
struct ScalarEncoding {};
template <>
struct ScalarEncoding<bool> {
  static constexpr char value = 'B';
  using Canonical = bool;
};
template <>
struct ScalarEncoding<int> {
  static constexpr char value = 'i';
  using Canonical = int32_t;
};
template <>
struct ScalarEncoding<unsigned> {
  static constexpr char value = 'I';
  using Canonical = uint32_t;
};
template <>
struct ScalarEncoding<long> {
  static constexpr char value = 'q';
  using Canonical = int64_t;
};
template <>
struct ScalarEncoding<long long> {
  static constexpr char value = 'q';
  using Canonical = int64_t;
};
template <>
struct ScalarEncoding<unsigned long> {
  static constexpr char value = 'Q';
  using Canonical = uint64_t;
};
template <>
struct ScalarEncoding<unsigned long long> {
  static constexpr char value = 'Q';
  using Canonical = uint64_t;
};
template <>
struct ScalarEncoding<float> {
  static constexpr char value = 'f';
  using Canonical = float;
};
template <>
struct ScalarEncoding<double> {
  static constexpr char value = 'd';
  using Canonical = double;
};

template <class T>
concept Scalar = requires {
  ScalarEncoding<T>::value;
};
template <class T>
concept Enum = std::is_enum_v<T> && Scalar<std::underlying_type_t<T>>;
template <class T>
concept Structure = requires {
  TypeEncoding<T>::value;
};

}  // namespace detail

// The encoding of one C++ type in the runtime's notation ("v", "B", "i", "q", "d", "@", "#",
// ":", "^d", "{CGRect=...}"). Enumerations encode as their underlying integer.
template <class T>
std::string encodingOf() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_void_v<U>) {
    return "v";
  } else if constexpr (kIsObjectType<U>) {
    return "@";
  } else if constexpr (std::same_as<U, Class*>) {
    return "#";
  } else if constexpr (std::same_as<U, SEL>) {
    return ":";
  } else if constexpr (detail::Scalar<U>) {
    return std::string(1, detail::ScalarEncoding<U>::value);
  } else if constexpr (detail::Enum<U>) {
    return encodingOf<std::underlying_type_t<U>>();
  } else if constexpr (detail::Structure<U>) {
    return std::string(TypeEncoding<U>::value);
  } else if constexpr (std::is_pointer_v<U> && std::is_void_v<std::remove_pointer_t<U>>) {
    return "^v";
  } else if constexpr (std::is_pointer_v<U>) {
    return "^" + encodingOf<std::remove_pointer_t<U>>();
  } else {
    static_assert(sizeof(U) == 0, "this type has no runtime encoding; specialise TypeEncoding");
  }
}

// An interned method type encoding ("v@:d"). Equal encodings are the same Signature, so a send
// checks its arguments against a method with one pointer comparison.
class Signature {
 public:
  explicit Signature(std::string encoding) : encoding_(std::move(encoding)) {}
  const std::string& encoding() const { return encoding_; }

  // Interns an encoding in the normalised form of normalizeEncoding(); null if it is malformed.
  static const Signature* intern(std::string_view encoding);

  // The signature of a method returning R and taking Args after the receiver and selector.
  template <class R, class... Args>
  static const Signature* of() {
    static const Signature* const signature =
        intern(encodingOf<R>() + "@:" + (std::string() + ... + encodingOf<Args>()));
    return signature;
  }

 private:
  std::string encoding_;
};

// Splits a method type encoding into its type tokens (result first, then receiver, selector and
// arguments), dropping the stack offsets that compilers write between them ("v24@0:8d16").
// Empty if the text is not a well-formed encoding.
std::optional<std::vector<std::string>> splitEncoding(std::string_view encoding);
// The encoding with offsets removed, or empty if malformed.
std::optional<std::string> normalizeEncoding(std::string_view encoding);

}  // namespace objc
