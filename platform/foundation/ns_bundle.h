#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/foundation/ns_string.h"
#include "platform/foundation/result.h"
#include "platform/foundation/strings_table.h"

// A folder of resources, and optionally the executable (a shared object) that goes with it,
// as a settings bundle is. Bundles are made once per path and live for the process.
class NSBundle : public NSObject {
 public:
  // The bundle at path (made on first request, the same object afterwards).
  static NSBundle* bundleWithPath(const std::filesystem::path& path);
  // The host program's own bundle: the folder of the running program.
  static NSBundle* mainBundle();
  // The bundle whose executable holds the code of cls (for a class built at run time, of its
  // nearest ancestor defined in code), else the main bundle.
  static NSBundle* bundleForClass(const objc::Class* cls);

  const std::filesystem::path& bundlePath() const { return path_; }
  // Loads the executable (immediate binding; its classes register themselves as it loads) and
  // ties it to this bundle for bundleForClass(). Loading again is a no-op. Failures say why.
  // Like the platform, a loaded executable is never unloaded.
  Result<void> loadExecutable(const std::filesystem::path& executable);

  // The text for key in table ("Localizable" when empty), from "en.lproj/<table>.strings" or
  // "<table>.strings" in the bundle; else value, or key when value is empty. Tables are read
  // once and kept; a malformed table is logged and treated as empty.
  std::string localizedStringForKey(const std::string& key, const std::string& value,
                                    const std::string& table) const;

 private:
  const StringsTable& table(const std::string& name) const;

  std::filesystem::path path_;
  std::optional<std::filesystem::path> executable_;
  mutable std::map<std::string, StringsTable, std::less<>> tables_;
};

void defineBundleClass();
