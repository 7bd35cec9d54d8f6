#include "platform/foundation/ns_bundle.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "support/prefs_fixture.h"

namespace {

// A target with accessors of its own, as a plist's "get" and "set" may name.
class RecordingTarget : public NSObject {
 public:
  std::vector<std::string> calls;
};

objc::Class* recordingTargetClass() {
  static objc::Class* cls = [] {
    objc::Class* made = objc::defineClass<RecordingTarget, NSObject>("PrefsTestRecordingTarget");
    objc::addMethod(made, "readPreferenceValue:", [](RecordingTarget* self, SEL, PSSpecifier*) {
      self->calls.push_back("read");
      return Ref<NSObject>(str("through target"));
    });
    objc::addMethod(made, "setPreferenceValue:specifier:",
                    [](RecordingTarget* self, SEL, NSObject*, PSSpecifier*) {
                      self->calls.push_back("write");
                    });
    objc::addMethod(made, "customValue:", [](RecordingTarget* self, SEL, PSSpecifier*) {
      self->calls.push_back("customValue");
      return Ref<NSObject>(str("own getter"));
    });
    objc::addMethod(made, "setCustomValue:specifier:",
                    [](RecordingTarget* self, SEL, NSObject* value, PSSpecifier*) {
                      self->calls.push_back("setCustomValue " + describe(value));
                    });
    objc::addMethod(made, "pressed",
                    [](RecordingTarget* self, SEL) { self->calls.push_back("pressed"); });
    return made;
  }();
  return cls;
}

class FrameworkTest : public PrefsTest {
 protected:
  void SetUp() override {
    PrefsTest::SetUp();
    page = makePage("MirraBaseController");
    target = objc::createInstance<RecordingTarget>(recordingTargetClass());
    Ref<NSArray> loaded =
        objc::msgSend<Ref<NSArray>>(page, objc::sel("loadSpecifiersFromPlistName:target:"),
                                    str("Framework"), static_cast<NSObject*>(target.get()));
    for (const Ref<NSObject>& each : *loaded) {
      specifiers.push_back(Ref<PSSpecifier>(static_cast<PSSpecifier*>(each.get())));
    }
    page->setCurrentSpecifiers(loaded.get());
  }

  PSSpecifier* named(const std::string& name) {
    for (const Ref<PSSpecifier>& each : specifiers) {
      if (each->name() && each->name()->string() == name) return each.get();
    }
    return nullptr;
  }

