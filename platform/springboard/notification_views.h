#pragma once

#include "platform/uikit/ui_view_controller.h"

// The controller of a notification's short look (the banner on the lock screen or in the
// notification centre). When long-pressed it presents its expanded content in the view
// `containerViewForExpandedContent` answers.
class NCNotificationShortLookViewController : public UIViewController {
 public:
  UIView* expandedContentContainer();

 private:
  Ref<UIView> expandedContentContainer_;
};
