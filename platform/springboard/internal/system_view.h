#pragma once

#include "platform/springboard/internal/class_definitions.h"
#include "platform/uikit/ui_view.h"

namespace springboard_classes {

// An instance of a class of the system, by name; a plain view when the system lacks the class,
// so the tree keeps its shape.
inline Ref<UIView> systemView(const char* className) {
  objc::Class* cls = objc_getClass(className);
  return cls ? objc::createInstance<UIView>(cls) : objc::make<UIView>();
}

// Registers a class of the system with no storage of its own, under its superclass (by name),
// unless the system lacks it.
inline void defineSystemSubclass(const SystemHas& systemHas, const char* name,
                                 const char* superclass) {
  objc::Class* parent = objc_getClass(superclass);
  if (parent && systemHas(name)) objc_registerClassPair(objc_allocateClassPair(parent, name, 0));
}

}  // namespace springboard_classes
