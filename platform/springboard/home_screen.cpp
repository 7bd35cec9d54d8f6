#include "platform/springboard/home_screen.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/runtime/no_destructor.h"
#include "platform/springboard/context_menu.h"
#include "platform/springboard/dock_view.h"
#include "platform/springboard/folder_view.h"
#include "platform/springboard/hit_testing.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_screen.h"

namespace {

using objc::msgSend;
using objc::sel;

// The actions the system adds to every icon's menu, after the app's own.
const std::vector<std::string> kAppActions = {"Share App", "Edit Home Screen", "Remove App"};
const std::vector<std::string> kFolderActions = {"Rename", "Edit Home Screen", "Remove Folder"};
const std::vector<std::string> kWebClipActions = {"Share Bookmark", "Edit Home Screen",
                                                  "Remove Bookmark"};
const std::vector<std::string> kNotificationActions = {"Mute for 1 hour", "Mute for Today"};
const std::vector<std::string> kNotificationSettings = {"Turn Off…", "View Settings"};

constexpr int kColumns = 4;
constexpr double kGridTop = 64, kRowHeight = 104;

// The catalogue the system's icon requests are answered from, and the icons it has drawn: the
// system keeps icons it has drawn rather than decoding their artwork on every request.
struct IconSource {
  std::shared_ptr<const AppCatalogue> catalogue;
  std::map<std::pair<std::string, double>, Ref<UIImage>, std::less<>> drawn;
};

IconSource& iconSource() {
  static objc::NoDestructor<IconSource> source;
  return *source;
}

void answerIconRequests(std::shared_ptr<const AppCatalogue> catalogue) {
  iconSource() = {std::move(catalogue), {}};
  // Format 2 is the home screen's icon, 60 points, at the scale asked for.
  objc::addClassMethod(
      objc_getClass("UIImage"), "_applicationIconImageForBundleIdentifier:format:scale:",
      [](objc::Class*, SEL, NSString* bundleIdentifier, int format, double scale) -> Ref<UIImage> {
        IconSource& source = iconSource();
        if (!source.catalogue || !bundleIdentifier || format != 2) return nullptr;
        auto key = std::make_pair(bundleIdentifier->string(), scale);
        auto found = source.drawn.find(key);
        if (found == source.drawn.end()) {
          found = source.drawn.emplace(key, source.catalogue->iconImage(key.first, scale)).first;
        }
        return found->second;
      });
}

// A soft evening sky, darker in the dark style: enough light and shade for glass to blur.
Ref<UIImage> wallpaper(bool dark) {
  constexpr int kWidth = 130, kHeight = 282;
  std::vector<uint8_t> pixels(4 * kWidth * kHeight);
  auto mix = [](double a, double b, double t) { return a + (b - a) * t; };
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      double t = double(y) / kHeight,
             glow = std::exp(-(std::pow(x - 95.0, 2) + std::pow(y - 70.0, 2)) / 1800);
      double r = mix(0.24, 0.93, t) + 0.35 * glow, g = mix(0.31, 0.52, t) + 0.25 * glow,
             b = mix(0.72, 0.46, t) + 0.1 * glow;
      double shade = dark ? 0.38 : 1.0;
      uint8_t* p = pixels.data() + 4 * (y * kWidth + x);
      p[0] = uint8_t(std::clamp(r * shade, 0.0, 1.0) * 255);
      p[1] = uint8_t(std::clamp(g * shade, 0.0, 1.0) * 255);
      p[2] = uint8_t(std::clamp(b * shade, 0.0, 1.0) * 255);
      p[3] = 255;
    }
  }
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(kWidth, kHeight, std::move(pixels)));
}

Ref<UIView> filledView(const CGRect& bounds) {
  auto view = objc::make<UIView>();
  view->setFrame(bounds);
  return view;
}

std::vector<Ref<SBSApplicationShortcutItem>> shortcutItems(const std::vector<std::string>& own,
                                                           const std::vector<std::string>& system) {
  std::vector<Ref<SBSApplicationShortcutItem>> items;
  for (const auto& titles : {own, system}) {
    for (const auto& title : titles)
      items.push_back(SBSApplicationShortcutItem::itemWithTitle(title));
  }
  return items;
}

