#include "platform/preferences/onboarding/ob_welcome_controller.h"

void defineWelcomeControllerClass() {
  objc::Class* welcome = defineHostedControllerClass<OBWelcomeController, UIViewController>(
      "OBWelcomeController", objc_getClass("UIViewController"));
  objc::addMethod(
      welcome, "initWithTitle:detailText:icon:",
      [](OBWelcomeController* self, SEL, NSString* title, NSString* detail, UIImage* icon) {
        self->setTitle(title);
        self->detailText_ = detail;
        self->icon_ = icon;
        return Ref<OBWelcomeController>(self);
      });
  objc::addMethod(
      welcome, "addBulletedListItemWithTitle:description:image:",
      [](OBWelcomeController* self, SEL, NSString* title, NSString* description, UIImage* image) {
        self->items_.push_back({title, description, image});
      });

  objc::Class* backdropSettings =
      objc::defineClass<UIBackdropViewSettings, NSObject>("_UIBackdropViewSettings");
  objc::addClassMethod(backdropSettings, "settingsForStyle:", [](objc::Class*, SEL, long style) {
    auto made = objc::make<UIBackdropViewSettings>();
    made->style_ = style;
    return made;
  });
  objc::Class* backdrop = objc::defineClass<UIBackdropView, UIView>("_UIBackdropView");
  objc::addMethod(backdrop, "initWithFrame:autosizesToFitSuperview:settings:",
                  [](UIBackdropView* self, SEL, const CGRect& frame, bool autosizes,
                     UIBackdropViewSettings* settings) {
                    self->setFrame(frame);
                    self->autosizes_ = autosizes;
                    self->settings_ = settings;
                    return Ref<UIBackdropView>(self);
                  });
  objc::addMethod(backdrop, "layoutSubviews", [](UIBackdropView* self, SEL) {
    if (self->autosizesToFitSuperview() && self->superview()) {
      self->setFrame(self->superview()->bounds());
    }
  });
}
