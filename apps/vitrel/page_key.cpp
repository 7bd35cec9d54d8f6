#include "apps/vitrel/page_key.h"

#include <cstdint>

#include "platform/foundation/ns_number.h"
#include "platform/preferences/host/page_snapshot.h"
#include "platform/runtime/associated_objects.h"

namespace {

const char kSerialKey = 0;

uint64_t serialOf(HostedViewController* controller) {
  static uint64_t lastSerial = 0;
  Ref<NSObject> serial = objc_getAssociatedObject(controller, &kSerialKey);
  if (auto* number = dynamic_cast<NSNumber*>(serial.get())) return number->unsignedLongLongValue();
  const uint64_t next = ++lastSerial;
  objc_setAssociatedObject(controller, &kSerialKey,
                           NSNumber::numberWithUnsignedLongLong(next).get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  return next;
}

}  // namespace

std::string pageKey(const SettingsHost& host) {
  std::string key;
  HostedViewController* top = nullptr;
  for (const Ref<HostedViewController>& controller :
       host.navigationController()->viewControllers()) {
    if (top) key += '.';
    top = controller.get();
    key += std::to_string(serialOf(top));
  }
  for (HostedViewController* presented = top ? top->presentedViewController() : nullptr; presented;
       presented = presented->presentedViewController()) {
    key += '+' + std::to_string(serialOf(presented));
  }
  return key;
}

bool pageShowsView(const SettingsHost& host, const std::string& viewId) {
  HostedViewController* top = host.navigationController()->topViewController();
  if (!top) return false;
  return page_snapshot::findView(top->view(), viewId) ||
         page_snapshot::findView(top->navigationItem()->titleView(), viewId);
}
