#include "source/notification/notification_styling.h"

#include "platform/foundation/key_value_coding.h"
#include "source/colorizer/tavrel2_colorizer.h"
#include "source/colors/image_quenby.h"
#include "source/menu/menu_state.h"
#include "source/settings/settings.h"

namespace notification_styling {
namespace {

using objc::msgSend;
using objc::sel;

const char kTavrelViewKey = 0;

// The app's icon in the notification's content view: the prominent one, else the subordinate.
Ref<UIImage> notificationIcon(NCNotificationShortLookViewController* controller) {
  Ref<NSObject> preview = msgSend<Ref<NSObject>>(controller, sel("viewForPreview"));
  // Only a preview view that has the key is asked for it: an unknown key would raise.
  if (!objc::respondsTo(preview.get(), sel("notificationContentView"))) return nullptr;
  Ref<NSObject> content = valueForKey(preview.get(), "notificationContentView");
  if (!objc::respondsTo(content.get(), sel("prominentIcon"))) return nullptr;
  Ref<UIImage> icon = msgSend<Ref<UIImage>>(content, sel("prominentIcon"));
  if (!icon && objc::respondsTo(content.get(), sel("subordinateIcon"))) {
    icon = msgSend<Ref<UIImage>>(content, sel("subordinateIcon"));
  }
  return icon;
}

// The colour of the notification's app, for its menu and its expanded platter.
void captureNotificationColor(NCNotificationShortLookViewController* controller) {
  Ref<NSObject> request = msgSend<Ref<NSObject>>(controller, sel("notificationRequest"));
  auto colorizer = Tavrel2Colorizer::initWithIdentifier(
      msgSend<Ref<NSString>>(request, sel("sectionIdentifier")));
  Ref<UIImage> icon = notificationIcon(controller);
  const Ref<NSString>& method = settings().colorMethodTavrel;
  if (method && method->string() == "colorMethodTavrel") {
    colorizer.setAppIcon(icon);
    menuState().color2 = colorizer.iconColor();
  } else {
    menuState().color2 = icon ? mirraDominantColor(icon.get()) : nullptr;
  }
}

}  // namespace

hook_boundary::HostMethod hostViewDidAppear;
hook_boundary::HostMethod hostContainerViewForExpandedContent;
hook_boundary::HostMethod hostPlatterLayoutSubviews;
hook_boundary::HostMethod hostViewWillLayoutSubviews;

Ref<UIView> tavrelView(UIViewController* self, SEL) {
  Ref<NSObject> view = objc_getAssociatedObject(self, &kTavrelViewKey);
  return Ref<UIView>(dynamic_cast<UIView*>(view.get()));
}

void setTavrelView(UIViewController* self, SEL, UIView* view) {
  objc_setAssociatedObject(self, &kTavrelViewKey, view, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

void viewDidAppear(NCNotificationShortLookViewController* self, SEL cmd, bool animated) {
  hostViewDidAppear.call<void>(self, cmd, animated);
  if (settings().enabled) captureNotificationColor(self);
}

Ref<UIView> containerViewForExpandedContent(NCNotificationShortLookViewController* self, SEL cmd) {
  if (settings().enabled) {
    menuState().isSBContextMenu = false;
    captureNotificationColor(self);
  }
  return hostContainerViewForExpandedContent.call<Ref<UIView>>(self, cmd);
}

// Paints the platter's third level: its scroll views' views' subviews.
void platterLayoutSubviews(UIView* self, SEL cmd) {
  hostPlatterLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  objc::Class* scrollView = objc_getClass("UIScrollView");
  objc::Class* view = objc_getClass("UIView");
  for (const auto& a : self->subviews()) {
    if (!objc::isKindOf(a.get(), scrollView)) continue;
    for (const auto& b : a->subviews()) {
      if (!objc::isKindOf(b.get(), view)) continue;
      for (const auto& c : b->subviews()) {
        if (settings().colorExpanded3DBackground) c->setBackgroundColor(menuState().color2);
      }
    }
  }
}

void viewWillLayoutSubviews(UIViewController* self, SEL cmd) {
  hostViewWillLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  msgSend<void>(self, sel("recursivelyChangeBackgroundForLabelsInView:"),
                msgSend<Ref<UIView>>(self, sel("view")));
}

void recursivelyChangeBackgroundForLabelsInView(UIViewController* self, SEL cmd, UIView* view) {
  if (!view) return;
  objc::Class* label = objc_getClass("UILabel");
  objc::Class* canvas = objc_getClass("_UITextViewCanvasView");
  // The list as it is now: recolouring never adds or removes views, but a copy costs little.
  const std::vector<Ref<UIView>> subviews = view->subviews();
  for (const auto& subview : subviews) {
    if (objc::isKindOf(subview.get(), label) && settings().dynamicHeaderTitleLSColoring) {
      msgSend<void>(subview, sel("setTextColor:"), menuState().color2);
    }
    if (objc::isKindOf(subview.get(), canvas) && settings().dynamicMessageLSColoring) {
      subview->layer()->setContentsMultiplyColor(cgColorOf(menuState().color2.get()));
    }
    recursivelyChangeBackgroundForLabelsInView(self, cmd, subview.get());
  }
}

}  // namespace notification_styling
