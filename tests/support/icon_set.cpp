#include "icon_set.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace icon_set {
namespace {

const std::filesystem::path kTheme = "/usr/share/icons/Papirus/64x64/apps";

// Familiar app icons of many colours; those missing from an installed theme are skipped.
const char* const kNames[] = {
    "firefox",
    "gimp",
    "inkscape",
    "thunderbird",
    "vlc",
    "blender",
    "libreoffice-writer",
    "libreoffice-calc",
    "libreoffice-impress",
    "telegram",
    "spotify",
    "steam",
    "discord",
    "chromium",
    "code",
    "gnome-terminal",
    "nautilus",
    "evince",
    "rhythmbox",
    "transmission",
    "audacity",
    "krita",
    "kdenlive",
    "obs",
    "signal-desktop",
    "slack",
    "skype",
    "vivaldi",
    "opera",
    "brave",
    "android-studio",
    "postman",
    "zoom",
    "whatsapp",
    "teams",
    "github-desktop",
    "dropbox",
    "filezilla",
    "handbrake",
    "calibre",
    "clementine",
    "deluge",
    "gedit",
    "geany",
    "gparted",
    "shotwell",
    "simple-scan",
    "totem",
    "virtualbox",
    "wireshark",
    "zotero",
    "anki",
    "audacious",
    "darktable",
    "digikam",
    "element-desktop",
    "epiphany",
    "fontforge",
    "gnome-maps",
    "gnome-calculator",
    "gnome-weather",
    "kodi",
    "lutris",
    "mpv",
    "okular",
    "pidgin",
    "qbittorrent",
    "remmina",
    "scribus",
    "synaptic",
    "tor-browser",
    "vscodium",
    "xournalpp",
};

std::filesystem::path rasterise(const std::filesystem::path& svg, int size,
                                const std::filesystem::path& png) {
  std::filesystem::create_directories(png.parent_path());
  std::filesystem::path partial = png.string() + "." + std::to_string(getpid()) + ".tmp";
  std::string command = "rsvg-convert -w " + std::to_string(size) + " -h " + std::to_string(size) +
                        " '" + svg.string() + "' -o '" + partial.string() + "'";
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("rsvg-convert failed on " + svg.string() + " (install librsvg2-bin)");
  }
  // Atomic, so parallel test programs never read a half-written file.
  std::filesystem::rename(partial, png);
  return png;
}

}  // namespace

std::vector<Icon> realIcons(int size, size_t count) {
  if (!std::filesystem::is_directory(kTheme)) {
    throw std::runtime_error(kTheme.string() + " is missing (install papirus-icon-theme)");
  }
  std::filesystem::path cache =
      std::filesystem::path(ICON_CACHE_DIR) / (std::to_string(size) + "px");
  std::vector<Icon> icons;
  for (const char* name : kNames) {
    if (icons.size() == count) break;
    std::filesystem::path svg = kTheme / (std::string(name) + ".svg");
    if (!std::filesystem::exists(svg)) continue;
    std::filesystem::path png = cache / (std::string(name) + ".png");
    if (!std::filesystem::exists(png)) rasterise(svg, size, png);
    icons.push_back({name, png});
  }
  return icons;
}

}  // namespace icon_set