bool isSystemAction(const std::string& title) {
  for (const auto* actions : {&kAppActions, &kFolderActions, &kWebClipActions}) {
    if (std::find(actions->begin(), actions->end(), title) != actions->end()) return true;
  }
  return false;
}

// What the view shows, as a picture at the screen's scale: the preview a long-press lifts
// above the dimmed screen is a snapshot of the pressed icon's artwork (an app's image, a
// folder's tile with its apps), not the icon view itself.
Ref<UIView> snapshot(const UIView* view) {
  const double scale = UIScreen::mainScreen()->scale();
  auto picture = objc::make<UIImageView>();
  picture->setImage(UIImage::imageWithBitmap(renderView(view, scale), scale));
  picture->setFrame(view->bounds());
  return picture;
}

// Every view of the subtree hears that it entered or left the window, parents first.
void announceWindow(UIView* view) {
  msgSend<void>(view, sel("didMoveToWindow"));
  std::vector<Ref<UIView>> subviews = view->subviews();
  for (const auto& subview : subviews)
    announceWindow(subview.get());
}

}  // namespace

HomeScreen::HomeScreen(std::shared_ptr<const AppCatalogue> catalogue)
    : catalogue_(std::move(catalogue)) {
  answerIconRequests(catalogue_);
  window_ = filledView(UIScreen::mainScreen()->bounds());
  banner_ = std::make_unique<NotificationBanner>(window_->bounds());
  buildHomeScreen();
  buildLockScreen();
  paintWallpapers();
  window_->addSubview(homeScreen_);
  SBIconController::sharedInstance()->setContextMenuContainer(filledView(window_->bounds()));
}

const char* kindName(PressTarget::Kind kind) {
  switch (kind) {
    case PressTarget::Kind::app:
      return "app";
    case PressTarget::Kind::folder:
      return "folder";
    case PressTarget::Kind::webClip:
      return "webclip";
    case PressTarget::Kind::notification:
      return "notification";
  }
  return "app";
}

CGRect homeScreenIconFrame(size_t place, double screenWidth) {
  const double gap = (screenWidth - kColumns * SBIconView::kSize.width) / (kColumns + 1);
  const int column = static_cast<int>(place % kColumns), row = static_cast<int>(place / kColumns);
  return {{gap + column * (SBIconView::kSize.width + gap), kGridTop + row * kRowHeight},
          SBIconView::kSize};
}

namespace {

Ref<SBIcon> appIcon(const AppCatalogue& catalogue, const std::string& bundleIdentifier,
                    double scale) {
  auto icon = objc::make<SBApplicationIcon>();
  icon->setApplicationBundleID(NSString::from(bundleIdentifier));
  icon->setImage(catalogue.iconImage(bundleIdentifier, scale));
  if (const AppEntry* app = catalogue.app(bundleIdentifier)) {
    icon->setDisplayName(NSString::from(app->name));
  }
  return icon;
}

// A bookmark: no app behind it, its own artwork.
Ref<SBIcon> webClipIcon(const AppCatalogue& catalogue, const WebClipEntry& clip, double scale) {
  auto icon = objc::createInstance<SBIcon>(objc_getClass("SBBookmarkIcon"));
  icon->setImage(catalogue.webClipImage(clip.name, scale));
  icon->setDisplayName(NSString::from(clip.name));
  return icon;
}

Ref<SBIcon> catalogueIcon(const AppCatalogue& catalogue, const HomeScreenIcon& entry,
                          double scale) {
  switch (entry.kind) {
    case HomeScreenIcon::Kind::app:
      return appIcon(catalogue, catalogue.apps()[entry.index].bundleIdentifier, scale);
    case HomeScreenIcon::Kind::webClip:
      return webClipIcon(catalogue, catalogue.webClips()[entry.index], scale);
    case HomeScreenIcon::Kind::folder:
      break;
  }
  const FolderEntry& folderEntry = catalogue.folders()[entry.index];
  auto folder = objc::make<SBFolder>();
  folder->setDisplayName(NSString::from(folderEntry.name));
  std::vector<Ref<SBIcon>> icons;
  for (const HomeScreenIcon& member : folderEntry.icons)
    icons.push_back(catalogueIcon(catalogue, member, scale));
  folder->setIcons(std::move(icons));
  auto icon = objc::make<SBFolderIcon>();
  icon->setFolder(folder);
  icon->setDisplayName(NSString::from(folderEntry.name));
  return icon;
}

// An icon view showing the icon, with the actions its menu offers.
Ref<SBIconView> iconViewFor(const AppCatalogue& catalogue, Ref<SBIcon> icon) {
  std::vector<Ref<SBSApplicationShortcutItem>> items;
  if (auto* app = dynamic_cast<SBApplicationIcon*>(icon.get())) {
    const AppEntry* entry = catalogue.app(app->applicationBundleID()->string());
    items = shortcutItems(entry ? entry->shortcutTitles : std::vector<std::string>{}, kAppActions);
  } else if (dynamic_cast<SBFolderIcon*>(icon.get())) {
    items = shortcutItems({}, kFolderActions);
  } else {
    items = shortcutItems({}, kWebClipActions);
  }
  auto iconView = objc::make<SBIconView>();
  iconView->setIcon(std::move(icon));
  iconView->setShortcutItems(std::move(items));
  return iconView;
}

}  // namespace

