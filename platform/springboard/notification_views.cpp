#include "platform/springboard/notification_views.h"

#include <algorithm>
#include <cctype>

#include "platform/springboard/internal/class_definitions.h"

Ref<NCNotificationRequest> NCNotificationRequest::requestWithSection(std::string bundleIdentifier,
                                                                     std::string title,
                                                                     std::string message) {
  auto request = objc::make<NCNotificationRequest>();
  request->section_ = NSString::from(std::move(bundleIdentifier));
  request->title_ = NSString::from(std::move(title));
  request->message_ = NSString::from(std::move(message));
  return request;
}

NCNotificationContentView::NCNotificationContentView()
    : title_(objc::make<UILabel>()), message_(objc::make<UITextView>()) {
  title_->setTextFont({.size = 15, .weight = UIFontWeightSemibold});
  message_->canvas()->setFontSize(15);
  addSubview(title_);
  addSubview(message_);
}

void NCNotificationContentView::showRequest(const NCNotificationRequest* request) {
  title_->setText(request ? request->title() : nullptr);
  message_->setText(request ? request->message() : nullptr);
}

void NCNotificationShortLookView::setNotificationContentView(
    Ref<NCNotificationContentView> content) {
  if (content_) content_->removeFromSuperview();
  content_ = std::move(content);
  if (content_) addSubview(content_);
}

NCNotificationShortLookView* NCNotificationShortLookViewController::viewForPreview() {
  return dynamic_cast<NCNotificationShortLookView*>(view());
}

UIView* NCNotificationShortLookViewController::expandedContentContainer() {
  if (!expandedContentContainer_) expandedContentContainer_ = objc::make<UIView>();
  return expandedContentContainer_.get();
}

