#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/ns_object.h"

// Immutable bytes.
class NSData : public NSObject {
 public:
  static Ref<NSData> from(std::vector<uint8_t> bytes);
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  size_t length() const { return bytes_.size(); }
  bool isEqualToData(const NSData* other) const { return other && other->bytes_ == bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// A moment, as seconds since the platform's reference date (1 January 2001, UTC).
class NSDate : public NSObject {
 public:
  static Ref<NSDate> dateWithTimeIntervalSinceReferenceDate(double seconds);
  double timeIntervalSinceReferenceDate() const { return seconds_; }
  bool isEqualToDate(const NSDate* other) const { return other && other->seconds_ == seconds_; }
  // "2001-01-01 00:00:00 +0000", as the platform describes dates.
  std::string descriptionText() const;

 private:
  double seconds_ = 0;
};
