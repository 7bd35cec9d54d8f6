#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/result.h"
#include "platform/graphics/ui_image.h"

// The apps of the simulated home screen: an XML (or binary) property list, its icons beside it.
//
//   <dict>
//     <key>apps</key>          array of dictionaries, one per app:
//         bundleIdentifier     string, required, unique ("com.vitrel.sample.mail")
//         name                 string, required: the label under the icon
//         icon                 string, required: a PNG file name in the catalogue's folder,
//                              "<name>@3x.png" for 180-pixel artwork (the scale is read
//                              from the name)
//         shortcutItems        array of 0–4 strings, optional: the localised titles of the
//                              app's own long-press actions, in menu order (the system's
//                              actions, such as "Edit Home Screen", are not listed)
//     <key>folders</key>       array of dictionaries, optional:
//         name                 string, required, unique among folders
//         icons                array of dictionaries of one key each, app (a bundle
//                              identifier) or webClip (a name): the folder's icons in order,
//                              at least one; an app or web clip is in one folder at most
//         apps                 array of bundle identifiers: the older form of icons, for a
//                              folder of apps only (a folder has one of the two)
//     <key>webClips</key>      array of dictionaries, optional: icons that open no app
//         name                 string, required, unique among web clips
//         icon                 string, required, as for apps
//         url                  string, optional
//     <key>dock</key>          array of 0–4 bundle identifiers, optional: the apps of the
//                              dock, left to right (apps in no folder)
//     <key>homeScreen</key>    array of dictionaries, optional: the home screen's icons in
//                              order, each with one key: app (a bundle identifier of an app
//                              in no folder and not in the dock), folder or webClip (a name of
//                              a web clip in no folder)
//   </dict>
//
// Every icon appears once: apps, folders and web clips that homeScreen, the dock and the
// folders leave out follow the ones homeScreen lists, in catalogue order. Keys not named here
// are ignored.

// The side of a home-screen icon, in points.
inline constexpr double kHomeScreenIconPoints = 60;

// An app the home screen shows. iconFile is the icon's full path.
struct AppEntry {
  std::string bundleIdentifier;
  std::string name;
  std::filesystem::path iconFile;
  std::vector<std::string> shortcutTitles;
};

// One place on the home screen: what stands there and its index in the catalogue's apps(),
// folders() or webClips().
struct HomeScreenIcon {
  enum class Kind { app, folder, webClip };
  Kind kind;
  size_t index;
  friend bool operator==(const HomeScreenIcon&, const HomeScreenIcon&) = default;
};

// A folder: its icons in order (apps and web clips), and its apps' bundle identifiers alone.
struct FolderEntry {
  std::string name;
  std::vector<HomeScreenIcon> icons;
  std::vector<std::string> bundleIdentifiers;
};

// An icon that opens no app (a web bookmark): artwork, a name and perhaps an address.
struct WebClipEntry {
  std::string name;
  std::filesystem::path iconFile;
  std::string url;
};

// Where an icon stands: on the home screen's page, in the dock or in a folder (then `folder`
// names it).
struct IconPlace {
  enum class Kind { page, dock, folder };
  Kind kind = Kind::page;
  std::string folder;
};

// A validated catalogue: identifiers and names are unique, every folder's apps exist, every
// icon file existed when it was loaded. A value; copies are independent.
class AppCatalogue {
 public:
  // The file it was loaded from.
  const std::filesystem::path& file() const { return file_; }
  const std::vector<AppEntry>& apps() const { return apps_; }
  const std::vector<FolderEntry>& folders() const { return folders_; }
  const std::vector<WebClipEntry>& webClips() const { return webClips_; }
  // Every app outside folders and the dock, every folder and every web clip outside folders,
  // once each, in order.
  const std::vector<HomeScreenIcon>& homeScreen() const { return homeScreen_; }
  // The dock's apps (indexes into apps()), left to right.
  const std::vector<size_t>& dock() const { return dock_; }
  // Where the app or web clip (by its index in apps() or webClips()) stands.
  IconPlace placeOf(HomeScreenIcon icon) const;

  // The app with this identifier, or null; logarithmic. The pointer lives as long as the
  // catalogue.
  const AppEntry* app(std::string_view bundleIdentifier) const;
  // The folder holding the app, or null when the app is on the home screen or unknown.
  const FolderEntry* folderOf(std::string_view bundleIdentifier) const;
  // The web clip of this name, or null.
  const WebClipEntry* webClip(std::string_view name) const;

  // The app's icon at the home screen's size (60 points) and the given scale: the icon file
  // drawn into 60·scale pixels square (the bitmap context's area averaging); nil for an
  // unknown identifier, an unreadable icon file or a scale that gives no pixels. Reads and
  // decodes the file on every call; callers keep the image.
  Ref<UIImage> iconImage(std::string_view bundleIdentifier, double scale) const;
  // The same for the web clip of this name.
  Ref<UIImage> webClipImage(std::string_view name, double scale) const;

 private:
  friend Result<AppCatalogue> loadCatalogue(const std::filesystem::path& catalogueFile);

  std::filesystem::path file_;
  std::vector<AppEntry> apps_;
  std::vector<FolderEntry> folders_;
  std::vector<WebClipEntry> webClips_;
  std::vector<HomeScreenIcon> homeScreen_;
  std::vector<size_t> dock_;
  std::map<std::string, size_t, std::less<>> appIndex_;
  // For each app and each web clip (by index), its folder's index, if it has one.
  std::vector<std::optional<size_t>> folderOfApp_;
  std::vector<std::optional<size_t>> folderOfWebClip_;
};

// Reads and validates a catalogue file. The failure names the file and the entry at fault: a
// missing or unreadable file, an app without a bundle identifier, name or icon, a duplicate
// identifier or name, a folder naming an unknown app or web clip, a dock of more than four
// apps or naming an app placed elsewhere, an icon file that is missing. Checks
// that icon files exist but does not decode them.
Result<AppCatalogue> loadCatalogue(const std::filesystem::path& catalogueFile);

// <device>/var/mobile/Library/SpringBoard/Catalogue/catalogue.plist; nothing when no device
// folder is set.
std::optional<std::filesystem::path> deviceCatalogueFile();

// The device's catalogue: <device>/var/mobile/Library/SpringBoard/Catalogue/catalogue.plist
// (icons beside it). Seeds it from samplesFolder (its catalogue.plist and the icons that
// names) when the device has none; a catalogue the device has, even a broken one, is never
// replaced (its failure is returned). The catalogue file is published last and only if still
// absent, so a seed cut short leaves no catalogue and the next load seeds again.
Result<AppCatalogue> loadDeviceCatalogue(const std::filesystem::path& samplesFolder);
