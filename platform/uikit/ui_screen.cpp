#include "platform/uikit/ui_screen.h"

UIScreen* UIScreen::mainScreen() {
  static const Ref<UIScreen> shared = objc::make<UIScreen>();
  return shared.get();
}
