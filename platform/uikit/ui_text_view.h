#pragma once

#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_scroll_view.h"

// The view that draws a text view's text (the private "_UITextViewCanvasView"). It draws like a
// label, so it is stored as one, while its class is a plain view subclass, as on the device.
class TextCanvasView : public UILabel {};

// Scrollable, multi-line text; its canvas subview draws the text.
class UITextView : public UIScrollView {
 public:
  UITextView();
  NSString* text() const { return canvas_->text(); }
  void setText(Ref<NSString> text) { canvas_->setText(std::move(text)); }
  TextCanvasView* canvas() const { return canvas_.get(); }

 private:
  Ref<TextCanvasView> canvas_;
};

// Defines UITextView and its canvas class (with UIKit's other classes).
void defineTextViewClasses();
