#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/runtime/object.h"

namespace objc {

// The values attached to one object, by key. Released with the object.
class AssociationTable {
 public:
  Ref<Object> get(const void* key) const;
  // Stores (or, for a null value, removes) and hands back the previous value, so that the
  // caller releases it outside the association lock.
  Ref<Object> set(const void* key, Ref<Object> value);
  std::vector<std::pair<const void*, Ref<Object>>> takeAll() { return std::move(entries_); }

 private:
  std::vector<std::pair<const void*, Ref<Object>>> entries_;
};

// The table of an object, made on first use; the caller holds the association lock.
AssociationTable& associationsOf(Object& object);
AssociationTable* existingAssociationsOf(Object& object);

}  // namespace objc

// How an associated value is held. Both keep a strong reference; values are immutable in this
// model, so the copying policies retain as well.
enum objc_AssociationPolicy : uintptr_t {
  OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
  OBJC_ASSOCIATION_COPY_NONATOMIC = 3,
  OBJC_ASSOCIATION_RETAIN = 01401,
  OBJC_ASSOCIATION_COPY = 01403,
};

// Attaches value to object under key (any unique address); a null value removes the entry.
// The value is released when replaced, removed, or when the object dies.
void objc_setAssociatedObject(objc::Object* object, const void* key, objc::Object* value,
                              objc_AssociationPolicy policy);
// The value attached under key, or null.
objc::Ref<objc::Object> objc_getAssociatedObject(objc::Object* object, const void* key);
void objc_removeAssociatedObjects(objc::Object* object);
