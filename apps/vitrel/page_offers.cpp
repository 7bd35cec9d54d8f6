#include "apps/vitrel/page_offers.h"

#include <algorithm>
#include <system_error>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"

namespace fs = std::filesystem;

namespace {

std::string text(const NSDictionary* item, std::string_view key) {
  Ref<NSString> value = item->objectForKey<NSString>(key);
  return value ? value->string() : "";
}

const NSNumber* plainNumber(const NSObject* value) {
  auto* number = dynamic_cast<const NSNumber*>(value);
  return number && !number->isBoolean() ? number : nullptr;
}

double numberOr(const NSDictionary* item, std::string_view key, double fallback) {
  const NSNumber* number = plainNumber(item->objectForKey(key).get());
  return number ? number->doubleValue() : fallback;
}

std::string formatNumber(double value) {
  std::string result = std::to_string(value);
  result.erase(result.find_last_not_of('0') + 1);
  if (result.back() == '.') result.pop_back();
  return result;
}

std::string quoted(const NSObject* value) {
  return dynamic_cast<const NSString*>(value) ? "\"" + describe(value) + "\"" : describe(value);
}

// The row an entry of a page describes, or none for rows that edit no value.
std::optional<PageOffer> offerOf(const NSDictionary* item, const std::string& page) {
  const std::string cell = text(item, "cell");
  PageOffer offer;
  offer.page = page;
  if (Ref<NSArray> values = item->objectForKey<NSArray>("validValues")) {
    offer.kind = PageOffer::Kind::choices;
    offer.values = values->objects();
    if (Ref<NSArray> titles = item->objectForKey<NSArray>("validTitles")) {
      for (const Ref<NSObject>& title : *titles)
        offer.titles.push_back(describe(title.get()));
    }
  } else if (cell == "PSSliderCell") {
    offer.kind = PageOffer::Kind::range;
    offer.minimum = numberOr(item, "min", 0);
    offer.maximum = numberOr(item, "max", 1);
  } else if (cell == "PSSwitchCell") {
    offer.kind = PageOffer::Kind::boolean;
  } else if (cell == "PSEditTextCell" || cell == "PSSecureEditTextCell" ||
             cell == "PSEditTextViewCell") {
    offer.kind = PageOffer::Kind::text;
  } else {
    return std::nullopt;
  }
  return offer;
}

bool isChoice(const NSObject* choice, const NSObject* value) {
  const NSNumber *a = plainNumber(choice), *b = plainNumber(value);
  return propertyListsEqual(choice, value) || (a && b && a->doubleValue() == b->doubleValue());
}

std::string describeChoices(const PageOffer& offer) {
  std::string list;
  for (size_t i = 0; i < offer.values.size(); ++i) {
    if (i > 0) list += i + 1 == offer.values.size() ? " or " : ", ";
    list += quoted(offer.values[i].get());
    if (i < offer.titles.size()) list += " (" + offer.titles[i] + ")";
  }
  return list;
}

}  // namespace

std::optional<std::string> PageOffer::refusal(const NSObject* value) const {
  const std::string onPage = "the " + page + " page offers ";
  switch (kind) {
    case Kind::choices:
      if (std::any_of(values.begin(), values.end(),
                      [&](const Ref<NSObject>& choice) { return isChoice(choice.get(), value); })) {
        return std::nullopt;
      }
      return onPage + describeChoices(*this);
    case Kind::range:
      if (const NSNumber* number = plainNumber(value)) {
        const double at = number->doubleValue();
        if (at >= minimum && at <= maximum) return std::nullopt;
      }
      return onPage + "a number from " + formatNumber(minimum) + " to " + formatNumber(maximum);
    case Kind::boolean:
      if (auto* number = dynamic_cast<const NSNumber*>(value); number && number->isBoolean()) {
        return std::nullopt;
      }
      return onPage + "a switch, true or false";
    case Kind::text:
      if (dynamic_cast<const NSString*>(value)) return std::nullopt;
      return onPage + "a text field";
  }
  return std::nullopt;
}

Result<PageOffers> PageOffers::read(const fs::path& folder) {
  std::vector<fs::path> plists;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (entry->path().extension() == ".plist") plists.push_back(entry->path());
  }
  if (error)
    return Result<PageOffers>::failure("cannot list " + folder.string() + ": " + error.message());
  std::sort(plists.begin(), plists.end());
  PageOffers offers;
  bool anyPage = false;
  for (const fs::path& plist : plists) {
    Result<Ref<NSDictionary>> page = readPropertyListDictionary(plist);
    if (!page) return Result<PageOffers>::failure(page.error());
    Ref<NSArray> items = page.value()->objectForKey<NSArray>("items");
    if (!items) continue;
    anyPage = true;
    for (const Ref<NSObject>& entry : *items) {
      auto* item = dynamic_cast<const NSDictionary*>(entry.get());
      const std::string key = item ? text(item, "key") : "";
      if (key.empty()) continue;
      if (auto offer = offerOf(item, plist.stem().string())) offers.offers_[key].push_back(*offer);
    }
  }
  if (!anyPage) return Result<PageOffers>::failure("no settings pages in " + folder.string());
  return offers;
}

const std::vector<PageOffer>& PageOffers::offersFor(std::string_view key) const {
  static const std::vector<PageOffer> none;
  auto found = offers_.find(key);
  return found == offers_.end() ? none : found->second;
}
