#include "platform/foundation/process_info.h"

#include "platform/foundation/internal/class_definitions.h"

NSProcessInfo* NSProcessInfo::processInfo() {
  static const Ref<NSProcessInfo> shared = objc::make<NSProcessInfo>();
  return shared.get();
}

NSOperatingSystemVersion NSProcessInfo::operatingSystemVersion() const {
  return {major_.load(), minor_.load(), patch_.load()};
}

void NSProcessInfo::setOperatingSystemVersion(NSOperatingSystemVersion version) {
  major_ = version.majorVersion;
  minor_ = version.minorVersion;
  patch_ = version.patchVersion;
}

namespace foundation_classes {
void defineProcessInfo(objc::Class*) {
  objc::defineClass<NSProcessInfo, NSObject>("NSProcessInfo");
}
}  // namespace foundation_classes
