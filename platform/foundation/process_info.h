#pragma once

#include <atomic>
#include <cstdint>

#include "platform/foundation/ns_object.h"

struct NSOperatingSystemVersion {
  int64_t majorVersion = 0;
  int64_t minorVersion = 0;
  int64_t patchVersion = 0;
};

// What the process knows of the system it runs on. The host chooses the system version the
// simulated device reports (16.0.0 unless told otherwise).
class NSProcessInfo : public NSObject {
 public:
  static NSProcessInfo* processInfo();

  NSOperatingSystemVersion operatingSystemVersion() const;
  void setOperatingSystemVersion(NSOperatingSystemVersion version);

 private:
  std::atomic<int64_t> major_{16}, minor_{0}, patch_{0};
};