void HomeScreen::buildHomeScreen() {
  const double scale = UIScreen::mainScreen()->scale();
  homeScreen_ = filledView(window_->bounds());
  homeWallpaper_ = objc::make<UIImageView>();
  homeWallpaper_->setFrame(homeScreen_->bounds());
  homeScreen_->addSubview(homeWallpaper_);

  for (size_t place = 0; place < catalogue_->homeScreen().size(); ++place) {
    Ref<SBIconView> iconView = iconViewFor(
        *catalogue_, catalogueIcon(*catalogue_, catalogue_->homeScreen()[place], scale));
    iconView->setFrame(homeScreenIconFrame(place, window_->bounds().width()));
    homeScreen_->addSubview(iconView);
    iconViews_.push_back(iconView);
  }
  std::vector<Ref<SBIconView>> docked;
  for (size_t app : catalogue_->dock()) {
    docked.push_back(iconViewFor(
        *catalogue_, catalogueIcon(*catalogue_, {HomeScreenIcon::Kind::app, app}, scale)));
  }
  homeScreen_->addSubview(buildDock(docked, window_->bounds()));
  iconViews_.insert(iconViews_.end(), docked.begin(), docked.end());
}

void HomeScreen::buildLockScreen() {
  lockScreen_ = filledView(window_->bounds());
  lockWallpaper_ = objc::make<UIImageView>();
  lockWallpaper_->setFrame(lockScreen_->bounds());
  lockScreen_->addSubview(lockWallpaper_);
  auto clock = objc::make<UILabel>();
  clock->setText(NSString::from("9:41"));
  clock->setTextFont({.size = 80, .weight = UIFontWeightBold});
  clock->setTextAlignment(NSTextAlignmentCenter);
  clock->setTextColor(UIColor::whiteColor());
  clock->setFrame(CGRectMake(0, 90, window_->bounds().width(), 100));
  lockScreen_->addSubview(clock);
  lockList_ = std::make_unique<NotificationList>(*catalogue_, restingNotifications(*catalogue_),
                                                 lockScreen_->bounds());
  lockScreen_->addSubview(Ref<UIView>(lockList_->view()));
}

void HomeScreen::paintWallpapers() {
  Ref<UIImage> image =
      wallpaper(UITraitCollection::systemUserInterfaceStyle() == UIUserInterfaceStyleDark);
  homeWallpaper_->setImage(image);
  lockWallpaper_->setImage(image);
}

bool HomeScreen::postBanner(std::string_view bundleIdentifier) {
  const AppEntry* app = catalogue_->app(bundleIdentifier);
  if (!app || lockScreenShown()) return false;
  dismissMenu();
  banner_->show(*catalogue_, newsFrom(*app), window_.get());
  announceWindow(banner_->shown()->view());
  return true;
}

void HomeScreen::showLockScreen(bool shown) {
  dismissMenu();
  if (shown) closeFolder();
  banner_->hide();
  UIView* showing = shown ? lockScreen_.get() : homeScreen_.get();
  UIView* hiding = shown ? homeScreen_.get() : lockScreen_.get();
  hiding->removeFromSuperview();
  window_->insertSubview(Ref<UIView>(showing), 0);
  if (objc::classOf<SBLockScreenManager>()) {
    SBLockScreenManager::sharedInstance()->setLockScreenVisible(shown);
  }
  if (shown) announceWindow(lockList_->view());
}