  Ref<PSListController> page;
  Ref<RecordingTarget> target;
  std::vector<Ref<PSSpecifier>> specifiers;
};

TEST_F(FrameworkTest, PlistItemsBecomeSpecifiersInOrderSkippingUnknownCells) {
  ASSERT_EQ(specifiers.size(), 7u);
  EXPECT_EQ(specifiers[0]->cellType(), PSGroupCell);
  EXPECT_EQ(specifiers[1]->name()->string(), "Plain");
  EXPECT_EQ(specifiers[6]->cellType(), PSLinkCell);
  EXPECT_EQ(named("Skipped"), nullptr);
  EXPECT_TRUE(propertyListsEqual(specifiers[1]->properties()->objectForKey("default").get(),
                                 boolean(true).get()));
  EXPECT_EQ(specifiers[1]->target(), target.get());
}

TEST_F(FrameworkTest, LabelsAndTitlesAreLocalisedFromThePlistsTable) {
  EXPECT_EQ(specifiers[0]->name()->string(), "Localised Group");
  PSSpecifier* choice = named("Choice");
  ASSERT_EQ(choice->choices().size(), 2u);
  EXPECT_EQ(choice->titleForValue(NSNumber::numberWithLongLong(1).get())->string(), "One");
  EXPECT_EQ(choice->titleForValue(NSNumber::numberWithLongLong(2).get())->string(), "TWO");
  EXPECT_FALSE(choice->titleForValue(NSNumber::numberWithLongLong(3).get()));
}

TEST_F(FrameworkTest, BundleLocalisesWithFallbacks) {
  NSBundle* bundle = NSBundle::bundleForClass(objc_getClass("MirraRootListController"));
  EXPECT_EQ(bundle->bundlePath(), std::filesystem::weakly_canonical(bundleFolder()));
  EXPECT_EQ(bundle->localizedStringForKey("INFO_UNUSED", "", "Vitrel"),
            "Kept for older versions; it has no effect now.");
  EXPECT_EQ(bundle->localizedStringForKey("missing", "fallback", "Vitrel"), "fallback");
  EXPECT_EQ(bundle->localizedStringForKey("missing", "", "NoSuchTable"), "missing");
}

TEST_F(FrameworkTest, RuntimeBuiltClassesBelongToTheBundleOfTheirAncestor) {
  EXPECT_EQ(NSBundle::bundleForClass(objc_getClass("CorvinaTintCell")), NSBundle::mainBundle());
  EXPECT_EQ(NSBundle::bundleForClass(recordingTargetClass()), NSBundle::mainBundle());
}

TEST_F(FrameworkTest, RowsWithoutAccessorsGoThroughTheTarget) {
  PSSpecifier* plain = named("Plain");
  Ref<NSObject> value = plain->performGetter();
  EXPECT_EQ(describe(value.get()), "through target");
  objc::msgSend<void>(plain, objc::sel("performSetterWithValue:"),
                      static_cast<NSObject*>(boolean(false).get()));
  EXPECT_EQ(target->calls, (std::vector<std::string>{"read", "write"}));
}

TEST_F(FrameworkTest, RowsWithTheirOwnAccessorsUseThem) {
  PSSpecifier* own = named("Own");
  EXPECT_EQ(describe(own->performGetter().get()), "own getter");
  own->performSetterWithValue(str("x").get());
  EXPECT_EQ(target->calls, (std::vector<std::string>{"customValue", "setCustomValue x"}));
}

TEST_F(FrameworkTest, SwitchCellShowsAndWritesThroughItsSpecifier) {
  PSTableCell* cell = page->cellForSpecifier(named("Plain"));
  ASSERT_EQ(class_getName(cell->isa()), std::string("PSSwitchTableCell"));
  auto* toggle = dynamic_cast<UISwitch*>(cell->control());
  EXPECT_TRUE(toggle->isOn());  // "through target" reads as true, as the platform's strings do
  toggle->setOn(false);
  toggle->sendActionsForControlEvents(UIControlEventValueChanged);
  EXPECT_EQ(target->calls.back(), "write");
}

TEST_F(FrameworkTest, CellClassNamedByThePlistIsUsedEvenWhenBuiltAtRunTime) {
  PSTableCell* tinted = page->cellForSpecifier(named("Tinted"));
  EXPECT_EQ(class_getName(tinted->isa()), std::string("CorvinaTintCell"));
  EXPECT_EQ(tinted->titleLabel()->text()->string(), "Tinted");

  objc::Class* built =
      objc_allocateClassPair(objc_getClass("PSSwitchTableCell"), "PrefsTestRuntimeCell", 0);
  ASSERT_NE(built, nullptr);
  objc::addMethod(built, "setTitle:", [](PSTableCell* self, SEL cmd, NSString* title) {
    objc::msgSendSuper<void>(objc_getClass("PrefsTestRuntimeCell"), self, cmd,
                             NSString::from("<" + title->string() + ">"));
  });
  objc_registerClassPair(built);
  Ref<PSSpecifier> row =
      specifier(target.get(), {{"cellClass", str("PrefsTestRuntimeCell")}, {"key", str("k")}});
  row->setName(str("Built"));
  page->insertSpecifier(row, nullptr);
  PSTableCell* cell = page->cellForSpecifier(row.get());
  EXPECT_EQ(class_getName(cell->isa()), std::string("PrefsTestRuntimeCell"));
  EXPECT_EQ(cell->titleLabel()->text()->string(), "<Built>");
  EXPECT_NE(cell->control(), nullptr);
}

TEST_F(FrameworkTest, CellClassThatIsNoCellFallsBackToTheDefault) {
  Ref<PSSpecifier> row = specifier(target.get(), {{"cellClass", str("NSString")}});
  page->insertSpecifier(row, nullptr);
  EXPECT_EQ(class_getName(page->cellForSpecifier(row.get())->isa()),
            std::string("PSSwitchTableCell"));
}

TEST_F(FrameworkTest, ButtonRowsSendTheirAction) {
  EXPECT_TRUE(page->selectSpecifier(named("Press")));
  EXPECT_EQ(target->calls.back(), "pressed");
  EXPECT_FALSE(page->selectSpecifier(named("Plain")));
}

TEST_F(FrameworkTest, InsertAndRemoveChangeTheCurrentList) {
  Ref<PSSpecifier> row = specifier(target.get(), {});
  objc::msgSend<void>(page, objc::sel("insertSpecifier:afterSpecifier:animated:"),
                      static_cast<NSObject*>(row.get()), static_cast<NSObject*>(named("Plain")),
                      true);
  EXPECT_EQ(page->currentSpecifiers()->objectAtIndex(2).get(), row.get());
  objc::msgSend<void>(page, objc::sel("removeSpecifier:animated:"),
                      static_cast<NSObject*>(row.get()), true);
  EXPECT_EQ(page->currentSpecifiers()->count(), 7u);
}

TEST_F(FrameworkTest, MissingPlistGivesAnEmptyPage) {
  Ref<NSArray> loaded =
      objc::msgSend<Ref<NSArray>>(page, objc::sel("loadSpecifiersFromPlistName:target:"),
                                  str("NoSuchPage"), static_cast<NSObject*>(page.get()));
  EXPECT_EQ(loaded->count(), 0u);
}

TEST_F(FrameworkTest, LinkRowsPushThePageTheyName) {
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Expanded Notifications")->cell.id).ok());
  page_model::Page pushed = host().page();
  EXPECT_EQ(pushed.controllerClass, "Expanded3DAdjustments");
  EXPECT_EQ(pushed.depth, 2u);
  ASSERT_TRUE(host().goBack().ok());
  EXPECT_EQ(host().page().controllerClass, "MirraRootListController");
}

TEST_F(FrameworkTest, ActionsOnViewsNotOnThePageFail) {
  EXPECT_FALSE(host().tap("v0").ok());
  EXPECT_FALSE(host().setSwitch(rowNamed(host().page(), "Enabled")->cell.id, true).ok());
  EXPECT_FALSE(host().chooseAlertAction(0).ok());
  EXPECT_FALSE(host().dismissSheet().ok());
}

TEST_F(FrameworkTest, EditTextRowsWriteWhatIsTyped) {
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Context Menu")->cell.id).ok());
  std::optional<page_model::Row> row = rowNamed(host().page(), "Titles to Remove");
  ASSERT_TRUE(row);
  const page_model::ViewNode* field = findNode(row->cell, "UITextField");
  EXPECT_EQ(*field->placeholder, "Share App;Remove App");
  ASSERT_TRUE(host().setText(field->id, "Share App;Edit Home Screen").ok());
  EXPECT_EQ(describe(storedSettings()->objectForKey("titlesToRemove").get()),
            "Share App;Edit Home Screen");
}

}  // namespace
