#pragma once

#include <string>
#include <string_view>

#include "platform/graphics/ui_image.h"
#include "platform/uikit/ui_label.h"
#include "source/colorizer/tavrel2_prefs_manager.h"

// `Tavrel2` names the colorizer's classes, domain and notifications, shared with other
// processes: see "Names that cannot change" in the README.

// One app's colours for notification views: its icon's colour, and the styling operations that
// paint a notification's parts from the app's settings (per-app values first). Short-lived:
// made for one capture or one styling pass.
class Tavrel2Colorizer {
 public:
  // For the app of that bundle identifier, reading the shared settings.
  static Tavrel2Colorizer initWithIdentifier(Ref<NSString> identifier);

  NSString* identifier() const { return identifier_.get(); }
  void setIdentifier(Ref<NSString> identifier) { identifier_ = std::move(identifier); }
  Tavrel2PrefsManager* manager() const { return manager_.get(); }
  void setManager(Ref<Tavrel2PrefsManager> manager) { manager_ = std::move(manager); }
  const UIImage* appIcon() const { return appIcon_.get(); }
  void setAppIcon(Ref<UIImage> icon) { appIcon_ = std::move(icon); }

  // The app icon's most frequent bright colour that is not near white (the palette cube with
  // flags 33, count 1), computed on the first read and kept; nil when there is none, in which
  // case the next read computes again. A later setAppIcon: does not change a kept colour.
  Ref<UIColor> iconColor();
  void setIconColor(Ref<UIColor> color) { iconColor_ = std::move(color); }

  // The styling operations. Each reads the app's settings now and paints one part; a part
  // that is disabled, or has no colour, gets what it would have set cleared.
  void colorBackground(UIView* view);
  void setBackgroundBlur(UIView* view);
  void colorBorder(UIView* view);
  void colorShadow(UIView* view);
  // The accent line: the first two sublayers of the view's layer, laid out on the edges that
  // linePosition names within frame. Does nothing to a layer with fewer than two sublayers.
  void colorLine(UIView* view, const CGRect& frame);
  void colorTitle(UILabel* label);
  void colorMessage(UILabel* label);
  void colorDate(UILabel* label);
  void setAppIconCornerRadius(UIView* view);
  void toggleAppIconVisibility(UIView* icon, UIView* title, UIView* message, UIView* footer,
                               bool alwaysUpdate);
  void setAppearance(UIView* view);

 private:
  Ref<NSObject> setting(std::string_view key) const;
  std::string stringSetting(std::string_view key) const;
  // The colour a part's settings choose (prefix P: P + Enabled, Type, Color, Gradient1/2,
  // GradientDirection, IconAlpha); a gradient spans frame.
  Ref<UIColor> chosenColor(std::string_view part, const CGRect& frame, bool flipY = false);
  void colorText(UILabel* label, std::string_view part, double fallbackAlpha);

  Ref<NSString> identifier_;
  Ref<Tavrel2PrefsManager> manager_;
  Ref<UIImage> appIcon_;
  Ref<UIColor> iconColor_;
};
