#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/foundation/ns_object.h"

// A map from string keys to objects, held strongly. Keys are kept sorted, so a dictionary is
// written and described the same way every time.
class NSDictionary : public NSObject {
 public:
  using Entries = std::map<std::string, Ref<NSObject>, std::less<>>;
  static Ref<NSDictionary> from(Entries entries);

  size_t count() const { return entries_.size(); }
  // The object stored under key, or nil.
  Ref<NSObject> objectForKey(std::string_view key) const;
  // The object under key if it is stored as T, else nil.
  template <class T>
  Ref<T> objectForKey(std::string_view key) const {
    Ref<NSObject> object = objectForKey(key);
    return Ref<T>(dynamic_cast<T*>(object.get()));
  }
  const Entries& entries() const { return entries_; }

 protected:
  Entries entries_;
};

class NSMutableDictionary : public NSDictionary {
 public:
  static Ref<NSMutableDictionary> from(Entries entries);
  static Ref<NSMutableDictionary> mutableCopyOf(const NSDictionary* dictionary);

  // Stores value under key; a nil value removes the key.
  void setObject(std::string_view key, Ref<NSObject> value);
  void removeObjectForKey(std::string_view key);
};
