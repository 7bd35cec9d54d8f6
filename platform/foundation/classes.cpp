#include "platform/foundation/internal/class_definitions.h"

namespace {

// Foundation's classes exist in every process, as the platform's do, so they are defined as
// soon as the library is loaded, before any code can make an instance.
bool defineFoundationClasses() {
  objc::Class* root = foundation_classes::defineNSObject();
  foundation_classes::defineKeyValueCoding(root);
  foundation_classes::defineValueClasses(root);
  foundation_classes::defineCollectionClasses(root);
  foundation_classes::defineProcessInfo(root);
  foundation_classes::defineNotificationCenter(root);
  foundation_classes::defineUserDefaults(root);
  return true;
}

[[maybe_unused]] const bool defined = defineFoundationClasses();

}  // namespace
