#include "platform/uikit/ui_stack_view.h"

#include <algorithm>
#include <numeric>

namespace {

bool hasMetric(CGFloat value) {
  return value != UIViewNoIntrinsicMetric;
}

CGFloat along(CGSize size, bool vertical) {
  return vertical ? size.height : size.width;
}

CGFloat across(CGSize size, bool vertical) {
  return vertical ? size.width : size.height;
}

// A view's span along the axis: where it starts and how long it is.
struct Span {
  CGFloat start = 0, length = 0;
};

struct Arranged {
  UIView* view;
  CGSize intrinsic;
};

// Intrinsic lengths, 0 where a view has none.
std::vector<CGFloat> intrinsicLengths(const std::vector<Arranged>& views, bool vertical) {
  std::vector<CGFloat> lengths;
  for (const Arranged& item : views) {
    CGFloat length = along(item.intrinsic, vertical);
    lengths.push_back(hasMetric(length) ? length : 0);
  }
  return lengths;
}

std::vector<Span> spansInOrder(const std::vector<CGFloat>& lengths, CGFloat spacing) {
  std::vector<Span> spans;
  CGFloat at = 0;
  for (CGFloat length : lengths) {
    spans.push_back({at, length});
    at += length + spacing;
  }
  return spans;
}

CGFloat sum(const std::vector<CGFloat>& values) {
  return std::accumulate(values.begin(), values.end(), CGFloat{0});
}

std::vector<Span> fill(const std::vector<Arranged>& views, bool vertical, CGFloat length,
                       CGFloat spacing) {
  std::vector<CGFloat> lengths = intrinsicLengths(views, vertical);
  CGFloat difference = length - spacing * (views.size() - 1) - sum(lengths);
  if (difference >= 0) {
    auto open = std::find_if(views.begin(), views.end(), [&](const Arranged& item) {
      return !hasMetric(along(item.intrinsic, vertical));
    });
    lengths[open == views.end() ? 0 : open - views.begin()] += difference;
  } else {
    for (CGFloat& each : lengths) {
      CGFloat taken = std::min(each, -difference);
      each -= taken;
      difference += taken;
    }
  }
  return spansInOrder(lengths, spacing);
}

std::vector<Span> fillEqually(size_t count, CGFloat length, CGFloat spacing) {
  CGFloat share = (length - spacing * (count - 1)) / count;
  return spansInOrder(std::vector<CGFloat>(count, share), spacing);
}

std::vector<Span> fillProportionally(const std::vector<Arranged>& views, bool vertical,
                                     CGFloat length, CGFloat spacing) {
  std::vector<CGFloat> lengths = intrinsicLengths(views, vertical);
  CGFloat total = sum(lengths);
  if (total <= 0) return fill(views, vertical, length, spacing);
  CGFloat room = length - spacing * (views.size() - 1);
  for (CGFloat& each : lengths)
    each = each / total * room;
  return spansInOrder(lengths, spacing);
}

std::vector<Span> equalSpacing(const std::vector<Arranged>& views, bool vertical, CGFloat length,
                               CGFloat spacing) {
  std::vector<CGFloat> lengths = intrinsicLengths(views, vertical);
  CGFloat gap = (length - sum(lengths)) / (views.size() - 1);
  if (gap < spacing) return fill(views, vertical, length, spacing);
  return spansInOrder(lengths, gap);
}

std::vector<Span> equalCentering(const std::vector<Arranged>& views, bool vertical, CGFloat length,
                                 CGFloat spacing) {
  std::vector<CGFloat> lengths = intrinsicLengths(views, vertical);
  const CGFloat first = lengths.front() / 2;
  const CGFloat step = (length - first - lengths.back() / 2) / (views.size() - 1);
  std::vector<Span> spans;
  for (size_t i = 0; i < lengths.size(); ++i) {
    spans.push_back({first + step * i - lengths[i] / 2, lengths[i]});
    if (i > 0 && spans[i].start - (spans[i - 1].start + spans[i - 1].length) < spacing) {
      return equalSpacing(views, vertical, length, spacing);
    }
  }
  return spans;
}

}  // namespace

