// Feeds arbitrary bytes to the property-list reader. Beyond not crashing, whatever it accepts
// must write as XML (or fail with a reason), and that XML must read back as the same values.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/property_list.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "property_list_fuzzer: %s\n%s\n", what, detail.c_str());
  std::abort();
}

// Equal as property lists, except that XML keeps dates in whole seconds, rounded down.
bool sameAfterXml(const NSObject* before, const NSObject* after) {
  if (auto* date = dynamic_cast<const NSDate*>(before)) {
    auto* read = dynamic_cast<const NSDate*>(after);
    return read && std::floor(date->timeIntervalSinceReferenceDate()) ==
                       read->timeIntervalSinceReferenceDate();
  }
  if (auto* array = dynamic_cast<const NSArray*>(before)) {
    auto* read = dynamic_cast<const NSArray*>(after);
    if (!read || read->count() != array->count()) return false;
    for (size_t i = 0; i < array->count(); ++i) {
      if (!sameAfterXml(array->objects()[i].get(), read->objects()[i].get())) return false;
    }
    return true;
  }
  if (auto* dictionary = dynamic_cast<const NSDictionary*>(before)) {
    auto* read = dynamic_cast<const NSDictionary*>(after);
    if (!read || read->count() != dictionary->count()) return false;
    for (const auto& [key, value] : dictionary->entries()) {
      if (!sameAfterXml(value.get(), read->objectForKey(key).get())) return false;
    }
    return true;
  }
  return propertyListsEqual(before, after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Result<Ref<NSObject>> parsed = parsePropertyList(bytes);
  if (!parsed) {
    if (parsed.error().empty()) fail("a failure without a reason", "");
    return 0;
  }
  Result<std::string> xml = xmlPropertyList(parsed.value().get());
  if (!xml) {
    if (xml.error().empty()) fail("a write failure without a reason", "");
    return 0;
  }
  Result<Ref<NSObject>> again = parsePropertyList(xml.value());
  if (!again) fail("written XML does not read back", again.error() + "\n" + xml.value());
  if (!sameAfterXml(parsed.value().get(), again.value().get())) {
    fail("written XML reads back different values", xml.value());
  }
  Result<std::string> rewritten = xmlPropertyList(again.value().get());
  if (!rewritten || rewritten.value() != xml.value()) {
    fail("XML written twice differs", xml.value());
  }
  return 0;
}
