#include "platform/foundation/background_queue.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/uikit/ui_alert_controller.h"
#include "platform/uikit/ui_application.h"
#include "support/prefs_fixture.h"

namespace {

using page_model::ViewNode;

class CustomCellsTest : public PrefsTest {
 protected:
  void open(const std::string& label) {
    ASSERT_TRUE(host().tap(rowNamed(host().page(), label)->cell.id).ok()) << label;
  }

  const ViewNode* labelWithTap(const ViewNode& node) {
    if (node.className == "UILabel" && node.tappable) return &node;
    for (const ViewNode& subview : node.subviews) {
      if (const ViewNode* found = labelWithTap(subview)) return found;
    }
    return nullptr;
  }

  // Types text into "Enter Value" of the border slider and sets it.
  void enterBorderThickness(const std::string& text) {
    std::optional<page_model::Row> row = rowNamed(host().page(), "Border Thickness (HS)");
    ASSERT_TRUE(row);
    ASSERT_TRUE(host().tap(labelWithTap(row->cell)->id).ok());
    ASSERT_TRUE(host().setAlertText(0, text).ok());
    ASSERT_TRUE(host().chooseAlertAction(0).ok());
  }

  double storedBorderThickness() {
    return static_cast<NSNumber*>(storedSettings()->objectForKey("borderThicknessHS").get())
        ->doubleValue();
  }
};

TEST_F(CustomCellsTest, EnterValueAlertIsPrefilledWithTwoDecimals) {
  writeSettings({{"borderThicknessHS", real(2.5)}});
  open("Background & Border");
  std::optional<page_model::Row> row = rowNamed(host().page(), "Border Thickness (HS)");
  EXPECT_EQ(row->cellClass, "XXXLabeledSliderCell");
  EXPECT_EQ(row->height, 56);
  EXPECT_EQ(*labelWithTap(row->cell)->text, "2.5");
  ASSERT_TRUE(host().tap(labelWithTap(row->cell)->id).ok());
  page_model::Page page = host().page();
  ASSERT_TRUE(page.alert);
  EXPECT_EQ(*page.alert->title, "Enter Value");
  EXPECT_FALSE(page.alert->message);
  ASSERT_EQ(page.alert->fields.size(), 1u);
  EXPECT_EQ(page.alert->fields[0].text, "2.50");
  EXPECT_EQ(page.alert->fields[0].keyboardType, 8);
  ASSERT_EQ(page.alert->actions.size(), 2u);
  EXPECT_EQ(page.alert->actions[0].title, "Set");
  EXPECT_EQ(page.alert->actions[1].title, "Cancel");
  EXPECT_EQ(page.alert->actions[1].style, 1);
  EXPECT_TRUE(host().chooseAlertAction(1).ok());
  EXPECT_FALSE(host().page().alert);
}

TEST_F(CustomCellsTest, EnterValueAboveMaximumStoresAndShowsMaximum) {
  open("Background & Border");
  enterBorderThickness("25");
  EXPECT_DOUBLE_EQ(storedBorderThickness(), 10);
  std::optional<page_model::Row> row = rowNamed(host().page(), "Border Thickness (HS)");
  EXPECT_EQ(findNode(row->cell, "UISlider")->control->value, 10);
  EXPECT_EQ(*labelWithTap(row->cell)->text, "10.0");
}

TEST_F(CustomCellsTest, EnterValueBelowMinimumStoresMinimum) {
  open("Background & Border");
  enterBorderThickness("-3");
  EXPECT_DOUBLE_EQ(storedBorderThickness(), 0);
}

TEST_F(CustomCellsTest, EnterValueInRangeIsStoredAsTyped) {
  open("Background & Border");
  enterBorderThickness("3.25");
  EXPECT_DOUBLE_EQ(storedBorderThickness(), 3.25);
}

TEST_F(CustomCellsTest, EnterValueThatIsNoNumberStoresZeroClamped) {
  open("Background & Border");
  enterBorderThickness("abc");
  EXPECT_DOUBLE_EQ(storedBorderThickness(), 0);
  enterBorderThickness("nan");
  EXPECT_DOUBLE_EQ(storedBorderThickness(), 0);
}

TEST_F(CustomCellsTest, DraggingTheSliderWritesAndShowsOneDecimal) {
  open("Background & Border");
  std::optional<page_model::Row> row = rowNamed(host().page(), "Border Thickness (HS)");
  ASSERT_TRUE(host().setSlider(findNode(row->cell, "UISlider")->id, 4.25).ok());
  EXPECT_DOUBLE_EQ(storedBorderThickness(), 4.25);
  row = rowNamed(host().page(), "Border Thickness (HS)");
  EXPECT_EQ(*labelWithTap(row->cell)->text, "4.2");
}

TEST_F(CustomCellsTest, InfoMessageBackslashNBecomesLineBreak) {
  page_model::Page page = host().page();
  std::optional<page_model::Row> row = rowNamed(page, "Enabled");
  ASSERT_TRUE(row);
  const ViewNode* info = findNode(row->cell, "UIButton");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->control->buttonType, 4);
  ASSERT_TRUE(host().tap(info->id).ok());
  page = host().page();
  ASSERT_TRUE(page.alert);
  EXPECT_EQ(*page.alert->title, "Enabled");
  EXPECT_EQ(*page.alert->message,
            "Turns the styling on.\nChanges apply at once; respring to start afresh.");
  ASSERT_EQ(page.alert->actions.size(), 1u);
  EXPECT_EQ(page.alert->actions[0].title, "Cancel");
  EXPECT_EQ(page.alert->actions[0].style, 0);
}

