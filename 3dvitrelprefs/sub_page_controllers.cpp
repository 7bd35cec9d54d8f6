#include "sub_page_controllers.h"

#include <array>
#include <string_view>

#include "MirraBaseController.h"

namespace {

struct SubPage {
  std::string_view controller;
  std::string_view plist;
};

constexpr std::array<SubPage, 5> kSubPages{{
    {"SepSettingsCell", "SepSettingsLS"},
    {"BackgroundSettingsCell", "BackgroundSettings"},
    {"ContextMenuLabels", "ContextMenuSettings"},
    {"Expanded3DAdjustments", "ExpandedAdjusments"},
    {"SepSettingsHSCell", "SepSettingsHS"},
}};

// The plist a sub-page class loads.
std::string_view plistOf(const objc::Class* cls) {
  for (const SubPage& page : kSubPages) {
    if (page.controller == cls->name()) return page.plist;
  }
  return "";
}

Ref<NSArray> specifiers(SubPageController* self, SEL) {
  if (!self->currentSpecifiers() || self->currentSpecifiers()->count() == 0) {
    for (const objc::Class* cls = self->isa(); cls; cls = cls->superclass()) {
      if (std::string_view plist = plistOf(cls); !plist.empty()) {
        self->setCurrentSpecifiers(
            objc::msgSend<Ref<NSArray>>(self, objc::sel("loadSpecifiersFromPlistName:target:"),
                                        NSString::from(std::string(plist)),
                                        static_cast<NSObject*>(self))
                .get());
        break;
      }
    }
  }
  return Ref<NSArray>(self->currentSpecifiers());
}

}  // namespace

void defineSubPageControllers() {
  for (const SubPage& page : kSubPages) {
    objc::Class* cls = objc::defineClass<SubPageController, PSListController>(
        page.controller, objc_getClass("PSListController"));
    if (!cls) continue;
    objc::addMethod(cls, "specifiers", &specifiers);
    addSettingsOperations(cls);
  }
}
