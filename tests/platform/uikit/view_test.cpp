#include <gtest/gtest.h>

#include "platform/foundation/key_value_coding.h"
#include "platform/foundation/ns_number.h"
#include "platform/uikit/ui_view.h"

namespace {

Ref<UIView> makeView(CGRect frame = CGRectZero) {
  auto view = objc::make<UIView>();
  view->setFrame(frame);
  return view;
}

std::vector<const CALayer*> layersOf(const std::vector<Ref<UIView>>& views) {
  std::vector<const CALayer*> layers;
  for (const auto& view : views)
    layers.push_back(view->layer());
  return layers;
}

std::vector<const CALayer*> sublayersOf(const UIView* view) {
  std::vector<const CALayer*> layers;
  for (const auto& layer : view->layer()->sublayers())
    layers.push_back(layer.get());
  return layers;
}

}  // namespace

TEST(ViewTreeTest, SubviewsAndTheirLayersKeepOneOrder) {
  auto parent = makeView(), a = makeView(), b = makeView(), c = makeView();
  parent->addSubview(a);
  parent->addSubview(c);
  parent->insertSubview(b, 1);
  auto extra = objc::make<CALayer>();
  parent->layer()->addSublayer(extra);
  EXPECT_EQ(parent->subviews(), (std::vector<Ref<UIView>>{a, b, c}));
  EXPECT_EQ(sublayersOf(parent.get()),
            (std::vector<const CALayer*>{a->layer(), b->layer(), c->layer(), extra.get()}));
  parent->addSubview(a);  // moving to the front
  EXPECT_EQ(parent->subviews(), (std::vector<Ref<UIView>>{b, c, a}));
  b->removeFromSuperview();
  EXPECT_EQ(b->superview(), nullptr);
  EXPECT_EQ(b->layer()->superlayer(), nullptr);
  EXPECT_EQ(layersOf(parent->subviews()), (std::vector<const CALayer*>{c->layer(), a->layer()}));
}

TEST(ViewTreeTest, MovingAViewLeavesItsOldSuperview) {
  auto first = makeView(), second = makeView(), child = makeView();
  first->addSubview(child);
  second->addSubview(child);
  EXPECT_TRUE(first->subviews().empty());
  EXPECT_TRUE(first->layer()->sublayers().empty());
  EXPECT_EQ(child->superview(), second.get());
  EXPECT_TRUE(child->isDescendantOfView(second.get()));
}

TEST(ViewTreeTest, RefusesCyclesAndForgetsADeadParent) {
  auto root = makeView(), child = makeView();
  root->addSubview(child);
  EXPECT_THROW(child->addSubview(root), objc::Exception);
  EXPECT_THROW(root->addSubview(root), objc::Exception);
  root = nullptr;
  EXPECT_EQ(child->superview(), nullptr) << "the superview pointer is weak";
  EXPECT_EQ(child->layer()->superlayer(), nullptr);
}

TEST(ViewTest, TraitsComeFromTheNearestOverride) {
  auto root = makeView(), middle = makeView(), leaf = makeView();
  root->addSubview(middle);
  middle->addSubview(leaf);
  UITraitCollection::setSystemUserInterfaceStyle(UIUserInterfaceStyleLight);
  EXPECT_EQ(leaf->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleLight);
  root->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  EXPECT_EQ(leaf->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleDark);
  middle->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
  EXPECT_EQ(leaf->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleLight);
  leaf->removeFromSuperview();
  UITraitCollection::setSystemUserInterfaceStyle(UIUserInterfaceStyleDark);
  EXPECT_EQ(leaf->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleDark);
  UITraitCollection::setSystemUserInterfaceStyle(UIUserInterfaceStyleLight);
}

TEST(ViewTest, DescriptionReadsLikeThePlatforms) {
  auto view = makeView(CGRectMake(0, 10.5, 250, 1));
  std::string plain = describe(view.get());
  EXPECT_EQ(plain.rfind("<UIView: 0x", 0), 0u) << plain;
  EXPECT_NE(plain.find("; frame = (0 10.5; 250 1); layer = <CALayer: 0x"), std::string::npos)
      << plain;
  view->setHidden(true);
  view->setClipsToBounds(true);
  view->setAlpha(0.5);
  std::string styled = describe(view.get());
  EXPECT_NE(styled.find("; clipsToBounds = YES; hidden = YES; alpha = 0.5; layer = "),
            std::string::npos)
      << styled;
  auto parent = makeView();
  parent->addSubview(view);
  EXPECT_NE(describe(parent->subviewsArray().get()).find("<UIView: 0x"), std::string::npos);
}

TEST(ViewTest, KeyValueCodingReachesTheViewAndItsLayer) {
  auto view = makeView();
  auto color = UIColor::colorWithRed(0, 0, 1, 0.5);
  setValueForKey(view.get(), color.get(), "backgroundColor");
  setValueForKey(view.get(), NSNumber::numberWithBool(true).get(), "hidden");
  EXPECT_EQ(view->backgroundColor(), color);
  EXPECT_EQ(view->layer()->backgroundColor(), Color::rgb(0, 0, 1, 0.5));
  EXPECT_TRUE(view->isHidden());
  setValueForKey(view.get(), nullptr, "backgroundColor");
  EXPECT_EQ(view->layer()->backgroundColor(), std::nullopt) << "nil clears the background";
}

TEST(ViewTest, LayoutRunsTopDownThroughTheRuntimeSoHooksSeeIt) {
  static std::vector<std::string> order;
  order.clear();
  objc::Class* listClass = objc_allocateClassPair(objc_getClass("UIView"), "TestListView", 0);
  objc_registerClassPair(listClass);
  objc::addMethod(listClass, "layoutSubviews", [](UIView* self, SEL) {
    order.push_back("host");
    self->setFrame(CGRectMake(0, 0, 100, 100));  // the host redoes its layout every pass
  });
  static objc::Imp hostLayout;
  MSHookMessageEx(listClass, objc::sel("layoutSubviews"), objc::Imp::of([](UIView* self, SEL cmd) {
                    hostLayout.call<void>(self, cmd);
                    order.push_back("hook");
                    self->setFrame(CGRectMake(5, 5, 90, 90));
                  }),
                  &hostLayout);
  auto root = makeView();
  auto list = objc::createInstance<UIView>(listClass);
  root->addSubview(list);
  root->layoutIfNeeded();
  EXPECT_EQ(order, (std::vector<std::string>{"host", "hook"}));
  EXPECT_EQ(list->frame(), CGRectMake(5, 5, 90, 90));
}