TEST_F(CustomCellsTest, InfoWithoutMessageSaysSoAndPresentsFromTheWindow) {
  Ref<PSListController> page = makePage("MirraRootListController");
  Ref<PSSpecifier> row = specifier(page.get(), {{"label", str("Lonely")}, {"key", str("k")}});
  Ref<PSTableCell> cell = objc::createInstance<PSTableCell>(objc_getClass("XXXSwitchWithInfoCell"));
  cell =
      objc::msgSend<Ref<PSTableCell>>(cell, objc::sel("initWithStyle:reuseIdentifier:specifier:"),
                                      0L, str("Info"), static_cast<NSObject*>(row.get()));
  objc::msgSend<void>(cell, objc::sel("infoButtonTapped"));
  HostedViewController* root =
      UIApplication::sharedApplication()->windows().front()->rootViewController();
  auto* alert = dynamic_cast<UIAlertController*>(root->presentedViewController());
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title()->string(), "Lonely");
  EXPECT_EQ(alert->message()->string(), "No information provided for this cell.");
  root->dismissViewController(false);
}

TEST_F(CustomCellsTest, SwitchWithInfoIsPurpleWithBlackThumb) {
  std::optional<page_model::Row> row = rowNamed(host().page(), "Enabled");
  const ViewNode* toggle = findNode(row->cell, "UISwitch");
  EXPECT_NEAR(toggle->control->onTint->red, 175 / 255.0, 1e-9);
  EXPECT_EQ(toggle->control->thumbTint->red, 0);
  EXPECT_NEAR(findNode(row->cell, "UIButton")->tintColor.blue, 222 / 255.0, 1e-9);
}

TEST_F(CustomCellsTest, SheetIsBuiltOnceAndPresentedAgain) {
  page_model::Page page = host().page();
  ASSERT_TRUE(host().tap(rowNamed(page, "What's New")->cell.id).ok());
  HostedViewController* first =
      host().navigationController()->topViewController()->presentedViewController();
  page = host().page();
  ASSERT_TRUE(page.sheet);
  EXPECT_EQ(page.sheet->title, "Changelog");
  EXPECT_EQ(page.sheet->detailText, "And bug fixes");
  ASSERT_EQ(page.sheet->items.size(), 1u);
  EXPECT_EQ(page.sheet->items[0].title, "Changelog / Fixes");
  EXPECT_EQ(page.sheet->items[0].image->source, "symbol:wrench.fill");
  EXPECT_EQ(page.sheet->backdropStyle, 2);
  EXPECT_EQ(page.sheet->presentationStyle, 2);
  EXPECT_TRUE(page.sheet->clearBackground);
  EXPECT_NEAR(page.sheet->tint->green, 0.6, 1e-9);
  ASSERT_TRUE(host().dismissSheet().ok());
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "What's New")->cell.id).ok());
  EXPECT_EQ(host().navigationController()->topViewController()->presentedViewController(), first);
  EXPECT_EQ(host().page().sheet->items.size(), 1u);
}

