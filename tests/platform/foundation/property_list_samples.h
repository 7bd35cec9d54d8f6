#pragma once

// Values and hand-made documents that the property-list tests read.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace property_list_samples {

inline Ref<NSObject> integer(int64_t value) {
  return NSNumber::numberWithLongLong(value);
}
inline Ref<NSObject> text(std::string value) {
  return NSString::from(std::move(value));
}

// A binary property list of the given raw objects, with 1-byte offsets and references, object 0
// at the top.
inline std::string handMadeBinary(const std::vector<std::string>& objects) {
  std::string bytes = "bplist00";
  std::vector<uint8_t> offsets;
  for (const std::string& object : objects) {
    offsets.push_back(static_cast<uint8_t>(bytes.size()));
    bytes += object;
  }
  auto table = static_cast<uint8_t>(bytes.size());
  for (uint8_t offset : offsets)
    bytes += static_cast<char>(offset);
  std::string trailer(32, '\0');
  trailer[6] = 1;
  trailer[7] = 1;
  trailer[15] = static_cast<char>(objects.size());
  trailer[31] = static_cast<char>(table);
  return bytes + trailer;
}

inline std::string xmlDocument(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
         "</plist>\n";
}

}  // namespace property_list_samples
