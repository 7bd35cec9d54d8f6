#include "platform/springboard/notification_banner.h"

namespace {

// Under the status bar, inset as the system insets banners.
constexpr double kTop = 50, kSideMargin = 8, kHeight = 76, kOpacity = 0.9;

}  // namespace

NotificationBanner::NotificationBanner(const CGRect& screen) : layer_(objc::make<UIView>()) {
  // No larger than the banner: touches beside it reach the home screen.
  layer_->setFrame(CGRectMake(kSideMargin, kTop, screen.width() - 2 * kSideMargin, kHeight));
}

NCNotificationShortLookViewController* NotificationBanner::show(
    const AppCatalogue& catalogue, const PostedNotification& notification, UIView* window) {
  hide();
  shortLook_ = makeShortLook(catalogue, notification, layer_->bounds(), kOpacity);
  layer_->addSubview(Ref<UIView>(shortLook_->view()));
  window->addSubview(layer_);
  return shortLook_.get();
}

void NotificationBanner::hide() {
  if (!shortLook_) return;
  shortLook_->view()->removeFromSuperview();
  shortLook_ = nullptr;
  layer_->removeFromSuperview();
}

NCNotificationShortLookViewController* NotificationBanner::holding(const UIView* view) const {
  return shortLook_ && view && view->isDescendantOfView(layer_.get()) ? shortLook_.get() : nullptr;
}
