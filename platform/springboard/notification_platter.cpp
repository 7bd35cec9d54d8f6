#include "platform/springboard/notification_platter.h"

#include "platform/uikit/ui_screen.h"

namespace {

// The platter's background: the home screen's material where the system has it, thicker than
// the material's default so the text reads over what lies beneath.
Ref<UIView> platterBackground(double opacity) {
  objc::Class* material = objc_getClass("MTMaterialView");
  Ref<UIView> background = material ? objc::createInstance<UIView>(material) : objc::make<UIView>();
  background->setBackgroundColor(
      UIColor::dynamicColor(Color::rgb(1, 1, 1, opacity), Color::rgb(0.11, 0.11, 0.12, opacity)));
  return background;
}

}  // namespace

Ref<NCNotificationShortLookViewController> makeShortLook(const AppCatalogue& catalogue,
                                                         const PostedNotification& notification,
                                                         const CGRect& frame, double opacity) {
  auto shortLook = objc::make<NCNotificationShortLookViewController>();
  shortLook->setNotificationRequest(NCNotificationRequest::requestWithSection(
      notification.bundleIdentifier, notification.title, notification.message));
  NCNotificationShortLookView* platter = shortLook->viewForPreview();
  platter->setFrame(frame);
  platter->layer()->setCornerRadius(20);
  platter->setClipsToBounds(true);
  Ref<UIView> background = platterBackground(opacity);
  background->setFrame(platter->bounds());
  platter->insertSubview(background, 0);
  Ref<UIImage> icon =
      catalogue.iconImage(notification.bundleIdentifier, UIScreen::mainScreen()->scale());
  auto iconView = objc::make<UIImageView>();
  iconView->setImage(icon);
  iconView->setFrame(CGRectMake(14, (frame.height() - 38) / 2, 38, 38));
  platter->insertSubview(iconView, 1);
  platter->notificationContentView()->setProminentIcon(std::move(icon));
  platter->notificationContentView()->setFrame(
      CGRectMake(64, 14, frame.width() - 78, frame.height() - 28));
  return shortLook;
}
