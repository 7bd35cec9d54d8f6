#include "platform/preferences/framework/ps_list_controller.h"

#include <algorithm>

#include "platform/foundation/log.h"
#include "platform/preferences/framework/page_plist.h"
#include "platform/uikit/ui_navigation_controller.h"
#include "platform/uikit/ui_screen.h"

namespace {

objc::Class* defaultCellClass(PSCellType type) {
  switch (type) {
    case PSSliderCell:
      return objc_getClass("PSSliderTableCell");
    case PSSwitchCell:
      return objc_getClass("PSSwitchTableCell");
    case PSSegmentCell:
      return objc_getClass("PSSegmentTableCell");
    case PSEditTextCell:
    case PSSecureEditTextCell:
      return objc_getClass("PSEditableTableCell");
    default:
      return objc_getClass("PSTableCell");
  }
}

// The class a plist names in "cellClass" when it is a cell class, else the type's own.
objc::Class* cellClassFor(const PSSpecifier* specifier) {
  Ref<NSString> name = specifier->properties()->objectForKey<NSString>("cellClass");
  if (name) {
    objc::Class* named = objc_getClass(name->string());
    if (named && named->isSubclassOf(objc_getClass("PSTableCell"))) return named;
    NSLog("cell class %@ is not a cell class here; using the default", name.get());
  }
  return defaultCellClass(specifier->cellType());
}

UITableViewCellStyle styleFor(PSCellType type) {
  return type == PSTitleValueCell || type == PSLinkListCell ? UITableViewCellStyleValue1
                                                            : UITableViewCellStyleDefault;
}

// The class's own method, not one it inherits: the banner-style initialiser.
bool definesOwnSpecifierInitialiser(objc::Class* cls) {
  SEL initialiser = objc::sel("initWithSpecifier:");
  const objc::Method* method = class_getInstanceMethod(cls, initialiser);
  return method && method != class_getInstanceMethod(objc_getClass("PSTableCell"), initialiser);
}

}  // namespace

void PSListController::setCurrentSpecifiers(const NSArray* specifiers) {
  specifiers_ = specifiers ? NSMutableArray::mutableCopyOf(specifiers) : nullptr;
  if (!specifiers_) return;
  std::erase_if(cells_, [&](const auto& entry) {
    bool dropped =
        std::none_of(specifiers_->begin(), specifiers_->end(),
                     [&](const Ref<NSObject>& each) { return each.get() == entry.first; });
    if (dropped) entry.second->removeFromSuperview();
    return dropped;
  });
}

Ref<NSArray> PSListController::specifiers() {
  Ref<NSArray> list = objc::msgSend<Ref<NSArray>>(this, objc::sel("specifiers"));
  if (!specifiers_ && list) setCurrentSpecifiers(list.get());
  return specifiers_ ? Ref<NSArray>(specifiers_) : NSArray::from({});
}

NSBundle* PSListController::bundle() const {
  return NSBundle::bundleForClass(isa());
}

UITableView* PSListController::table() {
  return dynamic_cast<UITableView*>(view());
}

Ref<NSArray> PSListController::loadSpecifiersFromPlistName(const std::string& name,
                                                           NSObject* target) {
  SpecifierPlist page = loadSpecifierPlist(bundle(), name, target);
  if (page.title && !title()) setTitle(page.title);
  return NSArray::from(NSArray::Objects(page.specifiers.begin(), page.specifiers.end()));
}

void PSListController::insertSpecifier(Ref<PSSpecifier> specifier, const PSSpecifier* after) {
  if (!specifier) return;
  if (!specifiers_) specifiers_ = NSMutableArray::from({});
  const auto& list = specifiers_->objects();
  auto anchor = std::find_if(list.begin(), list.end(),
                             [&](const Ref<NSObject>& each) { return each.get() == after; });
  size_t index = anchor == list.end() ? list.size() : size_t(anchor - list.begin()) + 1;
  specifiers_->insertObject(std::move(specifier), index);
}

void PSListController::insertSpecifierAtIndex(Ref<PSSpecifier> specifier, size_t index) {
  if (!specifier) return;
  if (!specifiers_) specifiers_ = NSMutableArray::from({});
  specifiers_->insertObject(std::move(specifier), std::min(index, specifiers_->count()));
}

void PSListController::removeSpecifier(const PSSpecifier* specifier) {
  if (!specifiers_ || !specifier) return;
  specifiers_->removeObjectIdenticalTo(specifier);
  if (auto cell = cells_.find(specifier); cell != cells_.end()) {
    cell->second->removeFromSuperview();
    cells_.erase(cell);
  }
}

void PSListController::reloadSpecifiers() {
  for (auto& [specifier, cell] : cells_)
    cell->removeFromSuperview();
  cells_.clear();
  specifiers_ = nullptr;
  specifiers();
}

std::vector<PSListController::Section> PSListController::sections() {
  std::vector<Section> result;
  Ref<NSArray> list = specifiers();
  for (const Ref<NSObject>& object : *list) {
    auto* specifier = dynamic_cast<PSSpecifier*>(object.get());
    if (!specifier) continue;
    if (specifier->cellType() == PSGroupCell) {
      result.push_back({Ref<PSSpecifier>(specifier), {}});
      continue;
    }
    if (result.empty()) result.push_back({});
    bool isNew = !cells_.contains(specifier);
    Ref<PSTableCell> cell(cellForSpecifier(specifier));
    result.back().rows.push_back({Ref<PSSpecifier>(specifier), cell});
    NSObject* delegate = table()->delegate();
    SEL willDisplay = objc::sel("tableView:willDisplayCell:forRowAtIndexPath:");
    if (isNew && cell && objc::respondsTo(delegate, willDisplay)) {
      auto path = NSIndexPath::indexPathForRow(long(result.back().rows.size() - 1),
                                               long(result.size() - 1));
      objc::msgSend<void>(delegate, willDisplay, static_cast<NSObject*>(table()),
                          static_cast<NSObject*>(cell.get()), static_cast<NSObject*>(path.get()));
    }
  }
  return result;
}

