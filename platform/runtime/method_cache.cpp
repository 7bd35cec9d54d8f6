#include "platform/runtime/method_cache.h"

namespace objc {

MethodCache::MethodCache(size_t capacity)
    : mask_(capacity - 1), buckets_(std::make_unique<Bucket[]>(capacity)) {}

bool MethodCache::insert(SEL sel, const Method* method) {
  // Keep a quarter empty so probes stay short and always end at an empty bucket.
  if (4 * (used_ + 1) > 3 * (mask_ + 1)) return false;
  for (size_t i = slotFor(sel);; i = (i + 1) & mask_) {
    SEL key = buckets_[i].sel.load(std::memory_order_relaxed);
    if (key == sel) return true;
    if (key == nullptr) {
      buckets_[i].method.store(method, std::memory_order_relaxed);
      buckets_[i].sel.store(sel, std::memory_order_release);
      ++used_;
      return true;
    }
  }
}

std::unique_ptr<MethodCache> MethodCache::grownCopy() const {
  auto grown = std::make_unique<MethodCache>(2 * (mask_ + 1));
  for (size_t i = 0; i <= mask_; ++i) {
    SEL key = buckets_[i].sel.load(std::memory_order_relaxed);
    if (key) grown->insert(key, buckets_[i].method.load(std::memory_order_relaxed));
  }
  return grown;
}

}  // namespace objc
