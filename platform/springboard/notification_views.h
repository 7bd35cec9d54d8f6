#pragma once

#include <string>

#include "platform/graphics/ui_image.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_scroll_view.h"
#include "platform/uikit/ui_text_view.h"
#include "platform/uikit/ui_view_controller.h"

// A notification as the system hands it to its views: the posting app and what it says.
class NCNotificationRequest : public NSObject {
 public:
  static Ref<NCNotificationRequest> requestWithSection(std::string bundleIdentifier,
                                                       std::string title, std::string message);
  // The bundle identifier of the app that posted it.
  NSString* sectionIdentifier() const { return section_.get(); }
  NSString* title() const { return title_.get(); }
  NSString* message() const { return message_.get(); }

 private:
  Ref<NSString> section_, title_, message_;
};

// A notification's content: the app's icons, its title and its message (a text view, whose
// canvas draws the text). `prominentIcon` and `subordinateIcon` are runtime methods.
class NCNotificationContentView : public UIView {
 public:
  NCNotificationContentView();
  void showRequest(const NCNotificationRequest* request);

  UIImage* prominentIcon() const { return prominentIcon_.get(); }
  void setProminentIcon(Ref<UIImage> icon) { prominentIcon_ = std::move(icon); }
  UIImage* subordinateIcon() const { return subordinateIcon_.get(); }
  void setSubordinateIcon(Ref<UIImage> icon) { subordinateIcon_ = std::move(icon); }
  UILabel* titleLabel() const { return title_.get(); }
  UITextView* messageView() const { return message_.get(); }

 private:
  Ref<UIImage> prominentIcon_, subordinateIcon_;
  Ref<UILabel> title_;
  Ref<UITextView> message_;
};

// The notification's banner; key-value coding reads its "notificationContentView".
class NCNotificationShortLookView : public UIView {
 public:
  NCNotificationContentView* notificationContentView() const { return content_.get(); }
  void setNotificationContentView(Ref<NCNotificationContentView> content);

 private:
  Ref<NCNotificationContentView> content_;
};

// The controller of a notification's short look (its banner). Long-pressed, it presents its
// expanded content in the view `containerViewForExpandedContent` answers.
class NCNotificationShortLookViewController : public UIViewController {
 public:
  NCNotificationRequest* notificationRequest() const { return request_.get(); }
  void setNotificationRequest(Ref<NCNotificationRequest> request) { request_ = std::move(request); }
  // The banner (this controller's view), made on first use.
  NCNotificationShortLookView* viewForPreview();
  UIView* expandedContentContainer();

 private:
  Ref<NCNotificationRequest> request_;
  Ref<UIView> expandedContentContainer_;
};

// The controller of the expanded notification; its view is the platter
// ("NCExpandedPlatterView"): a scroll view whose content holds a header, the notification's
// content and room for an app's custom content.
class ExpandedPlatterViewController : public UIViewController {
 public:
  NCNotificationRequest* notificationRequest() const { return request_.get(); }
  void setNotificationRequest(Ref<NCNotificationRequest> request) { request_ = std::move(request); }
  UIImage* icon() const { return icon_.get(); }
  void setIcon(Ref<UIImage> icon) { icon_ = std::move(icon); }

 private:
  Ref<NCNotificationRequest> request_;
  Ref<UIImage> icon_;
};