bool HomeScreen::lockScreenShown() const {
  return lockScreen_->superview() == window_.get();
}

UIView* HomeScreen::shownScreen() const {
  return lockScreenShown() ? lockScreen_.get() : homeScreen_.get();
}

void HomeScreen::setInterfaceStyle(UIUserInterfaceStyle style) {
  UITraitCollection::setSystemUserInterfaceStyle(style);
  paintWallpapers();
  presentAgain();
}

SBIconView* HomeScreen::findIconView(const std::function<bool(SBIcon*)>& matches) const {
  for (const auto* views : {&iconViews_, openFolder_ ? &openFolder_->icons : nullptr}) {
    for (const auto& view : views ? *views : std::vector<Ref<SBIconView>>{}) {
      if (matches(view->icon())) return view.get();
    }
  }
  return nullptr;
}

SBIconView* HomeScreen::appIconView(std::string_view bundleIdentifier) const {
  return findIconView([&](SBIcon* icon) {
    auto* app = dynamic_cast<SBApplicationIcon*>(icon);
    return app && app->applicationBundleID()->string() == bundleIdentifier;
  });
}

SBIconView* HomeScreen::folderIconView(std::string_view name) const {
  return findIconView([&](SBIcon* icon) {
    auto* folder = dynamic_cast<SBFolderIcon*>(icon);
    return folder && folder->folder() && folder->folder()->displayName()->string() == name;
  });
}

SBIconView* HomeScreen::webClipIconView(std::string_view name) const {
  return findIconView([&](SBIcon* icon) {
    return !dynamic_cast<SBApplicationIcon*>(icon) && !dynamic_cast<SBFolderIcon*>(icon) &&
           icon->displayName()->string() == name;
  });
}

bool HomeScreen::openFolder(std::string_view name) {
  SBIconView* folderIcon = lockScreenShown() ? nullptr : folderIconView(name);
  if (!folderIcon || (openFolder_ && openFolder_->name == name)) return folderIcon != nullptr;
  dismissMenu();
  closeFolder();
  std::vector<Ref<SBIconView>> icons;
  for (const Ref<SBIcon>& icon : dynamic_cast<SBFolderIcon*>(folderIcon->icon())->folder()->icons())
    icons.push_back(iconViewFor(*catalogue_, icon));
  OpenFolderView views = buildOpenFolder(std::string(name), icons, window_->bounds());
  // Over the home screen, under what the system shows above everything (banners, menus).
  window_->insertSubview(views.container, 1);
  openFolder_ = OpenFolder{std::string(name), std::move(views), std::move(icons)};
  announceWindow(openFolder_->views.container.get());
  layoutPass();
  return true;
}

void HomeScreen::closeFolder() {
  if (!openFolder_) return;
  dismissMenu();
  openFolder_->views.container->removeFromSuperview();
  openFolder_.reset();
}

std::optional<std::string> HomeScreen::openFolderName() const {
  if (!openFolder_) return std::nullopt;
  return openFolder_->name;
}

HomeScreen::TapResult HomeScreen::tap(CGPoint point) {
  if (presented_) return TapResult::none;
  if (openFolder_) {
    UIView* hit = hitTest(window_.get(), point);
    if (hit && (hit->isDescendantOfView(openFolder_->views.plate.get()) ||
                hit->isDescendantOfView(openFolder_->views.title.get()))) {
      return TapResult::none;
    }
    closeFolder();
    layoutPass();
    return TapResult::closedFolder;
  }
  std::optional<PressTarget> target = targetAt(point);
  if (!target || target->kind != PressTarget::Kind::folder) return TapResult::none;
  return openFolder(target->name) ? TapResult::openedFolder : TapResult::none;
}

namespace {

PressTarget iconTarget(const SBIconView* view) {
  SBIcon* icon = view->icon();
  PressTarget target{PressTarget::Kind::webClip, icon->displayName()->string(),
                     icon->displayName()->string(), view->frameInWindow()};
  if (auto* app = dynamic_cast<SBApplicationIcon*>(icon)) {
    target.kind = PressTarget::Kind::app;
    target.name = app->applicationBundleID()->string();
  } else if (auto* folder = dynamic_cast<SBFolderIcon*>(icon)) {
    target.kind = PressTarget::Kind::folder;
    target.name = folder->folder()->displayName()->string();
  }
  return target;
}

}  // namespace

