#include "apps/vitrel/system_version.h"

#include <charconv>
#include <iostream>
#include <string>

#include "platform/foundation/device.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"

namespace system_version {

std::filesystem::path path() {
  return *device::directory() / "System/Library/CoreServices/SystemVersion.plist";
}

long read() {
  std::error_code error;
  if (!std::filesystem::exists(path(), error)) return kDefault;
  Result<Ref<NSDictionary>> stored = readPropertyListDictionary(path());
  Ref<NSString> version =
      stored ? stored.value()->objectForKey<NSString>("ProductVersion") : nullptr;
  long major = 0;
  if (version) {
    const std::string text = version->string();
    auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), major);
    if (failed != std::errc() || (end != text.data() + text.size() && *end != '.')) major = 0;
  }
  if (major > 0) return major;
  std::cerr << "vitrel: "
            << (stored ? path().string() + " holds no ProductVersion" : stored.error())
            << "; running as iOS " << kDefault << '\n';
  return kDefault;
}

Result<void> store(long major) {
  std::error_code error;
  std::filesystem::create_directories(path().parent_path(), error);
  auto plist =
      NSDictionary::from({{"ProductName", NSString::from("iPhone OS")},
                          {"ProductVersion", NSString::from(std::to_string(major) + ".0")}});
  return writePropertyListAtomically(plist.get(), path());
}

}  // namespace system_version
