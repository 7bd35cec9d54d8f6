#include "source/colorizer/colorizer_class.h"

#include "source/colorizer/tavrel2_colorizer.h"
#include "source/colors/runtime_classes.h"

namespace {

// A `Tavrel2Colorizer` instance: the colorizer it holds, empty until `initWithIdentifier:`.
class ColorizerObject final : public NSObject {
 public:
  Tavrel2Colorizer value;
};

using Colorizer = ColorizerObject;

void addInitialiserAndProperties(objc::Class* cls) {
  objc::addMethod(cls, "initWithIdentifier:", [](Colorizer* self, SEL, NSString* identifier) {
    self->value = Tavrel2Colorizer::initWithIdentifier(Ref<NSString>(identifier));
    return Ref<Colorizer>(self);
  });
  runtime_classes::addProperty(
      cls, "identifier", "@\"NSString\"",
      objc::Imp::of([](Colorizer* self, SEL) { return Ref<NSString>(self->value.identifier()); }),
      objc::Imp::of([](Colorizer* self, SEL, NSString* identifier) {
        self->value.setIdentifier(Ref<NSString>(identifier));
      }));
  runtime_classes::addProperty(
      cls, "manager", "@\"Tavrel2PrefsManager\"", objc::Imp::of([](Colorizer* self, SEL) {
        return Ref<Tavrel2PrefsManager>(self->value.manager());
      }),
      objc::Imp::of([](Colorizer* self, SEL, Tavrel2PrefsManager* manager) {
        self->value.setManager(Ref<Tavrel2PrefsManager>(manager));
      }));
  runtime_classes::addProperty(
      cls, "appIcon", "@\"UIImage\"",
      // Images are immutable; the colorizer only hands out a read-only view of its own.
      objc::Imp::of([](Colorizer* self, SEL) {
        return Ref<UIImage>(const_cast<UIImage*>(self->value.appIcon()));
      }),
      objc::Imp::of(
          [](Colorizer* self, SEL, UIImage* icon) { self->value.setAppIcon(Ref<UIImage>(icon)); }));
  runtime_classes::addProperty(
      cls, "iconColor", "@\"UIColor\"",
      objc::Imp::of([](Colorizer* self, SEL) { return self->value.iconColor(); }),
      objc::Imp::of([](Colorizer* self, SEL, UIColor* color) {
        self->value.setIconColor(Ref<UIColor>(color));
      }));
}

// A styling operation that paints one view (or label) from the app's settings.
template <auto operation, class Target>
void addStyling(objc::Class* cls, const char* selector) {
  objc::addMethod(cls, selector,
                  [](Colorizer* self, SEL, Target* target) { (self->value.*operation)(target); });
}

void addStylingOperations(objc::Class* cls) {
  addStyling<&Tavrel2Colorizer::colorBackground, UIView>(cls, "colorBackground:");
  addStyling<&Tavrel2Colorizer::setBackgroundBlur, UIView>(cls, "setBackgroundBlur:");
  addStyling<&Tavrel2Colorizer::colorBorder, UIView>(cls, "colorBorder:");
  addStyling<&Tavrel2Colorizer::colorShadow, UIView>(cls, "colorShadow:");
  addStyling<&Tavrel2Colorizer::colorTitle, UILabel>(cls, "colorTitle:");
  addStyling<&Tavrel2Colorizer::colorMessage, UILabel>(cls, "colorMessage:");
  addStyling<&Tavrel2Colorizer::colorDate, UILabel>(cls, "colorDate:");
  addStyling<&Tavrel2Colorizer::setAppIconCornerRadius, UIView>(cls, "setAppIconCornerRadius:");
  addStyling<&Tavrel2Colorizer::setAppearance, UIView>(cls, "setAppearance:");
  objc::addMethod(cls, "colorLine:inFrame:", [](Colorizer* self, SEL, UIView* view, CGRect frame) {
    self->value.colorLine(view, frame);
  });
  objc::addMethod(cls, "toggleAppIconVisibility:withTitle:message:footer:alwaysUpdate:",
                  [](Colorizer* self, SEL, UIView* icon, UIView* title, UIView* message,
                     UIView* footer, bool alwaysUpdate) {
                    self->value.toggleAppIconVisibility(icon, title, message, footer, alwaysUpdate);
                  });
}

}  // namespace

void registerColorizerClass(std::string_view logPrefix) {
  objc::Class* cls =
      runtime_classes::defineUnlessTaken<ColorizerObject>("Tavrel2Colorizer", logPrefix);
  if (!cls) return;
  addInitialiserAndProperties(cls);
  addStylingOperations(cls);
}