namespace {

constexpr double kActionHeight = 44;

Ref<UIView> plainView() {
  return objc::make<UIView>();
}

template <class T = UIView>
Ref<T> systemView(const char* className) {
  objc::Class* cls = objc_getClass(className);
  return cls ? objc::createInstance<T>(cls) : objc::make<T>();
}

// The notification's own actions, one under the other with a vibrant separator between them.
Ref<UIView> actionGroup(const std::vector<std::string>& titles) {
  auto group = plainView();
  for (size_t i = 0; i < titles.size(); ++i) {
    if (i > 0) {
      auto separator = systemView("_UIInterfaceActionVibrantSeparatorView");
      separator->setBackgroundColor(
          UIColor::dynamicColor(Color::rgb(0, 0, 0, 0.2), Color::rgb(1, 1, 1, 0.2)));
      group->addSubview(separator);
    }
    auto action = objc::make<UILabel>();
    action->setText(NSString::from(titles[i]));
    action->setTextAlignment(NSTextAlignmentCenter);
    group->addSubview(action);
  }
  return group;
}

void layOutActionGroup(UIView* group) {
  double y = 0;
  for (const auto& part : group->subviews()) {
    if (dynamic_cast<UILabel*>(part.get())) {
      part->setFrame(CGRectMake(0, y, group->bounds().width(), kActionHeight));
      y += kActionHeight;
    } else {
      part->setFrame(CGRectMake(0, y, group->bounds().width(), part->frame().size.height));
    }
  }
}

// The platter of an expanded notification: a scroll view over a content view that holds the
// header (icon, app name), the notification's own content and room for an app's custom view.
Ref<UIView> makePlatter(objc::Class* platterClass, const ExpandedPlatterViewController* owner) {
  auto platter = objc::createInstance<UIView>(platterClass);
  platter->setBackgroundColor(UIColor::dynamicColor(Color::rgb(0.97, 0.97, 0.97, 0.92),
                                                    Color::rgb(0.16, 0.16, 0.17, 0.92)));
  platter->layer()->setCornerRadius(20);
  platter->setClipsToBounds(true);
  auto scroll = objc::make<UIScrollView>();
  auto content = plainView();
  auto header = plainView(), main = plainView(), custom = plainView();
  auto icon = objc::make<UIImageView>();
  icon->setImage(owner->icon());
  icon->setFrame(CGRectMake(16, 12, 20, 20));
  icon->layer()->setCornerRadius(4.5);
  icon->setClipsToBounds(true);
  auto appName = objc::make<UILabel>();
  const NCNotificationRequest* request = owner->notificationRequest();
  std::string name = request && request->sectionIdentifier()
                         ? request->sectionIdentifier()->string()
                         : std::string();
  name = name.substr(name.rfind('.') + 1);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  appName->setText(NSString::from(name));
  appName->setFontSize(13);
  // The system's secondary label colour: grey on the light material, pale on the dark one.
  appName->setTextColor(
      UIColor::dynamicColor(Color::rgb(0.24, 0.24, 0.26, 0.6), Color::rgb(0.92, 0.92, 0.96, 0.6)));
  appName->setFrame(CGRectMake(44, 12, 200, 20));
  header->addSubview(icon);
  header->addSubview(appName);
  auto body =
      objc::createInstance<NCNotificationContentView>(objc_getClass("NCNotificationContentView"));
  body->showRequest(request);
  main->addSubview(body);
  content->addSubview(header);
  content->addSubview(main);
  content->addSubview(custom);
  scroll->addSubview(content);
  platter->addSubview(scroll);
  // The actions' background: their material, which fills its superview, under the actions
  // only (the system's background view is the material itself).
  auto actionsBackground = plainView();
  actionsBackground->addSubview(systemView("MTMaterialView"));
  platter->addSubview(actionsBackground);
  platter->addSubview(actionGroup({"Reply", "Mark as Read"}));
  return platter;
}

// The scroll view's content: the header, the notification's content, then room for an app's
// custom view.
void layOutScrollContent(UIView* scroll, const CGRect& bounds) {
  scroll->setFrame(bounds);
  for (const auto& content : scroll->subviews()) {
    content->setFrame(bounds);
    const double heights[] = {44, std::max(0.0, bounds.height() - 44), 0};
    double y = 0;
    const auto& parts = content->subviews();
    for (size_t i = 0; i < parts.size(); ++i) {
      const double height = i < 3 ? heights[i] : 0;
      parts[i]->setFrame(CGRectMake(0, y, bounds.width(), height));
      y += height;
      for (const auto& inner : parts[i]->subviews()) {
        if (dynamic_cast<NCNotificationContentView*>(inner.get())) {
          inner->setFrame(CGRectMake(16, 0, bounds.width() - 32, height));
        }
      }
    }
  }
}

// The host's layout of the platter, redone on every pass: the scrolling content above, the
// actions on their material below.
void layOutPlatter(UIView* platter) {
  const auto& parts = platter->subviews();
  const CGRect whole = platter->bounds();
  if (parts.size() < 3) {
    for (const auto& part : parts)
      layOutScrollContent(part.get(), whole);
    return;
  }
  const double actionsHeight = std::min(2 * kActionHeight, whole.height());
  const CGRect actions =
      CGRectMake(0, whole.height() - actionsHeight, whole.width(), actionsHeight);
  layOutScrollContent(parts[0].get(), CGRectMake(0, 0, whole.width(), actions.minY()));
  parts[1]->setFrame(actions);
  parts[2]->setFrame(actions);
  layOutActionGroup(parts[2].get());
}

void defineContentClasses() {
  objc::defineClass<NCNotificationRequest, NSObject>("NCNotificationRequest");
  objc::addMethod(
      objc::classOf<NCNotificationRequest>(), "sectionIdentifier",
      [](NCNotificationRequest* self, SEL) { return Ref<NSString>(self->sectionIdentifier()); });
  objc::Class* content =
      objc::defineClass<NCNotificationContentView, UIView>("NCNotificationContentView");
  objc::addMethod(content, "prominentIcon", [](NCNotificationContentView* self, SEL) {
    return Ref<UIImage>(self->prominentIcon());
  });
  objc::addMethod(content, "subordinateIcon", [](NCNotificationContentView* self, SEL) {
    return Ref<UIImage>(self->subordinateIcon());
  });
  objc::addMethod(content, "layoutSubviews", [](NCNotificationContentView* self, SEL) {
    const double width = self->bounds().width();
    self->titleLabel()->setFrame(CGRectMake(0, 0, width, 20));
    self->messageView()->setFrame(
        CGRectMake(0, 22, width, std::max(20.0, self->bounds().height() - 22)));
  });
  objc::addMethod(
      objc::defineClass<NCNotificationShortLookView, UIView>("NCNotificationShortLookView"),
      "notificationContentView", [](NCNotificationShortLookView* self, SEL) {
        return Ref<NCNotificationContentView>(self->notificationContentView());
      });
}

}  // namespace

