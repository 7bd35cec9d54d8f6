#include "platform/foundation/internal/class_definitions.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace foundation_classes {

void defineValueClasses(objc::Class*) {
  objc::addMethod(objc::defineClass<NSString, NSObject>("NSString"), "description",
                  [](NSString* self, SEL) { return Ref<NSString>(self); });
  objc::addMethod(objc::defineClass<NSNumber, NSObject>("NSNumber"), "description",
                  [](NSNumber* self, SEL) { return NSString::from(self->stringValue()); });
  objc::addMethod(
      objc::defineClass<NSData, NSObject>("NSData"), "description", [](NSData* self, SEL) {
        static constexpr char kHex[] = "0123456789abcdef";
        std::string text = "{length = " + std::to_string(self->length()) + ", bytes = 0x";
        for (uint8_t byte : self->bytes()) {
          text += kHex[byte >> 4];
          text += kHex[byte & 15];
        }
        return NSString::from(text + "}");
      });
  objc::addMethod(objc::defineClass<NSDate, NSObject>("NSDate"), "description",
                  [](NSDate* self, SEL) { return NSString::from(self->descriptionText()); });
}

}  // namespace foundation_classes
