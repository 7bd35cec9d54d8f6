#include "platform/springboard/sb_icon.h"

#include "platform/springboard/internal/class_definitions.h"

namespace springboard_classes {

void defineIconModelClasses(const SystemHas& systemHas) {
  if (!systemHas("SBIcon")) return;
  objc::Class* icon = objc::defineClass<SBIcon, NSObject>("SBIcon");
  objc::addMethod(icon, "displayName",
                  [](SBIcon* self, SEL) { return Ref<NSString>(self->displayName()); });
  objc::addMethod(icon, "applicationBundleID", [](SBIcon*, SEL) { return Ref<NSString>(); });
  objc::addMethod(icon, "folder", [](SBIcon*, SEL) { return Ref<SBFolder>(); });
  objc::addMethod(icon, "isFolderIcon", [](SBIcon*, SEL) { return false; });

  objc::addMethod(
      objc::defineClass<SBApplicationIcon, SBIcon>("SBApplicationIcon"), "applicationBundleID",
      [](SBApplicationIcon* self, SEL) { return Ref<NSString>(self->applicationBundleID()); });
  // Home-screen bookmarks ("web clips"): icons that are not apps.
  objc_registerClassPair(objc_allocateClassPair(icon, "SBBookmarkIcon", 0));

  objc::Class* folderIcon = objc::defineClass<SBFolderIcon, SBIcon>("SBFolderIcon");
  objc::addMethod(folderIcon, "folder",
                  [](SBFolderIcon* self, SEL) { return Ref<SBFolder>(self->folder()); });
  objc::addMethod(folderIcon, "isFolderIcon", [](SBFolderIcon*, SEL) { return true; });

  objc::Class* folder = objc::defineClass<SBFolder, NSObject>("SBFolder");
  objc::addMethod(folder, "icons", [](SBFolder* self, SEL) {
    return NSArray::from(NSArray::Objects(self->icons().begin(), self->icons().end()));
  });
  objc::addMethod(folder, "displayName",
                  [](SBFolder* self, SEL) { return Ref<NSString>(self->displayName()); });
}

}  // namespace springboard_classes