std::optional<PressTarget> HomeScreen::notificationTarget(const UIView* view) const {
  NCNotificationShortLookViewController* shortLook =
      lockScreenShown() ? lockList_->stackTopHolding(view) : banner_->holding(view);
  if (!shortLook) return std::nullopt;
  NCNotificationRequest* request = shortLook->notificationRequest();
  return PressTarget{PressTarget::Kind::notification, request->sectionIdentifier()->string(),
                     request->title()->string(), shortLook->view()->frameInWindow()};
}

std::vector<PressTarget> HomeScreen::targets() const {
  std::vector<PressTarget> targets;
  UIView* screen = shownScreen();
  // An open folder covers the rest of the home screen.
  for (const auto& view : openFolder_ ? openFolder_->icons : iconViews_) {
    if (openFolder_ || view->isDescendantOfView(screen)) targets.push_back(iconTarget(view.get()));
  }
  std::vector<NCNotificationShortLookViewController*> notifications =
      lockScreenShown() ? lockList_->stackTops()
                        : std::vector<NCNotificationShortLookViewController*>{banner_->shown()};
  for (NCNotificationShortLookViewController* shortLook : notifications) {
    if (!shortLook) continue;
    if (auto target = notificationTarget(shortLook->view())) targets.push_back(*target);
  }
  return targets;
}

std::optional<PressTarget> HomeScreen::targetAt(CGPoint point) const {
  for (UIView* view = hitTest(window_.get(), point); view; view = view->superview()) {
    if (auto target = notificationTarget(view)) return target;
    auto* iconView = dynamic_cast<SBIconView*>(view);
    if (iconView && findIconView([&](SBIcon* icon) { return icon == iconView->icon(); })) {
      return iconTarget(iconView);
    }
  }
  return std::nullopt;
}

bool HomeScreen::menuAt(CGPoint point) const {
  if (!presented_) return false;
  UIView* hit = hitTest(window_.get(), point);
  if (!hit) return false;
  if (presented_->expandedSlot && hit->isDescendantOfView(presented_->expandedSlot.get())) {
    return true;
  }
  // The menu's platter holds the dimming over the screen first, then the lifted preview and
  // the actions: a touch on the dimming, or on the platter around them, is outside the menu.
  const auto& root = presented_->menu.root->subviews();
  if (root.empty()) return false;
  const auto& parts = root.front()->subviews();
  return std::any_of(parts.begin() + std::min<size_t>(1, parts.size()), parts.end(),
                     [&](const Ref<UIView>& part) { return hit->isDescendantOfView(part.get()); });
}

std::optional<PressTarget> HomeScreen::menuTarget() const {
  if (!presented_) return std::nullopt;
  return presented_->target;
}

HomeScreen::OpenMenu HomeScreen::press(const PressTarget& target) {
  switch (target.kind) {
    case PressTarget::Kind::app:
      return pressIcon(appIconView(target.name));
    case PressTarget::Kind::folder:
      return pressIcon(folderIconView(target.name));
    case PressTarget::Kind::webClip:
      return pressIcon(webClipIconView(target.name));
    case PressTarget::Kind::notification:
      return pressNotification(target.name);
  }
  return {};
}

HomeScreen::OpenMenu HomeScreen::pressIcon(SBIconView* iconView) {
  dismissMenu();
  if (!iconView) return {};
  objc::Class* controllerClass = objc_getClass("SBIconController");
  Ref<NSObject> controller = msgSend<Ref<NSObject>>(controllerClass, sel("sharedInstance"));
  Ref<UIView> container = msgSend<Ref<UIView>>(
      controller, sel("containerViewForPresentingContextMenuForIconView:"), iconView);
  Ref<NSArray> items = msgSend<Ref<NSArray>>(iconView, sel("applicationShortcutItems"));
  std::vector<std::vector<std::string>> sections(2);
  for (const auto& item : items ? items->objects() : NSArray::Objects{}) {
    Ref<NSString> title = msgSend<Ref<NSString>>(item, sel("localizedTitle"));
    std::string text = title ? title->string() : "";
    sections[isSystemAction(text) ? 1 : 0].push_back(text);
  }
  CGRect image = iconView->currentImageView()->frame();
  const CGPoint origin = iconView->frameInWindow().origin;
  CGRect anchor{{origin.x + image.origin.x, origin.y + image.origin.y}, image.size};
  return present(iconTarget(iconView), container.get(), std::move(sections), anchor,
                 snapshot(iconView->currentImageView()));
}

