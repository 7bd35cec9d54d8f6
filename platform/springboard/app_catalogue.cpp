#include "platform/springboard/app_catalogue.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <set>
#include <system_error>

#include "platform/foundation/device.h"
#include "platform/foundation/file_io.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/graphics/bitmap_context.h"
#include "platform/graphics/png.h"

namespace fs = std::filesystem;

namespace {

// Icons are small; anything larger is not one.
constexpr uint64_t kMaxIconFileBytes = uint64_t{16} << 20;
// The home screen's menus show four of an app's own actions at most.
constexpr size_t kMaxShortcutItems = 4;
// The dock of a phone holds four icons.
constexpr size_t kDockApps = 4;

// For each app and each web clip (by index), the index of the folder holding it, if any.
struct FolderMembership {
  std::vector<std::optional<size_t>> apps, webClips;
};

std::string inQuotes(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// Reads one catalogue file; every check fails with a reason that names the file and the entry.
class CatalogueReader {
 public:
  explicit CatalogueReader(fs::path file) : file_(std::move(file)), folder_(file_.parent_path()) {}

  const std::string& error() const { return error_; }

  bool fail(const std::string& reason) {
    error_ = inQuotes(file_.string()) + ": " + reason;
    return false;
  }

  // An array under key; null without a failure when it is absent and may be.
  bool array(const NSDictionary* entry, std::string_view key, bool required,
             const std::string& what, Ref<NSArray>& out) {
    Ref<NSObject> value = entry->objectForKey(key);
    out = entry->objectForKey<NSArray>(key);
    if (!value && !required) return true;
    if (!out) return fail(what + (what.empty() ? "" : ": ") + inQuotes(key) + " must be an array");
    return true;
  }

  // A non-empty string under key; "" without a failure when it is absent and may be.
  bool string(const NSDictionary* entry, std::string_view key, bool required,
              const std::string& what, std::string& out) {
    Ref<NSObject> value = entry->objectForKey(key);
    out.clear();
    if (value) {
      Ref<NSString> text = entry->objectForKey<NSString>(key);
      if (!text) return fail(what + ": " + inQuotes(key) + " must be a string");
      out = text->string();
    }
    if (out.empty() && required) return fail(what + " has no " + inQuotes(key));
    return true;
  }

  // The icon named under "icon": a file that exists in the catalogue's folder.
  bool icon(const NSDictionary* entry, const std::string& what, fs::path& out) {
    std::string name;
    if (!string(entry, "icon", true, what, name)) return false;
    fs::path relative(name);
    if (name.find('\0') != std::string::npos || relative.filename() != relative || name == "." ||
        name == "..") {
      return fail(what + ": icon " + inQuotes(name) +
                  " must be a file name in the catalogue's folder");
    }
    out = folder_ / relative;
    std::error_code error;
    fs::file_status status = fs::status(out, error);
    if (!fs::exists(status))
      return fail(what + ": icon file " + inQuotes(out.string()) + " is missing");
    if (!fs::is_regular_file(status)) {
      return fail(what + ": icon " + inQuotes(out.string()) + " is not a file");
    }
    return true;
  }

  bool apps(const NSDictionary* root, std::vector<AppEntry>& apps,
            std::map<std::string, size_t, std::less<>>& index) {
    Ref<NSArray> list;
    if (!array(root, "apps", true, "", list)) return false;
    for (size_t i = 0; i < list->count(); ++i) {
      std::string what = "app #" + std::to_string(i + 1);
      auto entry = Ref<NSDictionary>(dynamic_cast<NSDictionary*>(list->objectAtIndex(i).get()));
      if (!entry) return fail(what + " is not a dictionary");
      AppEntry app;
      if (!string(entry.get(), "bundleIdentifier", true, what, app.bundleIdentifier)) return false;
      what = "app " + inQuotes(app.bundleIdentifier);
      if (auto [found, added] = index.emplace(app.bundleIdentifier, apps.size()); !added) {
        return fail(what + " is listed twice (apps #" + std::to_string(found->second + 1) +
                    " and #" + std::to_string(i + 1) + ")");
      }
      if (!string(entry.get(), "name", true, what, app.name)) return false;
      if (!icon(entry.get(), what, app.iconFile)) return false;
      if (!shortcutTitles(entry.get(), what, app.shortcutTitles)) return false;
      apps.push_back(std::move(app));
    }
    return true;
  }

  bool shortcutTitles(const NSDictionary* entry, const std::string& what,
                      std::vector<std::string>& titles) {
    Ref<NSArray> list;
    if (!array(entry, "shortcutItems", false, what, list)) return false;
    if (!list) return true;
    if (list->count() > kMaxShortcutItems) {
      return fail(what + " has " + std::to_string(list->count()) + " shortcut items; at most " +
                  std::to_string(kMaxShortcutItems) + " are shown");
    }
    for (const auto& item : *list) {
      auto* title = dynamic_cast<const NSString*>(item.get());
      if (!title || title->string().empty()) {
        return fail(what + ": 'shortcutItems' must hold non-empty strings");
      }
      titles.push_back(title->string());
    }
    return true;
  }

  bool folders(const NSDictionary* root, const AppCatalogue& catalogue,
               std::vector<FolderEntry>& folders, FolderMembership& membership) {
    Ref<NSArray> list;
    if (!array(root, "folders", false, "", list)) return false;
    if (!list) return true;
    std::set<std::string, std::less<>> names;
    for (size_t i = 0; i < list->count(); ++i) {
      std::string what = "folder #" + std::to_string(i + 1);
      auto entry = Ref<NSDictionary>(dynamic_cast<NSDictionary*>(list->objectAtIndex(i).get()));
      if (!entry) return fail(what + " is not a dictionary");
      FolderEntry folder;
      if (!string(entry.get(), "name", true, what, folder.name)) return false;
      what = "folder " + inQuotes(folder.name);
      if (!names.insert(folder.name).second) return fail(what + " is listed twice");
      if (!folderIcons(entry.get(), catalogue, what, folder.icons)) return false;
      for (const HomeScreenIcon& icon : folder.icons) {
        auto& holder = icon.kind == HomeScreenIcon::Kind::app ? membership.apps[icon.index]
                                                              : membership.webClips[icon.index];
        const std::string& member = icon.kind == HomeScreenIcon::Kind::app
                                        ? catalogue.apps()[icon.index].bundleIdentifier
                                        : catalogue.webClips()[icon.index].name;
        if (holder) {
          return fail(what + ": " + inQuotes(member) + " is already in folder " +
                      inQuotes(*holder == folders.size() ? folder.name : folders[*holder].name));
        }
        holder = folders.size();
        if (icon.kind == HomeScreenIcon::Kind::app) folder.bundleIdentifiers.push_back(member);
      }
      folders.push_back(std::move(folder));
    }
    return true;
  }

  // A folder's icons: under "icons" (apps and web clips), or under "apps" (bundle identifiers).
  bool folderIcons(const NSDictionary* entry, const AppCatalogue& catalogue,
                   const std::string& what, std::vector<HomeScreenIcon>& icons) {
    Ref<NSArray> members, apps;
    if (!array(entry, "icons", false, what, members) || !array(entry, "apps", false, what, apps)) {
      return false;
    }
    if (members && apps) return fail(what + " has both 'icons' and 'apps'; give one");
    if (!members && !apps) return fail(what + " has no 'icons'");
    for (const auto& member : *(members ? members : apps)) {
      std::string key = "app";
      auto* name = dynamic_cast<const NSString*>(member.get());
      if (members) {
        auto* place = dynamic_cast<const NSDictionary*>(member.get());
        if (!place || place->count() != 1) {
          return fail(what + ": 'icons' must hold dictionaries of one key: app or webClip");
        }
        key = place->entries().begin()->first;
        name = dynamic_cast<const NSString*>(place->entries().begin()->second.get());
      }
      if (!name || (key != "app" && key != "webClip")) {
        return fail(what + (members ? ": 'icons' must name an app or a webClip"
                                    : ": 'apps' must hold bundle identifiers"));
      }
      std::optional<HomeScreenIcon> icon = find(catalogue, key, name->string());
      if (!icon) {
        return fail(what + " names an unknown " + (key == "app" ? "app " : "web clip ") +
                    inQuotes(name->string()));
      }
      icons.push_back(*icon);
    }
    if (icons.empty()) return fail(what + " holds no icons");
    return true;
  }

  // The dock's apps: at most four, each an app in no folder, once.
  bool dock(const NSDictionary* root, const AppCatalogue& catalogue,
            const FolderMembership& membership, std::vector<size_t>& dock) {
    Ref<NSArray> list;
    if (!array(root, "dock", false, "", list)) return false;
    if (!list) return true;
    if (list->count() > kDockApps) {
      return fail("the dock holds " + std::to_string(list->count()) + " apps; at most " +
                  std::to_string(kDockApps) + " fit");
    }
    for (const auto& member : *list) {
      auto* identifier = dynamic_cast<const NSString*>(member.get());
      if (!identifier) return fail("'dock' must hold bundle identifiers");
      std::optional<HomeScreenIcon> icon = find(catalogue, "app", identifier->string());
      if (!icon) return fail("the dock names an unknown app " + inQuotes(identifier->string()));
      if (std::optional<size_t> folder = membership.apps[icon->index]) {
        return fail("the dock's app " + inQuotes(identifier->string()) + " is in folder " +
                    inQuotes(catalogue.folders()[*folder].name));
      }
      if (std::find(dock.begin(), dock.end(), icon->index) != dock.end()) {
        return fail("the dock lists " + inQuotes(identifier->string()) + " twice");
      }
      dock.push_back(icon->index);
    }
    return true;
  }

  bool webClips(const NSDictionary* root, std::vector<WebClipEntry>& clips) {
    Ref<NSArray> list;
    if (!array(root, "webClips", false, "", list)) return false;
    if (!list) return true;
    std::set<std::string, std::less<>> names;
    for (size_t i = 0; i < list->count(); ++i) {
      std::string what = "web clip #" + std::to_string(i + 1);
      auto entry = Ref<NSDictionary>(dynamic_cast<NSDictionary*>(list->objectAtIndex(i).get()));
      if (!entry) return fail(what + " is not a dictionary");
      WebClipEntry clip;
      if (!string(entry.get(), "name", true, what, clip.name)) return false;
      what = "web clip " + inQuotes(clip.name);
      if (!names.insert(clip.name).second) return fail(what + " is listed twice");
      if (!icon(entry.get(), what, clip.iconFile)) return false;
      if (!string(entry.get(), "url", false, what, clip.url)) return false;
      clips.push_back(std::move(clip));
    }
    return true;
  }

  // The places homeScreen lists, then every icon it leaves out, in catalogue order.
  bool homeScreen(const NSDictionary* root, const AppCatalogue& catalogue,
                  const FolderMembership& membership, std::vector<HomeScreenIcon>& icons) {
    using Kind = HomeScreenIcon::Kind;
    Ref<NSArray> list;
    if (!array(root, "homeScreen", false, "", list)) return false;
    std::set<std::pair<Kind, size_t>> placed;
    for (size_t i = 0; list && i < list->count(); ++i) {
      std::string what = "home-screen place #" + std::to_string(i + 1);
      auto entry = Ref<NSDictionary>(dynamic_cast<NSDictionary*>(list->objectAtIndex(i).get()));
      if (!entry || entry->count() != 1) {
        return fail(what + " must be a dictionary of one key: app, folder or webClip");
      }
      const auto& [key, value] = *entry->entries().begin();
      auto* name = dynamic_cast<const NSString*>(value.get());
      if (!name) return fail(what + ": " + inQuotes(key) + " must be a string");
      std::optional<HomeScreenIcon> icon = find(catalogue, key, name->string());
      if (!icon) {
        if (key != "app" && key != "folder" && key != "webClip") {
          return fail(what + " has the key " + inQuotes(key) + "; expected app, folder or webClip");
        }
        return fail(what + " names an unknown " + key + " " + inQuotes(name->string()));
      }
      if (std::optional<size_t> folder = folderHolding(membership, *icon)) {
        return fail(what + ": " + key + " " + inQuotes(name->string()) + " is in folder " +
                    inQuotes(catalogue.folders()[*folder].name));
      }
      if (icon->kind == Kind::app && inDock(catalogue, icon->index)) {
        return fail(what + ": app " + inQuotes(name->string()) + " is in the dock");
      }
      if (!placed.emplace(icon->kind, icon->index).second) {
        return fail(what + ": " + key + " " + inQuotes(name->string()) + " is placed twice");
      }
      icons.push_back(*icon);
    }
    auto addUnplaced = [&](Kind kind, size_t count) {
      for (size_t index = 0; index < count; ++index) {
        if (folderHolding(membership, {kind, index})) continue;
        if (kind == Kind::app && inDock(catalogue, index)) continue;
        if (!placed.contains({kind, index})) icons.push_back({kind, index});
      }
    };
    addUnplaced(Kind::app, catalogue.apps().size());
    addUnplaced(Kind::folder, catalogue.folders().size());
    addUnplaced(Kind::webClip, catalogue.webClips().size());
    return true;
  }

 private:
  static std::optional<size_t> folderHolding(const FolderMembership& membership,
                                             HomeScreenIcon icon) {
    if (icon.kind == HomeScreenIcon::Kind::app) return membership.apps[icon.index];
    if (icon.kind == HomeScreenIcon::Kind::webClip) return membership.webClips[icon.index];
    return std::nullopt;
  }

  static bool inDock(const AppCatalogue& catalogue, size_t app) {
    return std::find(catalogue.dock().begin(), catalogue.dock().end(), app) !=
           catalogue.dock().end();
  }

  static std::optional<HomeScreenIcon> find(const AppCatalogue& catalogue, std::string_view kind,
                                            std::string_view name) {
    using Kind = HomeScreenIcon::Kind;
    auto search = [&](Kind found, const auto& entries,
                      auto nameOf) -> std::optional<HomeScreenIcon> {
      for (size_t i = 0; i < entries.size(); ++i) {
        if (nameOf(entries[i]) == name) return HomeScreenIcon{found, i};
      }
      return std::nullopt;
    };
    if (kind == "app") {
      return search(Kind::app, catalogue.apps(),
                    [](const AppEntry& e) -> const std::string& { return e.bundleIdentifier; });
    }
    if (kind == "folder") {
      return search(Kind::folder, catalogue.folders(),
                    [](const FolderEntry& e) -> const std::string& { return e.name; });
    }
    if (kind == "webClip") {
      return search(Kind::webClip, catalogue.webClips(),
                    [](const WebClipEntry& e) -> const std::string& { return e.name; });
    }
    return std::nullopt;
  }

  fs::path file_;
  fs::path folder_;
  std::string error_;
};

// The icon file drawn into a square of 60 points at scale; nil when nothing can be drawn.
Ref<UIImage> homeScreenIcon(const fs::path& file, double scale) {
  if (!std::isfinite(scale) || scale <= 0) return nullptr;
  double side = std::round(kHomeScreenIconPoints * scale);
  if (side < 1 || side > kMaxPNGDimension) return nullptr;
  Result<Bitmap> artwork = readPNG(file);
  if (!artwork) return nullptr;
  int pixels = static_cast<int>(side);
  std::optional<CGBitmapContext> context = CGBitmapContext::create(pixels, pixels);
  if (!context) return nullptr;
  context->drawImage(artwork.value(), CGRectMake(0, 0, side, side));
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(pixels, pixels, context->takeData()),
                                  scale);
}

// Copies the samples' catalogue and the icons it names into the device's folder. The icons go
// first; the catalogue is staged beside its final name and hard-linked into place, which fails
// rather than replaces when another process published one meanwhile.
Result<void> seed(const fs::path& samplesFile, const AppCatalogue& samples,
                  const fs::path& target) {
  using R = Result<void>;
  Result<std::string> bytes = readFileBytes(samplesFile, kPropertyListMaxBytes);
  if (!bytes) return R::failure(bytes.error());
  const fs::path folder = target.parent_path();
  std::error_code error;
  fs::create_directories(folder, error);
  if (error)
    return R::failure("cannot make the folder " + inQuotes(folder.string()) + ": " +
                      error.message());

  std::set<fs::path> icons;
  for (const AppEntry& app : samples.apps())
    icons.insert(app.iconFile);
  for (const WebClipEntry& clip : samples.webClips())
    icons.insert(clip.iconFile);
  for (const fs::path& icon : icons) {
    Result<std::string> artwork = readFileBytes(icon, kMaxIconFileBytes);
    if (!artwork) return R::failure(artwork.error());
    Result<void> copied = writeFileAtomically(folder / icon.filename(), artwork.value());
    if (!copied) return copied;
  }

  const fs::path staged = folder / ("." + target.filename().string() + ".seed");
  Result<void> written = writeFileAtomically(staged, bytes.value());
  if (!written) return written;
  int linked = ::link(staged.c_str(), target.c_str());
  int reason = errno;
  ::unlink(staged.c_str());
  // Another seeder may have published first (or taken the staged file meanwhile); its
  // catalogue stands.
  if (linked != 0 && !fs::exists(fs::symlink_status(target, error))) {
    return R::failure("cannot publish " + inQuotes(target.string()) + ": " +
                      std::generic_category().message(reason));
  }
  return {};
}

}  // namespace

