// The bundle's pages as a Settings user reads them: every control is named, titles show whole
// and clear of the information buttons, and the labelled slider lays out as its cell asks.
#include <cmath>
#include <cstdio>

#include "platform/uikit/view_extras.h"
#include "support/prefs_fixture.h"

namespace {

using page_model::Page;
using page_model::Row;
using page_model::ViewNode;

// A view of a cell with its frame in the cell's coordinates.
struct Placed {
  const ViewNode* node;
  CGRect frame;
};

void collect(const ViewNode& node, CGPoint origin, std::vector<Placed>& into) {
  for (const ViewNode& subview : node.subviews) {
    if (subview.hidden) continue;
    CGRect frame = subview.frame;
    frame.origin = {origin.x + frame.origin.x, origin.y + frame.origin.y};
    into.push_back({&subview, frame});
    collect(subview, frame.origin, into);
  }
}

std::vector<Placed> viewsOf(const Row& row) {
  std::vector<Placed> views;
  collect(row.cell, {0, 0}, views);
  return views;
}

const Placed* find(const std::vector<Placed>& views,
                   const std::function<bool(const ViewNode&)>& matches) {
  for (const Placed& placed : views) {
    if (matches(*placed.node)) return &placed;
  }
  return nullptr;
}

double midX(const CGRect& frame) {
  return frame.minX() + frame.width() / 2;
}

double midY(const CGRect& frame) {
  return frame.minY() + frame.height() / 2;
}

bool isLabel(const ViewNode& node, const std::string& text) {
  return node.className == "UILabel" && node.text == text;
}

// The width the label's text needs in its font.
double textWidth(const ViewNode& label) {
  auto measuring = objc::make<UILabel>();
  measuring->setText(NSString::from(*label.text));
  const auto& font = *label.font;
  setFont(measuring.get(), font.monospacedDigits
                               ? UIFont::monospacedDigitSystemFontOfSize(font.size, font.weight)
                               : UIFont::systemFontOfSize(font.size, font.weight));
  return measuring->sizeThatFits({1e6, 1e6}).width;
}

class ReadablePagesTest : public PrefsTest {
 protected:
  // The root page and every page it links to.
  std::vector<Page> everyPage() {
    std::vector<Page> pages{host().page()};
    std::vector<std::string> links;
    for (const auto& section : pages.front().sections) {
      for (const Row& row : section.rows) {
        if (row.opensPage) links.push_back(row.label);
      }
    }
    for (const std::string& label : links) {
      EXPECT_TRUE(host().tap(rowNamed(host().page(), label)->cell.id).ok()) << label;
      pages.push_back(host().page());
      EXPECT_TRUE(host().goBack().ok());
    }
    return pages;
  }
};

TEST_F(ReadablePagesTest, EverySegmentedControlSitsUnderAGroupHeaderNamingIt) {
  int segmented = 0;
  for (const Page& page : everyPage()) {
    for (const auto& section : page.sections) {
      for (const Row& row : section.rows) {
        if (!findNode(row.cell, "UISegmentedControl")) continue;
        ++segmented;
        EXPECT_FALSE(section.headerView) << page.title << ": a header view hides the group's label";
        EXPECT_EQ(section.groupLabel, row.label) << page.title;
        EXPECT_EQ(section.rows.size(), 1u) << page.title << ": the header names one control";
        EXPECT_TRUE(section.footerText) << page.title << ": the segments' pictures are explained";
      }
    }
  }
  EXPECT_EQ(segmented, 2);
}

TEST_F(ReadablePagesTest, EverySliderShowsItsNameAndValue) {
  writeSettings({{"sepWidth", real(12.5)}});
  int sliders = 0;
  for (const Page& page : everyPage()) {
    for (const auto& section : page.sections) {
      for (const Row& row : section.rows) {
        const ViewNode* slider = findNode(row.cell, "UISlider");
        if (!slider) continue;
        ++sliders;
        std::vector<Placed> views = viewsOf(row);
        char value[32];
        std::snprintf(value, sizeof value, "%.1f", slider->control->value);
        EXPECT_TRUE(find(views, [&](const ViewNode& node) { return isLabel(node, row.label); }))
            << page.title << ": " << row.label;
        EXPECT_TRUE(find(views, [&](const ViewNode& node) { return isLabel(node, value); }))
            << page.title << ": " << row.label;
      }
    }
  }
  EXPECT_EQ(sliders, 8);
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Separators (Home Screen)")->cell.id).ok());
  EXPECT_TRUE(findNode(rowNamed(host().page(), "Side Trim")->cell, "UISlider"));
}

TEST_F(ReadablePagesTest, LabelledSliderCentresItsCaptionOverASliderThatFillsTheRow) {
  writeSettings({{"cornerRadius", real(14)}});
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Background & Border")->cell.id).ok());
  Row row = *rowNamed(host().page(), "Corner Radius (HS)");
  std::vector<Placed> views = viewsOf(row);
  const Placed* caption =
      find(views, [&](const ViewNode& node) { return isLabel(node, "Corner Radius (HS)"); });
  const Placed* value = find(views, [](const ViewNode& node) { return isLabel(node, "14.0"); });
  const Placed* slider = find(views, [](const ViewNode& node) { return node.control.has_value(); });
  ASSERT_TRUE(caption && value && slider);
  const double width = row.cell.frame.width();
  EXPECT_NEAR(midX(caption->frame), width / 2, 0.5) << "centre alignment";
  EXPECT_EQ(caption->frame.width(), textWidth(*caption->node)) << "its own width";
  EXPECT_EQ(caption->frame.minY(), 4);
  EXPECT_LE(caption->frame.maxY(), slider->frame.minY() + 1);
  EXPECT_EQ(slider->frame.minX(), 15);
  EXPECT_EQ(value->frame.maxX(), width - 15) << "the value ends the row";
  EXPECT_EQ(value->frame.minX() - slider->frame.maxX(), 5) << "the slider takes the rest";
  EXPECT_EQ(value->frame.width(), textWidth(*value->node));
  EXPECT_NEAR(midY(value->frame), midY(slider->frame), 0.5);
  EXPECT_EQ(slider->frame.maxY(), row.height - 4) << "equal centring ends at the bottom";
}

TEST_F(ReadablePagesTest, TitlesShowWholeAndEndBeforeTheInfoButton) {
  int checked = 0;
  for (const Page& page : everyPage()) {
    for (const auto& section : page.sections) {
      for (const Row& row : section.rows) {
        std::vector<Placed> views = viewsOf(row);
        const Placed* title =
            find(views, [&](const ViewNode& node) { return isLabel(node, row.label); });
        const Placed* info = find(views, [](const ViewNode& node) {
          return node.control && node.control->buttonType == 4;
        });
        if (!title || !info) continue;
        ++checked;
        EXPECT_LE(title->frame.maxX() + 8, info->frame.minX()) << row.label;
        EXPECT_GE(title->frame.width(), textWidth(*title->node)) << row.label << " is cut";
      }
    }
  }
  EXPECT_GT(checked, 20);
}

TEST_F(ReadablePagesTest, TextFieldRowShowsItsTitleWholeBeforeTheField) {
  writeSettings({{"titlesToRemove", str("Share App;Remove App")}});
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Context Menu")->cell.id).ok());
  Row row = *rowNamed(host().page(), "Titles to Remove");
  std::vector<Placed> views = viewsOf(row);
  const Placed* title =
      find(views, [](const ViewNode& node) { return isLabel(node, "Titles to Remove"); });
  const Placed* field = find(views, [](const ViewNode& node) { return node.editable; });
  ASSERT_TRUE(title && field);
  EXPECT_EQ(title->frame.width(), textWidth(*title->node));
  EXPECT_GE(field->frame.minX(), title->frame.maxX() + 8);
  EXPECT_EQ(field->frame.maxX(), row.cell.frame.width() - 16);
  EXPECT_EQ(field->node->text, "Share App;Remove App");
}

TEST_F(ReadablePagesTest, DynamicColoursCarryTheirDarkValueAndFixedOnesDoNot) {
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Background & Border")->cell.id).ok());
  Page page = host().page();
  Row border = *rowNamed(page, "Border (HS)"), thickness = *rowNamed(page, "Border Thickness (HS)");
  std::vector<Placed> views = viewsOf(border);
  const Placed* title =
      find(views, [](const ViewNode& node) { return isLabel(node, "Border (HS)"); });
  ASSERT_TRUE(title && title->node->textColor && title->node->textColor->dark);
  EXPECT_EQ(title->node->textColor->red, 0) << "the label colour: black in the light style";
  EXPECT_EQ(title->node->textColor->dark->red, 1) << "and white in the dark";
  views = viewsOf(thickness);
  const Placed* caption =
      find(views, [](const ViewNode& node) { return isLabel(node, "Border Thickness (HS)"); });
  ASSERT_TRUE(caption && caption->node->textColor);
  EXPECT_FALSE(caption->node->textColor->dark) << "orange is orange in both styles";
}

}  // namespace