CGSize intrinsicContentSizeOf(UIView* view) {
  static SEL selector = objc::sel("intrinsicContentSize");
  if (!view || !objc::respondsTo(view, selector)) {
    return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
  }
  return objc::msgSend<CGSize>(view, selector);
}

void UIStackView::addArrangedSubview(Ref<UIView> view) {
  if (!view) return;
  arranged_.push_back(view);
  addSubview(std::move(view));
}

std::vector<UIView*> UIStackView::shownArrangedSubviews() const {
  std::vector<UIView*> shown;
  for (const auto& view : arranged_) {
    if (!view->isHidden() && view->superview() == this) shown.push_back(view.get());
  }
  return shown;
}

CGFloat UIStackView::offsetAcross(CGFloat breadth) const {
  const CGFloat room = across(bounds().size, axis_ == UILayoutConstraintAxisVertical);
  switch (alignment_) {
    case UIStackViewAlignmentCenter:
      return (room - breadth) / 2;
    case UIStackViewAlignmentTrailing:
      return room - breadth;
    default:
      return 0;
  }
}

void UIStackView::layOutArrangedSubviews() {
  std::vector<Arranged> views;
  for (UIView* view : shownArrangedSubviews())
    views.push_back({view, intrinsicContentSizeOf(view)});
  if (views.empty()) return;
  const bool vertical = axis_ == UILayoutConstraintAxisVertical;
  const CGFloat length = along(bounds().size, vertical);
  const CGFloat breadth = across(bounds().size, vertical);
  std::vector<Span> spans;
  if (views.size() == 1) {
    spans = {{0, length}};
  } else if (distribution_ == UIStackViewDistributionFillEqually) {
    spans = fillEqually(views.size(), length, spacing_);
  } else if (distribution_ == UIStackViewDistributionFillProportionally) {
    spans = fillProportionally(views, vertical, length, spacing_);
  } else if (distribution_ == UIStackViewDistributionEqualSpacing) {
    spans = equalSpacing(views, vertical, length, spacing_);
  } else if (distribution_ == UIStackViewDistributionEqualCentering) {
    spans = equalCentering(views, vertical, length, spacing_);
  } else {
    spans = fill(views, vertical, length, spacing_);
  }
  for (size_t i = 0; i < views.size(); ++i) {
    UIView* view = views[i].view;
    CGFloat size = breadth;
    if (alignment_ != UIStackViewAlignmentFill) {
      CGFloat natural = across(views[i].intrinsic, vertical);
      size = std::min(breadth, hasMetric(natural) ? natural : across(view->frame().size, vertical));
    }
    CGFloat offset = offsetAcross(size);
    view->setFrame(vertical ? CGRectMake(offset, spans[i].start, size, spans[i].length)
                            : CGRectMake(spans[i].start, offset, spans[i].length, size));
  }
}

CGSize UIStackView::intrinsicContentSize() const {
  const bool vertical = axis_ == UILayoutConstraintAxisVertical;
  std::vector<UIView*> shown = shownArrangedSubviews();
  CGFloat length = shown.empty() ? 0 : spacing_ * (shown.size() - 1);
  CGFloat breadth = UIViewNoIntrinsicMetric;
  for (UIView* view : shown) {
    CGSize size = intrinsicContentSizeOf(view);
    if (hasMetric(length)) {
      length = hasMetric(along(size, vertical)) ? length + along(size, vertical)
                                                : UIViewNoIntrinsicMetric;
    }
    breadth = std::max(breadth, across(size, vertical));
  }
  return vertical ? CGSize{breadth, length} : CGSize{length, breadth};
}

void defineStackViewClass() {
  objc::Class* stack = objc::defineClass<UIStackView, UIView>("UIStackView");
  objc::addMethod(stack, "layoutSubviews",
                  [](UIStackView* self, SEL) { self->layOutArrangedSubviews(); });
  objc::addMethod(stack, "intrinsicContentSize",
                  [](UIStackView* self, SEL) { return self->intrinsicContentSize(); });
  objc::addMethod(stack, "arrangedSubviews", [](UIStackView* self, SEL) {
    return NSArray::from(
        NSArray::Objects(self->arrangedSubviews().begin(), self->arrangedSubviews().end()));
  });
}
