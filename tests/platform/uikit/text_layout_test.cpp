#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/foundation/ns_string.h"
#include "platform/uikit/rendering/text_metrics.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_label.h"

namespace {

constexpr TextFont kBody{.size = 15};
constexpr const char* kSentence = "The quick brown fox jumps over the lazy dog";

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += (text.empty() ? "" : " ") + line;
  return text;
}

bool endsWithEllipsis(const std::string& line) {
  return line.size() >= 3 && line.compare(line.size() - 3, 3, "\u2026") == 0;
}

double lineWidth(const std::string& line, const TextFont& font = kBody) {
  return measureText(line, font, {0, 0}, 1).width;
}

// The ink (alpha above half) of text drawn in black at 1×, by rows and columns.
struct Ink {
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
  std::vector<int> row;  // inked pixels per row
  std::vector<int> rowLeft, rowRight;
};

Ink inkOf(const char* text, double size, NSTextAlignment alignment = NSTextAlignmentLeft,
          long lines = 1, CGSize box = {100, 100}) {
  auto label = objc::make<UILabel>();
  label->setFrame(CGRectMake(0, 0, box.width, box.height));
  label->setText(NSString::from(text));
  label->setFontSize(size);
  label->setNumberOfLines(lines);
  label->setTextAlignment(alignment);
  label->setTextColor(UIColor::blackColor());
  Bitmap bitmap = renderView(label.get(), 1);
  Ink ink;
  ink.row.assign(size_t(bitmap.height()), 0);
  ink.rowLeft.assign(size_t(bitmap.height()), -1);
  ink.rowRight.assign(size_t(bitmap.height()), -1);
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (bitmap.pixel(x, y)[3] <= 128) continue;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
      ++ink.row[size_t(y)];
      if (ink.rowLeft[size_t(y)] < 0) ink.rowLeft[size_t(y)] = x;
      ink.rowRight[size_t(y)] = x;
    }
  }
  return ink;
}

TEST(TextLayoutTest, TextTooLongForItsLinesEndsInAnEllipsis) {
  EXPECT_EQ(shownLines("Share App", kBody, 200, 1), std::vector<std::string>{"Share App"});

  std::vector<std::string> cut = shownLines("Share with everyone nearby", kBody, 80, 1);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_TRUE(endsWithEllipsis(cut[0])) << cut[0];
  EXPECT_EQ(cut[0].rfind("Share", 0), 0u) << "cut at its end: " << cut[0];
  EXPECT_LE(lineWidth(cut[0]), 80);
  EXPECT_EQ(measureText("Share with everyone nearby", kBody, {80, 0}, 1).width, 80);

  EXPECT_EQ(shownLines("Mail\nCalendar", kBody, 200, 1), std::vector<std::string>{"Mail…"})
      << "a line left over is cut too";
  std::vector<std::string> two = shownLines(kSentence, kBody, 100, 2);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0], shownLines(kSentence, kBody, 100, 0)[0]);
  EXPECT_TRUE(endsWithEllipsis(two[1])) << two[1];
}

TEST(TextLayoutTest, LinesBreakBetweenWordsAndWithinWordsLongerThanALine) {
  for (double width : {90.0, 130.0, 200.0}) {
    std::vector<std::string> lines = shownLines(kSentence, kBody, width, 0);
    EXPECT_GT(lines.size(), 1u) << width;
    EXPECT_EQ(joined(lines), kSentence) << "whole words on every line, at " << width;
    for (const std::string& line : lines) {
      EXPECT_LE(lineWidth(line), width) << line;
      EXPECT_FALSE(endsWithEllipsis(line));
    }
    std::string asManyLines = "Mg";
    for (size_t i = 1; i < lines.size(); ++i)
      asManyLines += "\nMg";
    EXPECT_EQ(measureText(kSentence, kBody, {width, 0}, 0).height,
              measureText(asManyLines, kBody, {0, 0}, 0).height);
  }

  const std::string word = "Supercalifragilisticexpialidocious";
  std::vector<std::string> pieces = shownLines(word, kBody, 60, 0);
  EXPECT_GT(pieces.size(), 2u);
  std::string rejoined;
  for (const std::string& piece : pieces) {
    EXPECT_FALSE(piece.empty());
    EXPECT_LE(lineWidth(piece), 60) << piece;
    rejoined += piece;
  }
  EXPECT_EQ(rejoined, word);
  EXPECT_EQ(shownLines("A " + word, kBody, 60, 0)[0], "A") << "a word first moves to a line";
}

TEST(TextLayoutTest, EveryLineIsPlacedAsTheAlignmentSays) {
  // Two lines of different widths: each is placed on its own.
  const char* text = "Mmmmmmmmmm\nMm";
  const CGSize box{200, 60};
  for (NSTextAlignment alignment :
       {NSTextAlignmentLeft, NSTextAlignmentCenter, NSTextAlignmentRight}) {
    Ink ink = inkOf(text, 15, alignment, 0, box);
    ASSERT_GE(ink.bottom, 0);
    int firstRow = ink.top + 5, secondRow = ink.bottom - 3;
    for (int y : {firstRow, secondRow}) {
      int left = ink.rowLeft[size_t(y)], right = ink.rowRight[size_t(y)];
      ASSERT_GE(left, 0) << y;
      double expected = alignment == NSTextAlignmentLeft    ? left
                        : alignment == NSTextAlignmentRight ? box.width - 1 - right
                                                            : (left + right) / 2.0 - 100;
      EXPECT_NEAR(expected, alignment == NSTextAlignmentCenter ? 0 : 1, 3) << alignment << y;
    }
    EXPECT_GT(ink.rowRight[size_t(firstRow)] - ink.rowLeft[size_t(firstRow)],
              2 * (ink.rowRight[size_t(secondRow)] - ink.rowLeft[size_t(secondRow)]));
  }
}

TEST(TextLayoutTest, CharactersTheSystemFontLacksComeFromTheFallbackNotAsBoxes) {
  // A snowman is drawn round; a missing glyph is a box whose top edge is one long stroke.
  Ink snowman = inkOf("\u2603", 60);
  ASSERT_GE(snowman.bottom, 0);
  int width = snowman.right - snowman.left + 1;
  EXPECT_LT(snowman.row[size_t(snowman.top)], width / 2);
  EXPECT_LT(snowman.row[size_t(snowman.bottom)], width * 3 / 4);

  Ink box = inkOf("\u0F00", 60);  // in neither font
  ASSERT_GE(box.bottom, 0);
  EXPECT_GT(box.row[size_t(box.top)], (box.right - box.left + 1) * 3 / 4) << "the test tells a box";
}

TEST(TextLayoutTest, HeavierWeightsSetWider) {
  const std::string text = "Edit Home Screen";
  double regular = lineWidth(text, {.size = 17});
  double medium = lineWidth(text, {.size = 17, .weight = UIFontWeightMedium});
  double semibold = lineWidth(text, {.size = 17, .weight = UIFontWeightSemibold});
  double bold = lineWidth(text, {.size = 17, .weight = UIFontWeightBold});
  EXPECT_LT(regular, medium);
  EXPECT_LT(medium, semibold);
  EXPECT_LT(semibold, bold);
}

TEST(TextLayoutTest, MonospacedDigitsShareOneWidth) {
  const TextFont tabular{.size = 15, .monospacedDigits = true};
  EXPECT_EQ(lineWidth("1111", tabular), lineWidth("8888", tabular));
  EXPECT_LT(lineWidth("1111"), lineWidth("8888")) << "proportional otherwise";
}

}  // namespace
