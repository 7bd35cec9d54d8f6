#include "platform/uikit/ui_text_view.h"

UITextView::UITextView()
    : canvas_(objc::createInstance<TextCanvasView>(objc_getClass("_UITextViewCanvasView"))) {
  canvas_->setNumberOfLines(0);
  canvas_->setTextAlignment(NSTextAlignmentLeft);
  addSubview(canvas_);
}

void defineTextViewClasses() {
  objc::defineClass<UITextView, UIScrollView>("UITextView");
  // The canvas is a view, not a label, for every class test; it fills its text view.
  objc::Class* canvas =
      objc::defineClass<TextCanvasView, UIView>("_UITextViewCanvasView", objc_getClass("UIView"));
  objc::addMethod(canvas, "layoutSubviews", [](TextCanvasView* self, SEL) {
    if (UIView* textView = self->superview()) self->setFrame(textView->bounds());
  });
}
