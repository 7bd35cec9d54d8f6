#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/result.h"

// What the settings pages let a person choose for a setting, read from the bundle's specifier
// plists: a row that shows and edits the key, and the values it can show.
struct PageOffer {
  enum class Kind {
    choices,  // a segmented control or a list: one of `values`
    range,    // a slider: a number from `minimum` to `maximum`
    boolean,  // a switch
    text,     // a text field
  };

  Kind kind = Kind::text;
  std::string page;  // the plist's name, e.g. "Root"
  std::vector<Ref<NSObject>> values;
  std::vector<std::string> titles;  // the choices' titles, as the plist gives them
  double minimum = 0, maximum = 1;

  // Why the row cannot show value, as a sentence for the user ("the pages offer … "), or none
  // when it can. A number matches a choice of equal value whatever its property-list kind.
  std::optional<std::string> refusal(const NSObject* value) const;
};

// Every key the pages of one bundle offer, with the rows that offer it.
class PageOffers {
 public:
  // Reads every specifier plist (a plist with "items") of the bundle's resources folder.
  // Fails, saying which, when a plist of the folder cannot be read or the folder holds none.
  static Result<PageOffers> read(const std::filesystem::path& folder);

  // The rows, on any page, that show and edit key; empty when no page offers it.
  const std::vector<PageOffer>& offersFor(std::string_view key) const;

 private:
  std::map<std::string, std::vector<PageOffer>, std::less<>> offers_;
};
