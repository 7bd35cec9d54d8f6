#pragma once

#include <string>
#include <vector>

#include "platform/foundation/ns_bundle.h"
#include "platform/preferences/framework/page_item.h"

// A settings page read from a specifier plist of a bundle.
struct SpecifierPlist {
  Ref<NSString> title;  // the top-level "title", localised; nil when absent
  std::vector<Ref<PSSpecifier>> specifiers;
};

// Reads "<name>.plist" from the bundle: each dictionary of "items" becomes a specifier, in
// order, with target as its target. A "label" is localised from the table the entry names in
// "localizationTable", else from "<name>.strings". Rows without "get"/"set" read and write
// through the target's `readPreferenceValue:` and `setPreferenceValue:specifier:`.
// "validValues", "validTitles" and "shortTitles" become the choices. Entries that are not
// dictionaries or name no known "cell" are skipped (logged). A missing or unreadable plist
// gives an empty page (logged).
SpecifierPlist loadSpecifierPlist(const NSBundle* bundle, const std::string& name,
                                  NSObject* target);
