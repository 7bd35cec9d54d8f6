#include "platform/uikit/private_classes.h"

#include <algorithm>

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

// Every subview fills the view, and the subviews of clipping views (plain views that clip,
// nested on some systems) fill those in turn.
void fillThroughClippingViews(UIView* view) {
  for (const auto& part : view->subviews()) {
    part->setFrame(view->bounds());
    if (part->clipsToBounds() && object_getClass(part.get()) == objc_getClass("UIView")) {
      fillThroughClippingViews(part.get());
    }
  }
}

// The host's layout of a menu's list: its shadow, border and clipping views fill it, and the
// clipping views' background and collection view fill those.
void layOutList(UIView* list, SEL) {
  fillThroughClippingViews(list);
}

// A cell's content: the labels on the left, the action's icon on the right.
void layOutCellContent(UIView* content, SEL) {
  const CGRect bounds = content->bounds();
  const auto& parts = content->subviews();
  if (parts.size() > 0)
    parts[0]->setFrame(CGRectMake(16, 0, std::max(0.0, bounds.width() - 60), bounds.height()));
  if (parts.size() > 1)
    parts[1]->setFrame(CGRectMake(bounds.width() - 36, (bounds.height() - 20) / 2, 20, 20));
}

void defineContextMenuClasses(const std::function<bool(std::string_view)>& systemHas) {
  objc::Class* view = objc_getClass("UIView");
  auto define = [&](const char* name, objc::Class* superclass) -> objc::Class* {
    return systemHas(name) ? defineSubclass(name, superclass) : nullptr;
  };
  define("_UIContextMenuContainerView", view);
  define("_UIContextMenuPlatterTransitionView", view);
  define("_UIMorphingPlatterView", view);
  define("_UICutoutShadowView", view);
  if (objc::Class* menu = define("_UIContextMenuView", view)) {
    addMethod(menu, "layoutSubviews", &fillWithSubviews);
  }
  if (objc::Class* list = define("_UIContextMenuListView", view)) {
    addMethod(list, "layoutSubviews", &layOutList);
  }
  if (objc::Class* content = define("_UIContextMenuCellContentView", view)) {
    addMethod(content, "layoutSubviews", &layOutCellContent);
  }
  if (objc::Class* cell = define("_UIContextMenuCell", objc_getClass("UICollectionViewCell"))) {
    addMethod(cell, "layoutSubviews", [](UICollectionViewCell* self, SEL) {
      self->contentView()->setFrame(self->bounds());
    });
  }
  if (objc::Class* separator = define("_UIContextMenuReusableSeparatorView",
                                      objc_getClass("UICollectionReusableView"))) {
    static objc::Class* separatorClass = separator;
    // Its own line fills it; a reusable view's layout (and what replaces it) runs first.
    addMethod(separator, "layoutSubviews", [](UIView* self, SEL cmd) {
      objc::msgSendSuper<void>(separatorClass, self, cmd);
      fillWithSubviews(self, cmd);
    });
  }
  define("_UIContextMenuSeparatorView", view);
  if (objc::Class* separator = define("_UIInterfaceActionVibrantSeparatorView", view)) {
    // A hairline across its superview, hidden while its action group sits on material (the
    // material's own gap parts the actions).
    addMethod(separator, "layoutSubviews", [](UIView* self, SEL) {
      CGRect frame = self->frame();
      if (UIView* parent = self->superview()) frame.size.width = parent->bounds().width();
      frame.size.height = 1.0 / 3.0;
      self->setFrame(frame);
      self->setHidden(true);
    });
  }
}

}  // namespace

void definePrivateUIKitClasses(const std::function<bool(std::string_view name)>& systemHas) {
  defineVisualEffectClasses(systemHas);
  defineContextMenuClasses(systemHas);
}