namespace springboard_classes {

void defineNotificationClasses(const SystemHas& systemHas) {
  defineContentClasses();
  if (systemHas("NCNotificationShortLookViewController")) {
    objc::Class* shortLook =
        objc::defineClass<NCNotificationShortLookViewController, UIViewController>(
            "NCNotificationShortLookViewController");
    static objc::Class* shortLookClass = shortLook;
    objc::addMethod(shortLook, "loadView", [](NCNotificationShortLookViewController* self, SEL) {
      auto banner = objc::make<NCNotificationShortLookView>();
      auto content = objc::make<NCNotificationContentView>();
      content->showRequest(self->notificationRequest());
      banner->setNotificationContentView(content);
      self->setView(banner);
    });
    objc::addMethod(shortLook, "notificationRequest",
                    [](NCNotificationShortLookViewController* self, SEL) {
                      return Ref<NCNotificationRequest>(self->notificationRequest());
                    });
    objc::addMethod(shortLook, "viewForPreview",
                    [](NCNotificationShortLookViewController* self, SEL) {
                      return Ref<NCNotificationShortLookView>(self->viewForPreview());
                    });
    objc::addMethod(shortLook, "viewDidAppear:",
                    [](NCNotificationShortLookViewController* self, SEL cmd, bool animated) {
                      objc::msgSendSuper<void>(shortLookClass, self, cmd, animated);
                    });
    objc::addMethod(shortLook, "containerViewForExpandedContent",
                    [](NCNotificationShortLookViewController* self, SEL) {
                      return Ref<UIView>(self->expandedContentContainer());
                    });
  }
  objc::Class* platterView = nullptr;
  if (systemHas("NCExpandedPlatterView")) {
    platterView = objc_allocateClassPair(objc_getClass("UIView"), "NCExpandedPlatterView", 0);
    objc_registerClassPair(platterView);
    objc::addMethod(platterView, "layoutSubviews", [](UIView* self, SEL) { layOutPlatter(self); });
  }
  if (systemHas("NCExpandedPlatterViewController")) {
    objc::Class* controller = objc::defineClass<ExpandedPlatterViewController, UIViewController>(
        "NCExpandedPlatterViewController");
    static objc::Class* viewClass = platterView ? platterView : objc_getClass("UIView");
    objc::addMethod(controller, "loadView", [](ExpandedPlatterViewController* self, SEL) {
      self->setView(makePlatter(viewClass, self));
    });
    objc::addMethod(controller, "notificationRequest",
                    [](ExpandedPlatterViewController* self, SEL) {
                      return Ref<NCNotificationRequest>(self->notificationRequest());
                    });
    // The platter fills the view it is shown in.
    objc::addMethod(controller, "viewWillLayoutSubviews",
                    [](ExpandedPlatterViewController* self, SEL) {
                      UIView* view = self->view();
                      if (UIView* parent = view->superview()) view->setFrame(parent->bounds());
                    });
  }
}

}  // namespace springboard_classes