PSTableCell* PSListController::cellForSpecifier(PSSpecifier* specifier) {
  if (!specifier) return nullptr;
  if (auto cell = cells_.find(specifier); cell != cells_.end()) return cell->second.get();
  Ref<PSTableCell> cell = makeCell(specifier);
  if (!cell) return nullptr;
  table()->addSubview(cell);
  return cells_.emplace(specifier, std::move(cell)).first->second.get();
}

Ref<PSTableCell> PSListController::makeCell(PSSpecifier* specifier) {
  objc::Class* cls = cellClassFor(specifier);
  Ref<PSTableCell> cell = objc::createInstance<PSTableCell>(cls);
  if (definesOwnSpecifierInitialiser(cls)) {
    cell = objc::msgSend<Ref<PSTableCell>>(cell, objc::sel("initWithSpecifier:"),
                                           static_cast<NSObject*>(specifier));
  } else {
    cell = objc::msgSend<Ref<PSTableCell>>(
        cell, objc::sel("initWithStyle:reuseIdentifier:specifier:"),
        static_cast<long>(styleFor(specifier->cellType())), NSString::from(class_getName(cls)),
        static_cast<NSObject*>(specifier));
  }
  if (!cell) return nullptr;
  if (!cell->specifier()) cell->setSpecifier(specifier);
  objc::msgSend<void>(cell, objc::sel("refreshCellContentsWithSpecifier:"),
                      static_cast<NSObject*>(specifier));
  return cell;
}

bool PSListController::selectSpecifier(PSSpecifier* specifier) {
  if (!specifier) return false;
  Ref<PSSpecifier> keepAlive(specifier);
  objc::Class* detail = specifier->detailControllerClass();
  if (detail && detail->isSubclassOf(objc_getClass("PSListController"))) {
    if (!navigationController()) return false;
    Ref<PSListController> page = objc::createInstance<PSListController>(detail);
    page->setSpecifier(specifier);
    page->setTitle(specifier->name());
    navigationController()->pushViewController(page, true);
    return true;
  }
  SEL action = specifier->action();
  if (!action || !objc::respondsTo(specifier->target(), action)) return false;
  if (std::string_view(sel_getName(action)).ends_with(':')) {
    objc::msgSend<void>(specifier->target(), action, static_cast<NSObject*>(specifier));
  } else {
    objc::msgSend<void>(specifier->target(), action);
  }
  return true;
}

void PSListController::refreshCells() {
  for (auto& [specifier, cell] : cells_) {
    objc::msgSend<void>(cell, objc::sel("refreshCellContentsWithSpecifier:"),
                        static_cast<NSObject*>(cell->specifier()));
  }
}

void defineListControllerClass() {
  objc::Class* list = objc::defineClass<PSListController, UIViewController>(
      "PSListController", objc_getClass("UIViewController"));
  objc::addMethod(list, "loadView", [](PSListController* self, SEL) {
    auto table = objc::make<UITableView>();
    table->setFrame(UIScreen::mainScreen()->bounds());
    table->setDelegate(self);
    self->adoptView(table);
  });
  objc::addMethod(
      list, "viewWillAppear:", [](PSListController* self, SEL, bool) { self->refreshCells(); });
  objc::addMethod(list, "specifiers", [](PSListController* self, SEL) {
    return self->currentSpecifiers() ? Ref<NSArray>(self->currentSpecifiers()) : NSArray::from({});
  });
  objc::addMethod(list, "loadSpecifiersFromPlistName:target:",
                  [](PSListController* self, SEL, NSString* name, NSObject* target) {
                    return self->loadSpecifiersFromPlistName(name ? name->string() : "", target);
                  });
  objc::addMethod(list, "insertSpecifier:afterSpecifier:animated:",
                  [](PSListController* self, SEL, PSSpecifier* specifier, PSSpecifier* after,
                     bool) { self->insertSpecifier(specifier, after); });
  objc::addMethod(list, "insertSpecifier:atIndex:animated:",
                  [](PSListController* self, SEL, PSSpecifier* specifier, long index, bool) {
                    self->insertSpecifierAtIndex(specifier, size_t(std::max(index, 0L)));
                  });
  objc::addMethod(list, "removeSpecifier:animated:",
                  [](PSListController* self, SEL, PSSpecifier* specifier, bool) {
                    self->removeSpecifier(specifier);
                  });
  objc::addMethod(list, "reloadSpecifiers",
                  [](PSListController* self, SEL) { self->reloadSpecifiers(); });
  objc::addMethod(list, "readPreferenceValue:", [](PSListController*, SEL, PSSpecifier* specifier) {
    return specifier ? specifier->propertyForKey("default") : nullptr;
  });
  objc::addMethod(list, "setPreferenceValue:specifier:",
                  [](PSListController*, SEL, NSObject*, PSSpecifier*) {});
  objc::addMethod(list, "bundle",
                  [](PSListController* self, SEL) { return Ref<NSBundle>(self->bundle()); });
  objc::addMethod(list, "table",
                  [](PSListController* self, SEL) { return Ref<UITableView>(self->table()); });
  // The rest of a hosted controller's methods; those above take precedence.
  addHostedControllerMethods(list);
}