TEST_F(CustomCellsTest, FeaturesSheetHasTwoItemsAndTheBanner) {
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Features & Explanations")->cell.id).ok());
  page_model::Page page = host().page();
  ASSERT_TRUE(page.sheet);
  EXPECT_EQ(page.sheet->title, "Inital Release");
  EXPECT_EQ(page.sheet->detailText, "Supports iOS 15 - 17 || Rootless & Rootfull");
  ASSERT_EQ(page.sheet->items.size(), 2u);
  EXPECT_EQ(page.sheet->items[0].title, "Prolouge");
  EXPECT_EQ(page.sheet->items[1].title, "Features & Explanations");
  EXPECT_TRUE(page.sheet->items[1].description.starts_with("Separators:\n• Dynamic"));
  EXPECT_TRUE(page.sheet->items[1].description.ends_with("icon color\n\n"));
  EXPECT_EQ(page.sheet->backdropStyle, 1);
  ASSERT_TRUE(page.sheet->icon);
  EXPECT_TRUE(page.sheet->icon->source.ends_with("3dvitrelprefs.bundle/Assets/1.png"));
}

TEST_F(CustomCellsTest, TintCellClassIsBuiltAtRunTimeAndTintsTitles) {
  objc::Class* tint = objc_getClass("CorvinaTintCell");
  ASSERT_NE(tint, nullptr);
  EXPECT_EQ(class_getSuperclass(tint), objc_getClass("PSTableCell"));
  std::optional<page_model::Row> row = rowNamed(host().page(), "Context Menu");
  EXPECT_EQ(row->cellClass, "CorvinaTintCell");
  const ViewNode* title = findNode(row->cell, "UILabel");
  EXPECT_EQ(*title->text, "Context Menu");
  EXPECT_NEAR(title->textColor->red, 0.7, 1e-9);
  EXPECT_NEAR(title->highlightedTextColor->blue, 0.8, 1e-9);
}

TEST_F(CustomCellsTest, SegmentsShowTheImagesTheirTitlesName) {
  open("Context Menu");
  std::optional<page_model::Row> row = rowNamed(host().page(), "Icon Colour (Home Screen)");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->height, 60);
  const ViewNode* segments = findNode(row->cell, "UISegmentedControl");
  ASSERT_EQ(segments->control->segments.size(), 2u);
  EXPECT_TRUE(segments->control->segments[0].image->source.ends_with("dominant.png"));
  EXPECT_TRUE(segments->control->segments[0].image->original);
  EXPECT_TRUE(segments->control->segments[1].image->source.ends_with("palette.png"));
  EXPECT_EQ(segments->control->selectedIndex, 0);
  ASSERT_TRUE(host().selectSegment(segments->id, 1).ok());
  EXPECT_TRUE(propertyListsEqual(storedSettings()->objectForKey("colorMethodTavrelHS").get(),
                                 str("colorMethodTavrel").get()));
}

TEST_F(CustomCellsTest, SegmentWithoutImageKeepsItsTitle) {
  Ref<PSListController> page = makePage("MirraRootListController");
  Ref<PSSpecifier> row = specifier(page.get(), {{"key", str("k")}}, PSSegmentCell);
  row->setChoices({{str("a"), str("no-such-image"), nullptr}});
  Ref<PSTableCell> cell =
      objc::createInstance<PSTableCell>(objc_getClass("XXXSegmentTableImageCell"));
  cell =
      objc::msgSend<Ref<PSTableCell>>(cell, objc::sel("initWithStyle:reuseIdentifier:specifier:"),
                                      0L, str("S"), static_cast<NSObject*>(row.get()));
  objc::msgSend<void>(cell, objc::sel("refreshCellContentsWithSpecifier:"),
                      static_cast<NSObject*>(row.get()));
  auto* segments = dynamic_cast<UISegmentedControl*>(cell->control());
  EXPECT_FALSE(segments->segments()[0].image);
  EXPECT_EQ(segments->segments()[0].title->string(), "no-such-image");
}