HomeScreen::OpenMenu HomeScreen::pressNotification(std::string_view bundleIdentifier) {
  dismissMenu();
  const AppEntry* app = catalogue_->app(bundleIdentifier);
  if (!app) return {};
  if (!lockScreenShown()) {
    NCNotificationShortLookViewController* shown = banner_->shown();
    if (!shown ||
        shown->notificationRequest()->sectionIdentifier()->string() != app->bundleIdentifier) {
      postBanner(app->bundleIdentifier);
    }
  }
  Ref<NCNotificationShortLookViewController> shortLook(
      lockScreenShown() ? lockList_->notificationOf(*app) : banner_->shown());
  shortLook->appear(true);

  Ref<UIView> container = msgSend<Ref<UIView>>(shortLook, sel("containerViewForExpandedContent"));
  if (!container) return {};
  expandedPlatter_ = objc::createInstance<ExpandedPlatterViewController>(
      objc_getClass("NCExpandedPlatterViewController"));
  auto* platter = dynamic_cast<ExpandedPlatterViewController*>(expandedPlatter_.get());
  platter->setNotificationRequest(shortLook->notificationRequest());
  platter->setIcon(catalogue_->iconImage(app->bundleIdentifier, UIScreen::mainScreen()->scale()));
  container->setFrame(window_->bounds());
  // A banner expands where it stands, at the top of the screen.
  const double top = lockScreenShown() ? 130 : shortLook->view()->frameInWindow().minY();
  auto slot = filledView(CGRectMake(16, top, window_->bounds().width() - 32, 250));
  slot->addSubview(Ref<UIView>(expandedPlatter_->view()));
  container->addSubview(slot);
  expandedPlatter_->layoutIfNeeded();
  return present(*notificationTarget(shortLook->view()), container.get(),
                 {kNotificationActions, kNotificationSettings}, slot->frame(), nullptr, slot);
}

HomeScreen::OpenMenu HomeScreen::present(PressTarget target, UIView* container,
                                         std::vector<std::vector<std::string>> sections,
                                         const CGRect& anchor, Ref<UIView> preview,
                                         Ref<UIView> expandedSlot) {
  if (!container) return {};
  const bool entersWindow = container->superview() != window_.get();
  if (entersWindow) {
    container->setFrame(window_->bounds());
    window_->addSubview(Ref<UIView>(container));
  }
  OpenMenu menu;
  for (const auto& section : sections)
    menu.titles.insert(menu.titles.end(), section.begin(), section.end());
  menu.root =
      buildContextMenu({std::move(sections), anchor, std::move(preview)}, container->bounds());
  // Under what the container already shows (an expanded notification), which stays sharp
  // above the dimmed screen.
  container->insertSubview(menu.root, 0);
  presented_ = Presented{std::move(target), menu, Ref<UIView>(container), std::move(expandedSlot)};
  // What entered the window hears it: the container with all it holds, or just the menu.
  announceWindow(entersWindow ? container : menu.root.get());
  layoutPass();
  return menu;
}

void HomeScreen::dismissMenu() {
  if (!presented_) return;
  Presented presented = std::move(*presented_);
  presented_.reset();
  presented.menu.root->removeFromSuperview();
  if (presented.expandedSlot) presented.expandedSlot->removeFromSuperview();
  presented.container->removeFromSuperview();
  // What left the window hears it too, as the host tells views moved out of their window.
  for (UIView* gone :
       {presented.menu.root.get(), presented.expandedSlot.get(), presented.container.get()}) {
    if (gone) announceWindow(gone);
  }
  expandedPlatter_ = nullptr;
  // An expanded banner goes with its menu.
  if (presented.expandedSlot) banner_->hide();
}

HomeScreen::OpenMenu HomeScreen::presentAgain() {
  if (!presented_) return {};
  const PressTarget target = presented_->target;
  return press(target);
}

void HomeScreen::layoutPass() const {
  if (expandedPlatter_) msgSend<void>(expandedPlatter_, sel("viewWillLayoutSubviews"));
  window_->layoutIfNeeded();
}
