#include "platform/springboard/host.h"

#include <mutex>

#include "platform/foundation/process_info.h"
#include "platform/springboard/internal/class_definitions.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/uikit/private_classes.h"

void setUpHost(const HostConfiguration& configuration) {
  static std::once_flag once;
  std::call_once(once, [&] {
    auto systemHas = [&](std::string_view name) {
      return !configuration.missingClasses.contains(name);
    };
    definePrivateUIKitClasses(systemHas);
    springboard_classes::defineIconModelClasses(systemHas);
    springboard_classes::defineIconViewClasses(systemHas);
    springboard_classes::defineDockClasses(systemHas);
    springboard_classes::defineFolderClasses(systemHas);
    springboard_classes::defineControllerClasses(systemHas);
    springboard_classes::defineMaterialClasses(systemHas);
    springboard_classes::defineNotificationClasses(systemHas);
    springboard_classes::defineNotificationListClasses(systemHas);
    NSProcessInfo::processInfo()->setOperatingSystemVersion({configuration.osMajorVersion, 0, 0});
    if (objc::classOf<SBLockScreenManager>()) {
      SBLockScreenManager::sharedInstance()->setLockScreenVisible(configuration.lockScreenVisible);
    }
  });
}
