#include "platform/runtime/object.h"

#include <cassert>

#include "platform/runtime/associated_objects.h"

namespace objc {

Object::Object() = default;

// Out of line so that AssociationTable is complete where the unique_ptr is destroyed; dropping
// the table releases every associated value.
Object::~Object() {
  assert(refs_.load() == 0 && "object destroyed while still referenced");
}

void Object::release() const {
  if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

}  // namespace objc
