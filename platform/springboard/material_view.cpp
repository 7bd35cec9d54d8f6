#include "platform/springboard/material_view.h"

#include "platform/springboard/internal/class_definitions.h"

MTMaterialView::MTMaterialView() {
  setBackgroundColor(UIColor::dynamicColor(Color::rgb(1, 1, 1, 0.28), Color::rgb(0, 0, 0, 0.3)));
}

Ref<UIView> makeBackdropMaterial(double blurPoints) {
  objc::Class* cls = objc_getClass("MTMaterialView");
  if (!cls) return objc::make<UIView>();
  auto material = objc::createInstance<MTMaterialView>(cls);
  material->setBackdropBlur(blurPoints);
  return material;
}

namespace springboard_classes {

void defineMaterialClasses(const SystemHas& systemHas) {
  if (!systemHas("MTMaterialView")) return;
  objc::Class* material = objc::defineClass<MTMaterialView, UIView>("MTMaterialView");
  objc::addMethod(material, "layoutSubviews", [](MTMaterialView* self, SEL) {
    if (UIView* parent = self->superview()) self->setFrame(parent->bounds());
  });
}

}  // namespace springboard_classes
