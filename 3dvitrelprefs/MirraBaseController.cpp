#include "MirraBaseController.h"

#include <algorithm>

#include "settings_store.h"

namespace {

Ref<NSMutableArray> dynamicSpecifiersFromPlist(MirraBaseController* self, SEL, NSString* name) {
  Ref<NSArray> loaded = objc::msgSend<Ref<NSArray>>(
      self, objc::sel("loadSpecifiersFromPlistName:target:"), name, static_cast<NSObject*>(self));
  Ref<NSMutableArray> specifiers = NSMutableArray::mutableCopyOf(loaded.get());
  self->savedSpecifiers = NSArray::from(specifiers->objects());
  for (size_t i = specifiers->count(); i-- > 0;) {
    if (!objc::msgSend<bool>(self, objc::sel("isSpecifierVisible:"),
                             specifiers->objectAtIndex(i))) {
      specifiers->removeObjectAtIndex(i);
    }
  }
  return specifiers;
}

bool isCurrent(MirraBaseController* self, const NSObject* specifier) {
  const NSArray* current = self->currentSpecifiers();
  if (!current) return false;
  return std::any_of(current->begin(), current->end(),
                     [&](const Ref<NSObject>& each) { return each.get() == specifier; });
}

Ref<NSObject> lastSpecifier(MirraBaseController* self) {
  const NSArray* current = self->currentSpecifiers();
  return current && current->count() > 0 ? current->objectAtIndex(current->count() - 1) : nullptr;
}

// Brings the current list in line with the saved one after the settings changed: rows that
// became hidden go, rows that became visible come back after their saved predecessor when it
// is shown, else at the end of the page (the first row, which has no predecessor, at the top).
void updateSpecifiers(MirraBaseController* self) {
  Ref<NSArray> saved = self->savedSpecifiers;
  if (!saved) return;
  for (size_t i = 0; i < saved->count(); ++i) {
    Ref<NSObject> specifier = saved->objectAtIndex(i);
    bool visible = objc::msgSend<bool>(self, objc::sel("isSpecifierVisible:"), specifier);
    if (isCurrent(self, specifier.get())) {
      if (!visible) {
        objc::msgSend<void>(self, objc::sel("removeSpecifier:animated:"), specifier, true);
      }
      continue;
    }
    if (!visible) continue;
    if (i == 0) {
      objc::msgSend<void>(self, objc::sel("insertSpecifier:atIndex:animated:"), specifier, 0L,
                          true);
      continue;
    }
    Ref<NSObject> predecessor = saved->objectAtIndex(i - 1);
    Ref<NSObject> anchor = isCurrent(self, predecessor.get()) ? predecessor : lastSpecifier(self);
    objc::msgSend<void>(self, objc::sel("insertSpecifier:afterSpecifier:animated:"), specifier,
                        anchor, true);
  }
  if (objc::isKindOf(self, objc_getClass("MirraRootListController"))) {
    objc::msgSend<void>(self, objc::sel("reloadSpecifiers"));
  }
}

}  // namespace

Ref<UIColor> accentColor() {
  return UIColor::colorWithRed(0.5, 0.3, 0.55, 1.0);
}

void addSettingsOperations(objc::Class* page) {
  objc::addMethod(page, "isSpecifierVisible:", [](PSListController*, SEL, PSSpecifier* specifier) {
    return settings_store::isSpecifierVisible(specifier);
  });
  objc::addMethod(page, "readPreferenceValue:", [](PSListController*, SEL, PSSpecifier* specifier) {
    return settings_store::readPreferenceValue(specifier);
  });
  objc::addMethod(page, "setPreferenceValue:specifier:",
                  [](PSListController*, SEL, NSObject* value, PSSpecifier* specifier) {
                    settings_store::setPreferenceValue(value, specifier);
                  });
}

objc::Class* defineMirraBaseController() {
  objc::Class* base = objc::defineClass<MirraBaseController, PSListController>(
      "MirraBaseController", objc_getClass("PSListController"));
  if (!base) return nullptr;
  addSettingsOperations(base);
  objc::addMethod(base, "specifiers", [](MirraBaseController* self, SEL) {
    if (!self->currentSpecifiers() || self->currentSpecifiers()->count() == 0) {
      self->setCurrentSpecifiers(
          objc::msgSend<Ref<NSArray>>(self, objc::sel("loadSpecifiersFromPlistName:target:"),
                                      NSString::from("Root"), static_cast<NSObject*>(self))
              .get());
    }
    return Ref<NSArray>(self->currentSpecifiers());
  });
  objc::addMethod(base, "dynamicSpecifiersFromPlist:", &dynamicSpecifiersFromPlist);
  objc::addMethod(base, "updateSpecifiers",
                  [](MirraBaseController* self, SEL) { updateSpecifiers(self); });
  objc::addMethod(base, "savedSpecifiers",
                  [](MirraBaseController* self, SEL) { return self->savedSpecifiers; });
  objc::addMethod(base, "setSavedSpecifiers:", [](MirraBaseController* self, SEL, NSArray* list) {
    self->savedSpecifiers = list;
  });
  addPageDressing(base);
  addWelcomeSheets(base);
  addRespring(base);
  return base;
}