TEST_F(CustomCellsTest, BannerShowsVersionUnknownOnceTheQueryReturns) {
  std::optional<page_model::Row> row = rowNamed(host().page(), "");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->cellClass, "MirraHeader");
  EXPECT_EQ(row->height, 100);
  background_queue::waitUntilIdle();
  turnMainLoopUntil([&] {
    std::optional<page_model::Row> banner = rowNamed(host().page(), "");
    for (const ViewNode& label : banner->cell.subviews.front().subviews) {
      if (label.text == "Version unknown" && label.alpha == 1) return true;
    }
    return false;
  });
  std::optional<page_model::Row> banner = rowNamed(host().page(), "");
  const ViewNode& content = banner->cell.subviews.front();
  ASSERT_GE(content.subviews.size(), 3u);
  const ViewNode& title = content.subviews[1];
  EXPECT_EQ(*title.text, "QUENBY");
  EXPECT_EQ(title.font->name, "HelveticaNeue-Light");
  ASSERT_EQ(title.fontRuns.size(), 1u);
  EXPECT_EQ(title.fontRuns[0].length, 4u);
  EXPECT_EQ(title.fontRuns[0].font.name, "HelveticaNeue");
  const ViewNode& version = content.subviews[2];
  EXPECT_EQ(*version.text, "Version unknown");
  EXPECT_EQ(version.alpha, 1);
}

TEST_F(CustomCellsTest, BannerStartsTwentyPointsLeftOnPad) {
  UIDevice::currentDevice()->setUserInterfaceIdiom(UIUserInterfaceIdiomPad);
  Ref<PSListController> page = makePage("MirraRootListController");
  Ref<PSSpecifier> banner =
      specifier(page.get(), {{"cellClass", str("MirraHeader")}}, PSStaticTextCell);
  page->setCurrentSpecifiers(NSArray::from({banner}).get());
  PSTableCell* cell = page->cellForSpecifier(banner.get());
  UIDevice::currentDevice()->setUserInterfaceIdiom(UIUserInterfaceIdiomPhone);
  background_queue::waitUntilIdle();
  EXPECT_EQ(cell->contentView()->subviews().at(1)->frame().origin.x, -20);
}

// A host re-reads the page when it hears of background work: by then what the work sent to
// the main queue (the banner's version) must come first on the main loop.
TEST_F(CustomCellsTest, TheHostHearsOfBackgroundWorkAfterItsResultIsOnTheMainQueue) {
  std::vector<std::string> order;
  background_queue::setObserver(
      [&order] { RunLoop::main().perform([&order] { order.push_back("host told"); }); });
  background_queue::async([&order] {
    dispatch_async(dispatch_get_main_queue(), [&order] { order.push_back("result"); });
  });
  background_queue::waitUntilIdle();
  background_queue::setObserver(nullptr);
  EXPECT_TRUE(turnMainLoopUntil([&order] { return order.size() == 2; }));
  EXPECT_EQ(order, (std::vector<std::string>{"result", "host told"}));
}

TEST_F(CustomCellsTest, DisabledButtonIsGrey) {
  Ref<PSListController> page = makePage("MirraRootListController");
  Ref<PSSpecifier> row = specifier(page.get(), {{"style", str("disabled")}}, PSButtonCell);
  Ref<PSTableCell> cell = objc::createInstance<PSTableCell>(objc_getClass("MirraButton"));
  cell =
      objc::msgSend<Ref<PSTableCell>>(cell, objc::sel("initWithStyle:reuseIdentifier:specifier:"),
                                      0L, str("B"), static_cast<NSObject*>(row.get()));
  cell->layoutIfNeeded();
  EXPECT_NEAR(cell->titleLabel()->textColor()->color().rgba()->red, 142 / 255.0, 1e-9);
}

TEST_F(CustomCellsTest, ToggleHasBlurBehindAndLargerTitle) {
  open("Separators (Home Screen)");
  std::optional<page_model::Row> row = rowNamed(host().page(), "Hide Bold Separators");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->cell.subviews.front().className, "UIVisualEffectView");
  EXPECT_EQ(row->cell.subviews.front().blurEffectStyle, 6);
  EXPECT_EQ(row->cell.subviews.front().frame.size.width, row->cell.frame.size.width);
  EXPECT_NEAR(findNode(row->cell, "UISwitch")->control->onTint->red, 0.5, 1e-9);
  EXPECT_EQ(findNode(row->cell, "UILabel")->font->size, 18);
}

}  // namespace
