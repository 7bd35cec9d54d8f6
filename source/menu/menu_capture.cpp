#include "source/menu/menu_capture.h"

#include <algorithm>

#include "platform/foundation/log.h"
#include "platform/uikit/rendering/image_context.h"
#include "platform/uikit/ui_screen.h"
#include "source/colorizer/tavrel2_colorizer.h"
#include "source/colors/image_quenby.h"
#include "source/menu/menu_state.h"
#include "source/settings/settings.h"

namespace menu_capture {
namespace {

using objc::msgSend;
using objc::sel;

// The app the pressed icon stands for: a folder's first app, else the icon's own app.
Ref<NSString> pressedBundleIdentifier(SBIconView* iconView) {
  Ref<NSObject> folder = msgSend<Ref<NSObject>>(iconView, sel("folder"));
  Ref<NSArray> icons = msgSend<Ref<NSArray>>(folder, sel("icons"));
  if (folder && icons && icons->count() > 0 && icons->firstObject()) {
    return msgSend<Ref<NSString>>(icons->firstObject(), sel("applicationBundleID"));
  }
  Ref<NSObject> icon = msgSend<Ref<NSObject>>(iconView, sel("icon"));
  return msgSend<Ref<NSString>>(icon, sel("applicationBundleID"));
}

// The icon's picture: what its image view shows, replaced by the system's icon for the app
// when there is an app, and a snapshot of the icon view when neither gives an image.
Ref<UIImage> pressedImage(SBIconView* iconView, NSString* bundleIdentifier) {
  Ref<UIImage> image;
  Ref<NSObject> imageView = msgSend<Ref<NSObject>>(iconView, sel("currentImageView"));
  if (imageView && objc::respondsTo(imageView.get(), sel("displayedImage"))) {
    image = msgSend<Ref<UIImage>>(imageView, sel("displayedImage"));
  }
  if (bundleIdentifier) {
    image = msgSend<Ref<UIImage>>(objc_getClass("UIImage"),
                                  sel("_applicationIconImageForBundleIdentifier:format:scale:"),
                                  bundleIdentifier, 2, UIScreen::mainScreen()->scale());
  }
  if (!image) {
    CGRect frame = iconView->frame();
    UIGraphicsBeginImageContextWithOptions(iconView->bounds().size, false, 0.0);
    msgSend<bool>(iconView, sel("drawViewHierarchyInRect:afterScreenUpdates:"),
                  CGRectMake(0, 0, frame.size.width, frame.size.height), true);
    image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
  }
  return image;
}

bool usesColorizer(const Ref<NSString>& method) {
  return method && method->string() == "colorMethodTavrel";
}

// Makes the pressed icon's menu an icon's, with the icon's app and colour.
void captureIconColor(SBIconView* iconView) {
  MenuState& state = menuState();
  state.isSBContextMenu = true;
  NSLog("ZQK containerViewForPresentingContextMenuForIconView");
  state.bundleIdentifier = pressedBundleIdentifier(iconView);
  if (Ref<UIImage> image = pressedImage(iconView, state.bundleIdentifier.get())) {
    if (usesColorizer(settings().colorMethodTavrelHS)) {
      auto colorizer = Tavrel2Colorizer::initWithIdentifier(state.bundleIdentifier);
      colorizer.setAppIcon(image);
      state.color = colorizer.iconColor();
    } else {
      state.color = mirraDominantColor(image.get());
    }
  }
}

}  // namespace

hook_boundary::HostMethod hostApplicationShortcutItems;
hook_boundary::HostMethod hostContainerViewForPresentingContextMenu;

Ref<NSArray> applicationShortcutItems(SBIconView* self, SEL cmd) {
  Ref<NSArray> hostItems = hostApplicationShortcutItems.call<Ref<NSArray>>(self, cmd);
  if (!settings().enabled) return hostItems;
  Ref<NSMutableArray> items = NSMutableArray::mutableCopyOf(hostItems.get());
  Ref<NSObject> setting =
      GetNSString(NSString::from("titlesToRemove").get(), NSString::from("").get());
  // A value that is not text removes what the empty text removes: items without a title.
  auto* text = dynamic_cast<NSString*>(setting.get());
  std::vector<std::string> titles =
      text ? text->componentsSeparatedByString(";") : std::vector<std::string>{""};
  for (const Ref<NSObject>& item : NSArray::Objects(items->objects())) {
    Ref<NSString> title = msgSend<Ref<NSString>>(item, sel("localizedTitle"));
    if (title && std::find(titles.begin(), titles.end(), title->string()) != titles.end()) {
      items->removeObjectIdenticalTo(item.get());
    }
  }
  return items;
}

Ref<UIView> containerViewForPresentingContextMenuForIconView(SBIconController* self, SEL cmd,
                                                             SBIconView* iconView) {
  if (settings().enabled) captureIconColor(iconView);
  return hostContainerViewForPresentingContextMenu.call<Ref<UIView>>(self, cmd, iconView);
}

}  // namespace menu_capture
