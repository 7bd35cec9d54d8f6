#include "MirraBaseController.h"
#include "platform/foundation/audio_services.h"
#include "platform/uikit/image_loading.h"
#include "platform/uikit/view_extras.h"
#include "source/settings/root_path.h"

namespace {

// In the classic layout; resolved through the root path like every file of the bundle.
constexpr const char* kBannerPath = "/Library/PreferenceBundles/3dvitrelprefs.bundle/Assets/1.png";
constexpr SystemSoundID kTickSound = 1521;

constexpr const char* kChangelog =
    "  - Fixed Separator Hidden Logic \n\n"
    "- Fixed ios => 16 Hooks (Coloring, Separators) \n\n"
    "- Fixed HomeScreen 3D Expanded Coloring, Now its merged with HomeScreen Settings \n\n"
    " - Added proper description to sileo \n\n"
    "- Added new features & explanations button (exclamation mark icon)";

constexpr const char* kSignOff =
    "Thank you for trying Vitrel. Every setting applies as soon as you change it; respring "
    "to start afresh.";

constexpr const char* kFeatures =
    "Separators:\n"
    "• Dynamic Color Bold Separators - will color bold separators with icon color \n"
    "\n"
    "• Dynamic Color Thin Separators - will color this separators with icon color \n"
    "\n"
    "• Thickness Adjustment - will change the thickness of the separators (both thin and bold) \n"
    "\n"
    "• Sides Trim (Width) Adjustment - width of both of separators (higher value = less width) \n"
    "\n"
    "Context Menu:\n"
    "• Border - will create a border, dynamic background coloring should be disable if using this "
    "feature (beacuse then the border will not be seen......) \n"
    "\n"
    "• Dynamic Border Coloring - will color the border of the menu with icon color (automatically "
    "when setting a border) \n"
    "\n"
    "• Vitrel Background - will remove original dark/light background and replace this with a "
    "vitrel blur background\n"
    "\n"
    "• Dynamic Primary Icon Background Color - will color the background with icon color \n"
    "\n"
    "• Dynamic Primary Label Coloring - will color the labels of the menu with icon color \n"
    "\n"
    "• Hide Separators - can hide bold / thin separately \n"
    "\n"
    "• Dynamic Cell Hiding - will hide 3d menu cells , to hide multiple cells please use ';' "
    "between (i.e Remove App;Share) \n"
    "\n"
    "• Custom Corner Radius\n"
    "\n"
    "Expanded 3D Menu (long pressing on a notification)\n"
    "• Dynamic Primary Icon Title Coloring - will color the title of the expanded lockscreen "
    "notificcation with icon color \n"
    "\n"
    "• Dynamic Primary Subtitle Coloring - will color the subtitle of the expanded lockscreen "
    "notification with icon color \n"
    "\n"
    "• Dynamic Primary Background Coloring - will color the background of the expanded "
    "lockscreen notification with icon color\n"
    "\n";

struct Item {
  const char* title;
  const char* symbol;
  const char* description;
};

struct SheetContent {
  const char* title;
  const char* detailText;
  long backdropStyle;
  std::vector<Item> items;
};

Ref<OBWelcomeController> makeSheet(const SheetContent& content, Ref<UIImage> icon) {
  Ref<OBWelcomeController> sheet =
      objc::createInstance<OBWelcomeController>(objc_getClass("OBWelcomeController"));
  sheet = objc::msgSend<Ref<OBWelcomeController>>(
      sheet, objc::sel("initWithTitle:detailText:icon:"), NSString::from(content.title),
      NSString::from(content.detailText), icon);
  for (const Item& item : content.items) {
    objc::msgSend<void>(sheet, objc::sel("addBulletedListItemWithTitle:description:image:"),
                        NSString::from(item.title), NSString::from(item.description),
                        systemImageNamed(item.symbol));
  }
  Ref<NSObject> settings =
      objc::msgSend<Ref<NSObject>>(objc_getClass("_UIBackdropViewSettings"),
                                   objc::sel("settingsForStyle:"), content.backdropStyle);
  Ref<UIView> backdrop = objc::createInstance<UIView>(objc_getClass("_UIBackdropView"));
  backdrop = objc::msgSend<Ref<UIView>>(
      backdrop, objc::sel("initWithFrame:autosizesToFitSuperview:settings:"), CGRectZero, true,
      settings);
  UIView* view = sheet->view();
  if (backdrop) {
    backdrop->setClipsToBounds(true);
    view->insertSubview(backdrop, 0);
  }
  view->setBackgroundColor(UIColor::clearColor());
  setTintColor(view, UIColor::colorWithRed(0.7, 0.6, 0.8, 1.0));
  sheet->setModalPresentationStyle(UIModalPresentationFormSheet);
  return sheet;
}

// Plays the tick, then presents the sheet kept in `field`, making it on first use.
void present(MirraBaseController* self, Ref<OBWelcomeController>& field,
             const SheetContent& content) {
  AudioServicesPlaySystemSound(kTickSound);
  char banner[kRootPathBufferSize] = {};
  Ref<UIImage> icon = imageWithContentsOfFile(libroot_dyn_jbrootpath(kBannerPath, banner));
  if (!field) field = makeSheet(content, icon);
  self->presentViewController(field, true);
}

}  // namespace

void addWelcomeSheets(objc::Class* page) {
  objc::addMethod(page, "showWtfChangedInThisVersion2", [](MirraBaseController* self, SEL) {
    present(self, self->changelogController2,
            {"Changelog", "And bug fixes", 2, {{"Changelog / Fixes", "wrench.fill", kChangelog}}});
  });
  objc::addMethod(page, "showWtfChangedInThisVersion", [](MirraBaseController* self, SEL) {
    present(self, self->changelogController,
            {"Inital Release",
             "Supports iOS 15 - 17 || Rootless & Rootfull",
             1,
             {{"Prolouge", "applelogo", kSignOff},
              {"Features & Explanations", "exclamationmark.circle.fill", kFeatures}}});
  });
}