const AppEntry* AppCatalogue::app(std::string_view bundleIdentifier) const {
  auto found = appIndex_.find(bundleIdentifier);
  return found == appIndex_.end() ? nullptr : &apps_[found->second];
}

const FolderEntry* AppCatalogue::folderOf(std::string_view bundleIdentifier) const {
  auto found = appIndex_.find(bundleIdentifier);
  if (found == appIndex_.end() || !folderOfApp_[found->second]) return nullptr;
  return &folders_[*folderOfApp_[found->second]];
}

const WebClipEntry* AppCatalogue::webClip(std::string_view name) const {
  for (const WebClipEntry& clip : webClips_) {
    if (clip.name == name) return &clip;
  }
  return nullptr;
}

IconPlace AppCatalogue::placeOf(HomeScreenIcon icon) const {
  const auto& folders =
      icon.kind == HomeScreenIcon::Kind::webClip ? folderOfWebClip_ : folderOfApp_;
  if (icon.kind != HomeScreenIcon::Kind::folder && icon.index < folders.size() &&
      folders[icon.index]) {
    return {IconPlace::Kind::folder, folders_[*folders[icon.index]].name};
  }
  if (icon.kind == HomeScreenIcon::Kind::app &&
      std::find(dock_.begin(), dock_.end(), icon.index) != dock_.end()) {
    return {IconPlace::Kind::dock, {}};
  }
  return {};
}

