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

void addStylingOperations(objc::Class* cls) {
  objc::addMethod(cls, "colorBackground:", [](Colorizer* self, SEL, UIView* view) {
    self->value.colorBackground(view);
  });
  objc::addMethod(cls, "setBackgroundBlur:", [](Colorizer* self, SEL, UIView* view) {
    self->value.setBackgroundBlur(view);
  });
  objc::addMethod(cls, "colorBorder:", [](Colorizer* self, SEL, UIView* view) {
    self->value.colorBorder(view);
  });
  objc::addMethod(cls, "colorShadow:", [](Colorizer* self, SEL, UIView* view) {
    self->value.colorShadow(view);
  });
  objc::addMethod(cls, "colorLine:inFrame:", [](Colorizer* self, SEL, UIView* view, CGRect frame) {
    self->value.colorLine(view, frame);
  });
  objc::addMethod(cls, "colorTitle:", [](Colorizer* self, SEL, UILabel* label) {
    self->value.colorTitle(label);
  });
  objc::addMethod(cls, "colorMessage:", [](Colorizer* self, SEL, UILabel* label) {
    self->value.colorMessage(label);
  });
  objc::addMethod(cls, "colorDate:", [](Colorizer* self, SEL, UILabel* label) {
    self->value.colorDate(label);
  });
  objc::addMethod(cls, "setAppIconCornerRadius:", [](Colorizer* self, SEL, UIView* view) {
    self->value.setAppIconCornerRadius(view);
  });
  objc::addMethod(cls, "toggleAppIconVisibility:withTitle:message:footer:alwaysUpdate:",
                  [](Colorizer* self, SEL, UIView* icon, UIView* title, UIView* message,
                     UIView* footer, bool alwaysUpdate) {
                    self->value.toggleAppIconVisibility(icon, title, message, footer, alwaysUpdate);
                  });
  objc::addMethod(cls, "setAppearance:", [](Colorizer* self, SEL, UIView* view) {
    self->value.setAppearance(view);
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
