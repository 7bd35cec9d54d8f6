#include <gtest/gtest.h>

#include <cmath>

#include "platform/uikit/ui_label.h"

TEST(LabelTest, TextColourIsTheLabelColourUntilSet) {
  auto label = objc::make<UILabel>();
  EXPECT_EQ(label->textColor()->resolvedColor(true), Color::rgb(1, 1, 1));
  label->setTextColor(UIColor::systemRedColor());
  EXPECT_EQ(label->textColor()->color(), Color::rgb(1, 0, 0));
  label->setTextColor(nullptr);
  EXPECT_EQ(label->textColor()->color(), Color::rgb(0, 0, 0)) << "nil sets it back";
}

TEST(LabelTest, FittingSizeGrowsWithTheTextAndStaysWithinTheLimit) {
  auto label = objc::make<UILabel>();
  EXPECT_EQ(label->sizeThatFits({300, 100}), (CGSize{0, 0}));
  label->setText(NSString::from("Share"));
  CGSize shortText = label->sizeThatFits({300, 100});
  label->setText(NSString::from("Share with everyone"));
  CGSize longText = label->sizeThatFits({300, 100});
  EXPECT_GT(longText.width, shortText.width);
  EXPECT_EQ(longText.height, shortText.height) << "one line";
  CGSize narrow = label->sizeThatFits({40, 100});
  EXPECT_LE(narrow.width, 40);
  EXPECT_EQ(narrow.height, shortText.height) << "one line unless more are allowed";
  label->setNumberOfLines(0);
  EXPECT_GT(label->sizeThatFits({40, 1000}).height, shortText.height);
}

TEST(LabelTest, DescriptionShowsTheText) {
  auto label = objc::make<UILabel>();
  label->setText(NSString::from("Remove App"));
  std::string text = describe(label.get());
  EXPECT_EQ(text.rfind("<UILabel: 0x", 0), 0u);
  EXPECT_NE(text.find("; text = 'Remove App'>"), std::string::npos) << text;
}

TEST(LabelTest, FittingSizeMeasuresTheGlyphs) {
  auto label = objc::make<UILabel>();
  label->setText(NSString::from("iiiiii"));
  CGSize narrow = label->sizeThatFits({0, 0});
  label->setText(NSString::from("WWWWWW"));
  CGSize wide = label->sizeThatFits({0, 0});
  EXPECT_GT(wide.width, 2 * narrow.width) << "as many characters, much wider glyphs";
  label->setTextFont({.size = 17, .weight = UIFontWeightBold});
  EXPECT_GT(label->sizeThatFits({0, 0}).width, wide.width);
  EXPECT_EQ(wide.width, std::ceil(wide.width)) << "whole points";
}
