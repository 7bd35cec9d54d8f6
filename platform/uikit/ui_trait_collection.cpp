#include "platform/uikit/ui_trait_collection.h"

#include <atomic>

namespace {
std::atomic<UIUserInterfaceStyle> systemStyle{UIUserInterfaceStyleLight};
}  // namespace

Ref<UITraitCollection> UITraitCollection::traitCollectionWithUserInterfaceStyle(
    UIUserInterfaceStyle style) {
  auto make = [](UIUserInterfaceStyle s) {
    auto traits = objc::make<UITraitCollection>();
    traits->style_ = s;
    return traits;
  };
  static const Ref<UITraitCollection> shared[] = {make(UIUserInterfaceStyleUnspecified),
                                                  make(UIUserInterfaceStyleLight),
                                                  make(UIUserInterfaceStyleDark)};
  return style >= 0 && style <= 2 ? shared[style] : make(style);
}

UIUserInterfaceStyle UITraitCollection::systemUserInterfaceStyle() {
  return systemStyle.load();
}

void UITraitCollection::setSystemUserInterfaceStyle(UIUserInterfaceStyle style) {
  systemStyle.store(style);
}
