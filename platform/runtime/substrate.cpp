#include "platform/runtime/substrate.h"

#include <string>

#include "platform/runtime/diagnostics.h"
#include "platform/runtime/internal/class_table.h"

void MSHookMessageEx(objc::Class* cls, SEL sel, objc::Imp replacement, objc::Imp* previous) {
  if (!cls || !sel || !replacement) return;
  auto& table = objc::ClassTable::shared();
  std::lock_guard lock(table.lock());
  const objc::Method* current = table.inheritedMethod_locked(cls, sel);
  if (!current) return;
  if (current->imp.signature() != replacement.signature()) {
    objc::reportDiagnostic(std::string("MSHookMessageEx: ") + cls->name() + " " + sel_getName(sel) +
                           " has type " + current->imp.encoding() + ", the replacement " +
                           replacement.encoding());
    return;
  }
  // The slot is filled before the replacement is published, so the replacement can always
  // reach the implementation it wraps.
  if (previous) *previous = current->imp;
  table.setMethod_locked(cls, sel, replacement);
}
