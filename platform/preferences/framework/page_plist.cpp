#include "platform/preferences/framework/page_plist.h"

#include "platform/foundation/log.h"
#include "platform/foundation/property_list.h"

namespace {

Ref<NSString> localised(const NSBundle* bundle, const NSString* text, const std::string& table) {
  if (!text) return nullptr;
  return NSString::from(bundle->localizedStringForKey(text->string(), text->string(), table));
}

SEL selectorNamed(const NSDictionary* entry, std::string_view key, std::string_view fallback) {
  Ref<NSString> name = entry->objectForKey<NSString>(key);
  if (name && name->length() > 0) return objc::sel(name->string());
  return fallback.empty() ? nullptr : objc::sel(fallback);
}

std::vector<PSSpecifier::Choice> choicesOf(const NSDictionary* entry, const NSBundle* bundle,
                                           const std::string& table) {
  Ref<NSArray> values = entry->objectForKey<NSArray>("validValues");
  if (!values) return {};
  Ref<NSArray> titles = entry->objectForKey<NSArray>("validTitles");
  Ref<NSArray> shortTitles = entry->objectForKey<NSArray>("shortTitles");
  auto textAt = [&](const Ref<NSArray>& list, size_t index) -> Ref<NSString> {
    if (!list) return nullptr;
    Ref<NSObject> item = list->objectAtIndex(index);
    return localised(bundle, dynamic_cast<NSString*>(item.get()), table);
  };
  std::vector<PSSpecifier::Choice> choices;
  for (size_t i = 0; i < values->count(); ++i) {
    choices.push_back({values->objectAtIndex(i), textAt(titles, i), textAt(shortTitles, i)});
  }
  return choices;
}

Ref<PSSpecifier> specifierFrom(const NSDictionary* entry, const NSBundle* bundle,
                               const std::string& plistName, NSObject* target) {
  Ref<NSString> cellName = entry->objectForKey<NSString>("cell");
  std::optional<PSCellType> cell = cellName ? cellTypeNamed(cellName->string()) : std::nullopt;
  if (!cell) {
    NSLog("%s.plist: an item names no known cell (%@); skipped", plistName, cellName.get());
    return nullptr;
  }
  Ref<NSString> table = entry->objectForKey<NSString>("localizationTable");
  std::string tableName = table ? table->string() : plistName;
  auto specifier = PSSpecifier::preferenceSpecifierNamed(
      localised(bundle, entry->objectForKey<NSString>("label").get(), tableName), target,
      selectorNamed(entry, "set", "setPreferenceValue:specifier:"),
      selectorNamed(entry, "get", "readPreferenceValue:"), *cell);
  specifier->setProperties(NSMutableDictionary::mutableCopyOf(entry));
  specifier->setIdentifier(entry->objectForKey<NSString>("id"));
  specifier->setAction(selectorNamed(entry, "action", ""));
  specifier->setChoices(choicesOf(entry, bundle, tableName));
  return specifier;
}

}  // namespace

SpecifierPlist loadSpecifierPlist(const NSBundle* bundle, const std::string& name,
                                  NSObject* target) {
  SpecifierPlist page;
  if (!bundle) return page;
  Result<Ref<NSDictionary>> plist =
      readPropertyListDictionary(bundle->bundlePath() / (name + ".plist"));
  if (!plist.ok()) {
    NSLog("settings page not loaded: %s", plist.error());
    return page;
  }
  page.title = localised(bundle, plist.value()->objectForKey<NSString>("title").get(), name);
  Ref<NSArray> items = plist.value()->objectForKey<NSArray>("items");
  if (!items) return page;
  for (const Ref<NSObject>& item : *items) {
    auto* entry = dynamic_cast<NSDictionary*>(item.get());
    if (!entry) continue;
    if (Ref<PSSpecifier> specifier = specifierFrom(entry, bundle, name, target)) {
      page.specifiers.push_back(std::move(specifier));
    }
  }
  return page;
}
