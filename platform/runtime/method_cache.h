#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/runtime/selector.h"

namespace objc {

struct Method;

// A class's cache from selector to method, read without locks on every send. Buckets are
// written once (under the runtime lock) and never changed: the method first, then the selector
// with release order, so a reader that sees the selector sees its method. Changing methods
// replaces the whole cache instead of editing it.
class MethodCache {
 public:
  explicit MethodCache(size_t capacity);

  // What a probe found: `hit` false when the selector is not cached; a hit with a null method
  // records that the class does not respond.
  struct Probe {
    bool hit;
    const Method* method;
  };

  Probe find(SEL sel) const {
    for (size_t i = slotFor(sel);; i = (i + 1) & mask_) {
      SEL key = buckets_[i].sel.load(std::memory_order_acquire);
      if (key == sel) return {true, buckets_[i].method.load(std::memory_order_relaxed)};
      if (key == nullptr) return {false, nullptr};
    }
  }

  // Adds an entry; the caller holds the runtime lock. False when the cache is too full to take
  // it, in which case the caller grows it with grownCopy().
  bool insert(SEL sel, const Method* method);
  bool empty() const { return used_ == 0; }
  std::unique_ptr<MethodCache> grownCopy() const;

 private:
  struct Bucket {
    std::atomic<SEL> sel{nullptr};
    std::atomic<const Method*> method{nullptr};
  };

  size_t slotFor(SEL sel) const {
    auto bits = reinterpret_cast<uintptr_t>(sel);
    return ((bits >> 4) ^ (bits >> 11)) & mask_;
  }

  size_t mask_;
  size_t used_ = 0;
  std::unique_ptr<Bucket[]> buckets_;
};

}  // namespace objc
