// The colorizer's styling operations: each paints one part of a notification view.

#include "platform/foundation/value_conversion.h"
#include "source/colorizer/tavrel2_colorizer.h"

void Tavrel2Colorizer::colorBackground(UIView* view) {
  if (!view) return;
  view->setBackgroundColor(chosenColor("background", view->frame()));
}

void Tavrel2Colorizer::setBackgroundBlur(UIView* view) {
  if (!view) return;
  bool hidden = boolValueOf(setting("backgroundBlurHidden").get());
  view->setAlpha(hidden ? 0 : 1);
  view->setHidden(hidden);
}

void Tavrel2Colorizer::colorBorder(UIView* view) {
  if (!view) return;
  Ref<UIColor> color = chosenColor("border", view->frame(), true);
  view->layer()->setBorderWidth(color ? floatValueOf(setting("borderWidth").get()) : 0);
  view->layer()->setBorderColor(cgColorOf(color.get()));
}

void Tavrel2Colorizer::colorShadow(UIView* view) {
  if (!view) return;
  Ref<UIColor> color = chosenColor("shadow", view->frame());
  CALayer* layer = view->layer();
  layer->setShadowRadius(color ? floatValueOf(setting("shadowWidth").get()) : 0);
  layer->setShadowOffset({0, 0});
  layer->setShadowColor(cgColorOf(color.get()));
  layer->setShadowOpacity(1.0f);
}

void Tavrel2Colorizer::colorLine(UIView* view, const CGRect& frame) {
  if (!view || view->layer()->sublayers().size() < 2) return;
  std::string position = stringSetting("linePosition");
  auto is = [&](std::initializer_list<const char*> names) {
    for (const char* name : names) {
      if (position == name) return true;
    }
    return false;
  };
  const double width = frame.size.width, height = frame.size.height;
  const double line = floatValueOf(setting("lineWidth").get());
  CGRect first = CGRectMake(is({"right", "leftRight"}) ? width - line : 0,
                            is({"bottom", "topBottom"}) ? height - line : 0,
                            is({"top", "bottom", "topBottom"}) ? width : line,
                            is({"left", "right", "leftRight"}) ? height : line);
  CGRect second = is({"topBottom", "leftRight"})
                      ? CGRectMake(0, 0, first.size.width, first.size.height)
                      : CGRectZero;
  const auto& sublayers = view->layer()->sublayers();
  sublayers[0]->setFrame(first);
  sublayers[1]->setFrame(second);
  Ref<UIColor> color = chosenColor("line", first, true);
  sublayers[0]->setBackgroundColor(cgColorOf(color.get()));
  sublayers[1]->setBackgroundColor(cgColorOf(color.get()));
}

void Tavrel2Colorizer::colorText(UILabel* label, std::string_view part, double fallbackAlpha) {
  CGRect frame = label->frame();
  CGRect fitting{frame.origin, label->sizeThatFits(frame.size)};
  Ref<UIColor> color = chosenColor(part, part == "date" ? frame : fitting);
  label->setTextColor(color ? color
                            : UIColor::labelColor()->colorWithAlphaComponent(fallbackAlpha));
}

void Tavrel2Colorizer::colorTitle(UILabel* label) {
  if (label) colorText(label, "title", 0.9);
}

void Tavrel2Colorizer::colorMessage(UILabel* label) {
  if (label) colorText(label, "message", 0.9);
}

void Tavrel2Colorizer::colorDate(UILabel* label) {
  if (!label) return;
  label->layer()->setFilters({});
  colorText(label, "date", 0.5);
}

void Tavrel2Colorizer::setAppIconCornerRadius(UIView* view) {
  if (!view) return;
  view->setClipsToBounds(true);
  bool circle = boolValueOf(setting("appIconCornerRadiusCircle").get());
  view->layer()->setCornerRadius(circle ? view->frame().size.height / 2 : 0);
}

void Tavrel2Colorizer::toggleAppIconVisibility(UIView* icon, UIView* title, UIView* message,
                                               UIView* footer, bool alwaysUpdate) {
  if (!icon) return;
  const double shift = icon->frame().size.width;
  auto move = [&](double dx, double dw) {
    for (UIView* text : {title, message, footer}) {
      if (!text) continue;
      CGRect frame = text->frame();
      frame.origin.x += dx;
      frame.size.width += dw;
      text->setFrame(frame);
    }
  };
  bool hideIcon = boolValueOf(setting("appIconHidden").get());
  if (hideIcon && (!icon->isHidden() || alwaysUpdate)) {
    icon->setAlpha(0);
    icon->setHidden(true);
    move(-shift - 8, shift);
  } else if (!hideIcon && icon->isHidden()) {
    icon->setAlpha(1);
    icon->setHidden(false);
    move(shift + 8, -shift);
  }
}

void Tavrel2Colorizer::setAppearance(UIView* view) {
  if (!view) return;
  std::string appearance = stringSetting("appearance");
  view->setOverrideUserInterfaceStyle(appearance == "dark"    ? UIUserInterfaceStyleDark
                                      : appearance == "light" ? UIUserInterfaceStyleLight
                                                              : UIUserInterfaceStyleUnspecified);
}
