#include "platform/foundation/ns_string.h"
#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"

namespace {

// Defined when the library is loaded, like every public class of the platform.
bool defineGraphicsClasses() {
  objc::addMethod(objc::defineClass<UIColor, NSObject>("UIColor"), "description",
                  [](UIColor* self, SEL) { return NSString::from(self->descriptionText()); });
  objc::defineClass<UIImage, NSObject>("UIImage");
  return true;
}

[[maybe_unused]] const bool defined = defineGraphicsClasses();

}  // namespace
