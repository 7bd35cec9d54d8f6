#include "platform/uikit/private_classes.h"

#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_visual_effect_view.h"

namespace {

using objc::addMethod;

// A runtime subclass with no storage of its own.
objc::Class* defineSubclass(std::string_view name, objc::Class* superclass) {
  objc::Class* cls = objc_allocateClassPair(superclass, name, 0);
  if (cls) objc_registerClassPair(cls);
  return cls;
}

// The host's own layout: every subview fills the view, redone on every pass.
void fillWithSubviews(UIView* self, SEL) {
  for (const auto& subview : self->subviews())
    subview->setFrame(self->bounds());
}

void defineVisualEffectClasses(const std::function<bool(std::string_view)>& systemHas) {
  if (!systemHas("_UIVisualEffectSubview")) return;
  objc::Class* subview = defineSubclass("_UIVisualEffectSubview", objc_getClass("UIView"));
  if (!systemHas("_UIVisualEffectBackdropView")) return;
  objc::Class* backdrop =
      objc::defineClass<VisualEffectBackdropView, UIView>("_UIVisualEffectBackdropView", subview);
  addMethod(backdrop, "renderMode",
            [](VisualEffectBackdropView* self, SEL) { return self->renderMode(); });
  addMethod(backdrop, "setRenderMode:", [](VisualEffectBackdropView* self, SEL, long mode) {
    self->setRenderMode(mode);
  });
  // The backdrop covers its effect view.
  addMethod(backdrop, "layoutSubviews", [](VisualEffectBackdropView* self, SEL) {
    if (UIView* effectView = self->superview()) self->setFrame(effectView->bounds());
  });
}

void defineContextMenuClasses(const std::function<bool(std::string_view)>& systemHas) {
  for (const char* name : {"_UIContextMenuView", "_UIContextMenuListView"}) {
    if (systemHas(name)) {
      addMethod(defineSubclass(name, objc_getClass("UIView")), "layoutSubviews", &fillWithSubviews);
    }
  }
  if (systemHas("_UIContextMenuCell")) {
    addMethod(defineSubclass("_UIContextMenuCell", objc_getClass("UICollectionViewCell")),
              "layoutSubviews", [](UICollectionViewCell* self, SEL) {
                self->contentView()->setFrame(self->bounds());
              });
  }
  if (systemHas("_UIInterfaceActionVibrantSeparatorView")) {
    // A hairline across its superview.
    addMethod(defineSubclass("_UIInterfaceActionVibrantSeparatorView", objc_getClass("UIView")),
              "layoutSubviews", [](UIView* self, SEL) {
                CGRect frame = self->frame();
                if (UIView* parent = self->superview()) frame.size.width = parent->bounds().width();
                frame.size.height = 1.0 / 3.0;
                self->setFrame(frame);
              });
  }
}

}  // namespace

void definePrivateUIKitClasses(const std::function<bool(std::string_view name)>& systemHas) {
  defineVisualEffectClasses(systemHas);
  defineContextMenuClasses(systemHas);
}