Ref<UIImage> AppCatalogue::iconImage(std::string_view bundleIdentifier, double scale) const {
  const AppEntry* entry = app(bundleIdentifier);
  return entry ? homeScreenIcon(entry->iconFile, scale) : nullptr;
}

Ref<UIImage> AppCatalogue::webClipImage(std::string_view name, double scale) const {
  const WebClipEntry* clip = webClip(name);
  return clip ? homeScreenIcon(clip->iconFile, scale) : nullptr;
}

Result<AppCatalogue> loadCatalogue(const fs::path& catalogueFile) {
  using R = Result<AppCatalogue>;
  Result<Ref<NSDictionary>> root = readPropertyListDictionary(catalogueFile);
  if (!root) return R::failure("cannot load the app catalogue: " + root.error());
  CatalogueReader reader(catalogueFile);
  AppCatalogue catalogue;
  catalogue.file_ = catalogueFile;
  const NSDictionary* dictionary = root.value().get();
  if (!reader.apps(dictionary, catalogue.apps_, catalogue.appIndex_)) {
    return R::failure(reader.error());
  }
  if (!reader.webClips(dictionary, catalogue.webClips_)) return R::failure(reader.error());
  FolderMembership membership{std::vector<std::optional<size_t>>(catalogue.apps_.size()),
                              std::vector<std::optional<size_t>>(catalogue.webClips_.size())};
  if (!reader.folders(dictionary, catalogue, catalogue.folders_, membership) ||
      !reader.dock(dictionary, catalogue, membership, catalogue.dock_) ||
      !reader.homeScreen(dictionary, catalogue, membership, catalogue.homeScreen_)) {
    return R::failure(reader.error());
  }
  catalogue.folderOfApp_ = std::move(membership.apps);
  catalogue.folderOfWebClip_ = std::move(membership.webClips);
  return catalogue;
}

std::optional<fs::path> deviceCatalogueFile() {
  std::optional<fs::path> root = device::directory();
  if (!root) return std::nullopt;
  return *root / "var/mobile/Library/SpringBoard/Catalogue/catalogue.plist";
}

Result<AppCatalogue> loadDeviceCatalogue(const fs::path& samplesFolder) {
  using R = Result<AppCatalogue>;
  std::optional<fs::path> target = deviceCatalogueFile();
  if (!target) return R::failure("no device folder is set, so there is no app catalogue");
  std::error_code error;
  if (fs::exists(fs::symlink_status(*target, error))) return loadCatalogue(*target);

  const fs::path samplesFile = samplesFolder / "catalogue.plist";
  Result<AppCatalogue> samples = loadCatalogue(samplesFile);
  if (!samples) return R::failure("cannot seed the device's app catalogue: " + samples.error());
  Result<void> seeded = seed(samplesFile, samples.value(), *target);
  if (!seeded) return R::failure("cannot seed the device's app catalogue: " + seeded.error());
  return loadCatalogue(*target);
}
