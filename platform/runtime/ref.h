#pragma once

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

namespace objc {

// A strong reference to an intrusively counted object (anything with retain() and release()).
// Copying retains, destruction releases; a null Ref is the platform's nil.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  // Adopting a raw pointer takes a new strong reference; the count lives in the object, so this
  // is safe for any pointer to a live object.
  Ref(T* object) : object_(object) { retain(); }
  Ref(const Ref& other) : object_(other.object_) { retain(); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U>
  requires std::is_convertible_v<U*, T*> Ref(const Ref<U>& other) : object_(other.get()) {
    retain();
  }
  template <class U>
  requires std::is_convertible_v<U*, T*> Ref(Ref<U>&& other)
  noexcept : object_(other.leak()) {}
  ~Ref() { release(); }

  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Takes over a reference the caller already owns (one that leak() gave up), without
  // retaining again.
  static Ref adopt(T* object) {
    Ref ref;
    ref.object_ = object;
    return ref;
  }
  // Gives up ownership without releasing; the caller must adopt() the pointer.
  T* leak() { return std::exchange(object_, nullptr); }

  template <class U>
  bool operator==(const Ref<U>& other) const {
    return object_ == other.get();
  }
  bool operator==(const T* other) const { return object_ == other; }
  bool operator==(std::nullptr_t) const { return object_ == nullptr; }

 private:
  void retain() const {
    if (object_) object_->retain();
  }
  void release() const {
    if (object_) object_->release();
  }

  T* object_ = nullptr;
};

template <class T>
Ref(T*) -> Ref<T>;

}  // namespace objc

template <class T>
struct std::hash<objc::Ref<T>> {
  size_t operator()(const objc::Ref<T>& ref) const { return std::hash<T*>()(ref.get()); }
};
