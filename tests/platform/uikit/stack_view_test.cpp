#include <gtest/gtest.h>

#include <vector>

#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_stack_view.h"

namespace {

// A view whose content asks for a fixed size (either side may ask for none).
class Block : public UIView {
 public:
  CGSize natural{UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
};

Ref<Block> block(CGFloat width, CGFloat height = UIViewNoIntrinsicMetric) {
  static objc::Class* cls = [] {
    objc::Class* defined = objc::defineClass<Block, UIView>("StackTestBlock");
    objc::addMethod(defined, "intrinsicContentSize",
                    [](Block* self, SEL) { return self->natural; });
    return defined;
  }();
  Ref<Block> view = objc::createInstance<Block>(cls);
  view->natural = {width, height};
  return view;
}

// A row of blocks of these intrinsic widths (UIViewNoIntrinsicMetric: none) in a stack `width`
// long, laid out; answers each block's span as {x, width}.
std::vector<std::pair<CGFloat, CGFloat>> row(UIStackViewDistribution distribution, CGFloat width,
                                             CGFloat spacing, std::vector<CGFloat> widths) {
  auto stack = objc::make<UIStackView>();
  stack->setAxis(UILayoutConstraintAxisHorizontal);
  stack->setDistribution(distribution);
  stack->setSpacing(spacing);
  stack->setFrame(CGRectMake(0, 0, width, 30));
  for (CGFloat each : widths)
    stack->addArrangedSubview(block(each, 10));
  stack->layoutIfNeeded();
  std::vector<std::pair<CGFloat, CGFloat>> spans;
  for (const Ref<UIView>& view : stack->arrangedSubviews()) {
    EXPECT_EQ(view->frame().height(), 30) << "fill alignment spans the breadth";
    spans.emplace_back(view->frame().origin.x, view->frame().width());
  }
  return spans;
}

using Spans = std::vector<std::pair<CGFloat, CGFloat>>;
constexpr CGFloat kNone = UIViewNoIntrinsicMetric;

}  // namespace

TEST(StackViewTest, FillStretchesTheViewWithoutALengthElseTheFirst) {
  EXPECT_EQ(row(UIStackViewDistributionFill, 200, 10, {20, kNone, 40}),
            (Spans{{0, 20}, {30, 120}, {160, 40}}));
  EXPECT_EQ(row(UIStackViewDistributionFill, 200, 10, {20, 40}), (Spans{{0, 150}, {160, 40}}));
}

TEST(StackViewTest, FillTakesAShortfallFromTheFirstViewsOnNoneBelowZero) {
  EXPECT_EQ(row(UIStackViewDistributionFill, 50, 10, {20, 40}), (Spans{{0, 0}, {10, 40}}));
  EXPECT_EQ(row(UIStackViewDistributionFill, 70, 10, {20, 40}), (Spans{{0, 20}, {30, 40}}))
      << "an exact fit changes nothing";
}

TEST(StackViewTest, FillEquallyAndProportionallyShareTheRoomLeftBySpacing) {
  EXPECT_EQ(row(UIStackViewDistributionFillEqually, 200, 10, {20, kNone, 40}),
            (Spans{{0, 60}, {70, 60}, {140, 60}}));
  EXPECT_EQ(row(UIStackViewDistributionFillProportionally, 200, 10, {20, 60}),
            (Spans{{0, 47.5}, {57.5, 142.5}}));
  EXPECT_EQ(row(UIStackViewDistributionFillProportionally, 200, 10, {kNone, kNone}),
            (Spans{{0, 190}, {200, 0}}))
      << "without lengths to weigh, as fill";
}

TEST(StackViewTest, EqualSpacingKeepsLengthsAndSharesTheGaps) {
  EXPECT_EQ(row(UIStackViewDistributionEqualSpacing, 200, 10, {20, 40, 20}),
            (Spans{{0, 20}, {80, 40}, {180, 20}}));
  EXPECT_EQ(row(UIStackViewDistributionEqualSpacing, 70, 10, {20, 40, 20}),
            (Spans{{0, 0}, {10, 30}, {50, 20}}))
      << "gaps never under the spacing: the views give way as in fill";
}

TEST(StackViewTest, EqualCenteringSpacesCentresFromFirstStartToLastEnd) {
  EXPECT_EQ(row(UIStackViewDistributionEqualCentering, 200, 10, {20, 60, 40}),
            (Spans{{0, 20}, {65, 60}, {160, 40}}));
  EXPECT_EQ(row(UIStackViewDistributionEqualCentering, 200, 50, {20, 60, 40}),
            (Spans{{0, 0}, {50, 60}, {160, 40}}))
      << "a gap under the spacing gives equal spacing, which gives way as fill";
}

TEST(StackViewTest, ASingleViewSpansTheLengthAndHiddenViewsTakeNoPlace) {
  for (auto distribution :
       {UIStackViewDistributionFill, UIStackViewDistributionEqualSpacing,
        UIStackViewDistributionEqualCentering, UIStackViewDistributionFillProportionally}) {
    EXPECT_EQ(row(distribution, 200, 10, {20}), (Spans{{0, 200}})) << distribution;
  }
  auto stack = objc::make<UIStackView>();
  stack->setDistribution(UIStackViewDistributionFillEqually);
  stack->setFrame(CGRectMake(0, 0, 100, 20));
  auto hidden = block(10), shown = block(10);
  hidden->setHidden(true);
  stack->addArrangedSubview(hidden);
  stack->addArrangedSubview(shown);
  stack->layoutIfNeeded();
  EXPECT_EQ(shown->frame(), CGRectMake(0, 0, 100, 20));
}

TEST(StackViewTest, AlignmentPlacesEachViewAcrossTheAxis) {
  struct Case {
    UIStackViewAlignment alignment;
    CGFloat x, width;
  };
  for (const Case& c :
       {Case{UIStackViewAlignmentFill, 0, 100}, Case{UIStackViewAlignmentLeading, 0, 30},
        Case{UIStackViewAlignmentCenter, 35, 30}, Case{UIStackViewAlignmentTrailing, 70, 30}}) {
    auto stack = objc::make<UIStackView>();
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setAlignment(c.alignment);
    stack->setFrame(CGRectMake(0, 0, 100, 200));
    auto view = block(30, 20);
    stack->addArrangedSubview(view);
    stack->addArrangedSubview(block(kNone, kNone));
    stack->layoutIfNeeded();
    EXPECT_EQ(view->frame(), CGRectMake(c.x, 0, c.width, 20)) << c.alignment;
    EXPECT_EQ(stack->offsetAcross(30), c.alignment == UIStackViewAlignmentFill ? 0 : c.x);
  }
}

TEST(StackViewTest, AlignedViewsWithoutABreadthKeepTheirsWithinTheStack) {
  auto stack = objc::make<UIStackView>();
  stack->setAlignment(UIStackViewAlignmentBottom);
  stack->setFrame(CGRectMake(0, 0, 100, 40));
  auto loose = block(20), tall = block(20);
  loose->setFrame(CGRectMake(0, 0, 20, 12));
  tall->setFrame(CGRectMake(0, 0, 20, 90));
  stack->addArrangedSubview(loose);
  stack->addArrangedSubview(tall);
  stack->layoutIfNeeded();
  EXPECT_EQ(loose->frame(), CGRectMake(0, 28, 80, 12));
  EXPECT_EQ(tall->frame(), CGRectMake(80, 0, 20, 40)) << "no taller than the stack";
}

TEST(StackViewTest, IntrinsicSizeAddsLengthsAndSpacingAndTakesTheLargestBreadth) {
  auto stack = objc::make<UIStackView>();
  stack->setSpacing(5);
  stack->addArrangedSubview(block(20, 10));
  stack->addArrangedSubview(block(30, 25));
  EXPECT_EQ(intrinsicContentSizeOf(stack.get()), (CGSize{55, 25}));
  stack->setAxis(UILayoutConstraintAxisVertical);
  EXPECT_EQ(intrinsicContentSizeOf(stack.get()), (CGSize{30, 40}));
  stack->addArrangedSubview(block(kNone, kNone));
  EXPECT_EQ(intrinsicContentSizeOf(stack.get()), (CGSize{30, kNone}))
      << "a view without a height leaves the column's open";
  auto label = objc::make<UILabel>();
  label->setText(NSString::from("Side Trim"));
  EXPECT_EQ(intrinsicContentSizeOf(label.get()), label->sizeThatFits({1e6, 1e6}));
  EXPECT_EQ(intrinsicContentSizeOf(objc::make<UIView>().get()), (CGSize{kNone, kNone}));
}
