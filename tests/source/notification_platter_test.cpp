// An expanded notification painted by the injected library, when the next notification's app
// has no colour at all.
#include <gtest/gtest.h>

#include "platform/springboard/notification_views.h"
#include "platform/uikit/ui_label.h"
#include "support/home_screen_fixture.h"
#include "support/view_search.h"

namespace {

using objc::msgSend;
using objc::sel;
using view_search::viewsOf;

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps";

// The platter's third level: scroll view → view → these, the views its background goes to.
std::vector<UIView*> paintedLevel(UIView* platter) {
  std::vector<UIView*> painted;
  for (const auto& scroll : platter->subviews()) {
    if (!objc::isKindOf(scroll.get(), objc_getClass("UIScrollView"))) continue;
    for (const auto& level2 : scroll->subviews()) {
      for (const auto& level3 : level2->subviews())
        painted.push_back(level3.get());
    }
  }
  return painted;
}

using NotificationPlatterTest = HomeScreenFixture;

}  // namespace

TEST_F(NotificationPlatterTest, ANotificationWithoutAColourClearsWhatThePlatterWasPainted) {
  useSettings({{"colorExpanded3DBackground", on()},
               {"dynamicHeaderTitleLSColoring", on()},
               {"dynamicMessageLSColoring", on()}});
  home->pressNotification(kMail);
  ASSERT_TRUE(state().color2);
  std::vector<UIView*> platters = viewsOf(home->window(), "NCExpandedPlatterView");
  ASSERT_FALSE(platters.empty());
  const std::vector<UIView*> painted = paintedLevel(platters.back());
  const std::vector<UIView*> labels = viewsOf(platters.back(), "UILabel");
  const std::vector<UIView*> canvases = viewsOf(platters.back(), "_UITextViewCanvasView");
  ASSERT_FALSE(painted.empty());
  ASSERT_FALSE(labels.empty());
  ASSERT_FALSE(canvases.empty());
  for (UIView* view : painted)
    ASSERT_EQ(view->backgroundColor(), state().color2);

  // A notification whose content shows no icon appears, then the platter is laid out again.
  auto iconless = objc::make<NCNotificationShortLookViewController>();
  iconless->setNotificationRequest(NCNotificationRequest::requestWithSection(kMaps, "Maps", "Hi"));
  msgSend<void>(iconless, sel("viewDidAppear:"), true);
  ASSERT_FALSE(state().color2);
  home->layoutPass();
  for (UIView* view : painted)
    EXPECT_FALSE(view->backgroundColor()) << view->descriptionText();
  const Ref<UIColor> hostsLabelColour = UIColor::labelColor();
  for (UIView* view : labels) {
    const Ref<UIColor>& shown = dynamic_cast<UILabel*>(view)->textColor();
    EXPECT_EQ(shown->resolvedColor(false), hostsLabelColour->resolvedColor(false));
    EXPECT_EQ(shown->resolvedColor(true), hostsLabelColour->resolvedColor(true));
  }
  for (UIView* canvas : canvases)
    EXPECT_FALSE(canvas->layer()->contentsMultiplyColor());
}
