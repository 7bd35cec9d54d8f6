#include "platform/foundation/ns_object.h"

#include <cstdio>

#include "platform/foundation/internal/class_definitions.h"
#include "platform/foundation/ns_string.h"

std::string defaultDescription(const NSObject* object) {
  // A class describes itself by its name.
  if (object->isa()->isMetaClass()) return static_cast<const objc::Class*>(object)->name();
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(object));
  return std::string("<") + class_getName(object_getClass(object)) + ": " + address + ">";
}

std::string describe(const NSObject* object) {
  if (!object) return "(null)";
  Ref<NSString> text = objc::msgSend<Ref<NSString>>(object, objc::sel("description"));
  return text ? text->string() : "(null)";
}

namespace foundation_classes {

objc::Class* defineNSObject() {
  objc::Class* root = objc::defineClass<NSObject, void>("NSObject");
  objc::addMethod(root, "description",
                  [](NSObject* self, SEL) { return NSString::from(defaultDescription(self)); });
  objc::addMethod(root, "respondsToSelector:", [](NSObject* self, SEL, SEL sel) {
    return objc::respondsTo(self, sel);
  });
  objc::addMethod(root, "isKindOfClass:", [](NSObject* self, SEL, objc::Class* cls) {
    return objc::isKindOf(self, cls);
  });
  objc::addMethod(root, "class", [](NSObject* self, SEL) {
    // Sent to a class, `class` answers the class itself, not its metaclass.
    return self->isa()->isMetaClass() ? static_cast<objc::Class*>(self) : self->isa();
  });
  objc::addMethod(root, "init", [](NSObject* self, SEL) { return Ref<NSObject>(self); });
  return root;
}

}  // namespace foundation_classes
