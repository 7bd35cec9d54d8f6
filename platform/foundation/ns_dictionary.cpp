#include "platform/foundation/ns_dictionary.h"

namespace {
void dropNil(NSDictionary::Entries& entries) {
  std::erase_if(entries, [](const auto& entry) { return !entry.second; });
}
}  // namespace

Ref<NSDictionary> NSDictionary::from(Entries entries) {
  auto dictionary = objc::make<NSDictionary>();
  dropNil(entries);
  dictionary->entries_ = std::move(entries);
  return dictionary;
}

Ref<NSObject> NSDictionary::objectForKey(std::string_view key) const {
  auto found = entries_.find(key);
  return found != entries_.end() ? found->second : nullptr;
}

Ref<NSMutableDictionary> NSMutableDictionary::from(Entries entries) {
  auto dictionary = objc::make<NSMutableDictionary>();
  dropNil(entries);
  dictionary->entries_ = std::move(entries);
  return dictionary;
}

Ref<NSMutableDictionary> NSMutableDictionary::mutableCopyOf(const NSDictionary* dictionary) {
  return from(dictionary ? dictionary->entries() : Entries{});
}

void NSMutableDictionary::setObject(std::string_view key, Ref<NSObject> value) {
  if (!value) {
    removeObjectForKey(key);
    return;
  }
  if (auto found = entries_.find(key); found != entries_.end()) {
    found->second = std::move(value);
  } else {
    entries_.emplace(std::string(key), std::move(value));
  }
}

void NSMutableDictionary::removeObjectForKey(std::string_view key) {
  if (auto found = entries_.find(key); found != entries_.end()) entries_.erase(found);
}
