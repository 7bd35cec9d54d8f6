#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_string.h"

// A preference domain of the device, stored as a property list in its preferences folder
// (<device>/var/jb/var/mobile/Library/Preferences/<suite>.plist). Reads see the file as it is
// now, since another process may have written it; writes replace it atomically. Registered
// defaults form a lowest layer kept in memory only: they answer for a key the domain has no
// value of its own for, and are never written to the file.
class NSUserDefaults : public NSObject {
 public:
  static Ref<NSUserDefaults> initWithSuiteName(std::string suite);

  const std::string& suiteName() const { return suite_; }
  std::filesystem::path path() const;

  // Adds to (or replaces entries of) the registered layer.
  void registerDefaults(const NSDictionary* defaults);

  // The domain's value, else the registered one, else nil.
  Ref<NSObject> objectForKey(std::string_view key) const;
  Ref<NSString> stringForKey(std::string_view key) const;
  bool boolForKey(std::string_view key) const;
  double doubleForKey(std::string_view key) const;

  // Stores (nil removes) and writes the domain, holding the domain file's lock (file_lock.h)
  // from its read to its write; false, with the reason logged, when the file cannot be locked
  // or written (the value is then not stored).
  bool setObject(std::string_view key, Ref<NSObject> value);
  bool removeObjectForKey(std::string_view key) { return setObject(key, nullptr); }

 protected:
  // Opens the suite's domain in an object made by a subclass.
  void openSuite(std::string suite);

 private:
  Ref<NSDictionary> stored() const;

  std::string suite_;
  mutable std::mutex mutex_;
  Ref<NSMutableDictionary> registered_;
};
